; A busy screen for measuring speed: both name tables full of tiles with
; mixed attributes, the background scrolling one pixel a frame, and all 64
; sprites moving every frame, copied in by sprite DMA on every NMI.

.include "console.inc"

.export init, main, nmi

.segment "ZEROPAGE"
scroll:     .res 1
ticks:      .res 1

sprites = oam_buf

.segment "CODE"

init:
    vram_addr $3F00             ; palettes: background, then sprites
    ldx #0
@palette:
    lda palette,x
    sta PPUDATA
    inx
    cpx #32
    bne @palette

    vram_addr $2000             ; two name tables of tiles 1-4, then their attributes
    ldy #8                      ; 8 x 256 bytes = $2000-$27FF
    ldx #0
@names:
    txa
    and #3
    clc
    adc #1
    sta PPUDATA
    inx
    bne @names
    dey
    bne @names
    vram_addr $23C0
    jsr attributes
    vram_addr $27C0
    jsr attributes

    ldx #0                      ; sprite n: Y = 16 + 3n, X = 4n, tile 4, palette n and 3
@sprite:
    txa
    sta sprites+3,x             ; X = 4n (x holds 4n)
    lsr a
    lsr a
    sta sprites+1,x             ; scratch: n
    asl a
    adc sprites+1,x             ; 3n
    adc #16
    sta sprites,x               ; Y
    lda sprites+1,x
    and #3
    sta sprites+2,x
    lda sprites+1,x             ; bits 2-3 of n flip it
    asl a
    asl a
    asl a
    asl a
    and #$C0
    ora sprites+2,x
    sta sprites+2,x
    lda #4
    sta sprites+1,x
    inx
    inx
    inx
    inx
    bne @sprite
    rts

attributes:
    ldx #64
@attr:
    txa
    eor #$A5
    sta PPUDATA
    dex
    bne @attr
    rts

main:
    lda #$18                    ; background and sprites shown
    sta PPUMASK
    lda #$80                    ; NMI at vertical blank
    sta PPUCTRL
@frame:
    lda ticks
@wait:
    cmp ticks
    beq @wait
    ldx #0                      ; move every sprite: X by 1 to 4, Y by 1 within 16-215
@move:
    txa
    lsr a
    lsr a
    and #3
    sec
    adc sprites+3,x
    sta sprites+3,x
    inc sprites,x
    lda sprites,x
    cmp #216
    bcc @next
    lda #16
    sta sprites,x
@next:
    inx
    inx
    inx
    inx
    bne @move
    jmp @frame

nmi:
    pha
    lda #>sprites
    sta OAMDMA
    inc scroll
    lda scroll
    sta PPUSCROLL
    lda #0
    sta PPUSCROLL
    inc ticks
    pla
    rti

.segment "RODATA"

palette:
    .byte $0F, $16, $27, $18, $0F, $02, $12, $22, $0F, $0A, $1A, $2A, $0F, $08, $18, $28
    .byte $0F, $06, $16, $26, $0F, $30, $21, $11, $0F, $19, $29, $39, $0F, $14, $24, $34
