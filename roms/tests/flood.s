; Sound flood: writes the period registers of the two squares and the
; triangle in a tight loop, each write a new value, so every pass starts
; three notes: about 5,200 a frame, for as long as the cartridge runs.

.include "console.inc"

.export init, main, nmi

.segment "CODE"

init:
    rts

main:
    lda #$0F
    sta $4015
@flood:
    inx
    stx $4002
    stx $4006
    stx $400A
    jmp @flood

nmi:
    rti
