; Sound register writes: tones with lengths, a falling sweep, and a sweep
; that wraps the period below 0. NMI 0 (line 238 of frame 2) writes, in order:
;   $4001 $00  square 1: no sweep
;   $4002 $FD  square 1 period low
;   $4003 $09  square 1 period high 1, length index 1
;   $4005 $99  square 2: sweep on, step 1 x 1, falling
;   $4006 $FD  square 2 period low ($4007 still 0)
;   $400B $12  triangle period high 2, length index 2 ($400A still 0)
;   $400E $05  noise period low ($400F still 0)
;   $400F $18  noise length index 3
;   $4013 $55, $4015 $0F: no tone
; and then reads $4003, $4013, $4014, $4015 and $4018 into RAM. NMI 10
; (frame 12) writes $400D $FF (noise sweep on, step 7 x 7, falling) and
; $400E $10.

.include "console.inc"

.export init, main, nmi

reads = $0300                       ; five bytes

.segment "ZEROPAGE"
nmi_count:  .res 1

.segment "CODE"

init:
    rts

main:
    lda #$80
    sta PPUCTRL
@idle:
    jmp @idle

nmi:
    pha
    lda nmi_count
    bne @not_first
    lda #$00
    sta $4001
    lda #$FD
    sta $4002
    lda #$09
    sta $4003
    lda #$99
    sta $4005
    lda #$FD
    sta $4006
    lda #$12
    sta $400B
    lda #$05
    sta $400E
    lda #$18
    sta $400F
    lda #$55
    sta $4013
    lda #$0F
    sta $4015
    lda $4003
    sta reads
    lda $4013
    sta reads+1
    lda $4014
    sta reads+2
    lda $4015
    sta reads+3
    lda $4018
    sta reads+4
    jmp @counted
@not_first:
    cmp #10
    bne @counted
    lda #$FF
    sta $400D
    lda #$10
    sta $400E
@counted:
    lda nmi_count
    cmp #$FF
    beq @done
    inc nmi_count
@done:
    pla
    rti
