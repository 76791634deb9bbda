; Background scrolling and name-table selection.
;
; Two name tables are written: A at $2000, B at $2C00. The cartridge's
; mirroring copies each to a second table as it is written (vertical: A also
; at $2800, B at $2400; horizontal: A also at $2400, B at $2800), so every
; quadrant is either A or B. Video memory starts cleared, so all other tiles
; are tile 0.
;   A: tile 1 at column 0 row 0, tile 2 at column 31 row 29, palette 0.
;   B: tile 3 at column 0 row 0, tile 1 at column 31 row 29, palette 1.
; NMI n (the first on line 238 of frame 2) applies entry n of the table below,
; holding the last; entry n is thus drawn in frame n + 3.

.include "console.inc"

.export init, main, nmi

.segment "ZEROPAGE"
step:       .res 1

.segment "CODE"

init:
    vram_poke $2000, 1
    vram_poke $2000 + 29 * 32 + 31, 2
    vram_poke $2C00, 3
    vram_poke $2C00 + 29 * 32 + 31, 1
    vram_addr $2FC0                 ; B's attributes: palette 1 everywhere
    lda #$55
    ldx #64
@attributes:
    sta PPUDATA
    dex
    bne @attributes
    vram_addr $3F00
    ldx #0
@palette:
    lda palette,x
    sta PPUDATA
    inx
    cpx #8
    bne @palette
    rts

main:
    lda #$08                        ; background only
    sta PPUMASK
    lda #$80
    sta PPUCTRL
@idle:
    jmp @idle

nmi:
    pha
    txa
    pha
    ldx step
    lda ctrl_table,x
    sta PPUCTRL
    lda scroll_x,x
    sta PPUSCROLL
    lda scroll_y,x
    sta PPUSCROLL
    cpx #STEPS - 1
    beq @held
    inc step
@held:
    pla
    tax
    pla
    rti

.segment "RODATA"

palette:    .byte $0F, $16, $27, $18, $0F, $11, $21, $31

; Entry:        0    1    2    3    4    5
ctrl_table: .byte $80, $80, $81, $82, $83, $80
scroll_x:   .byte 0,   3,   0,   250, 8,   0
scroll_y:   .byte 0,   5,   0,   230, 0,   $F5  ; $F5 is ignored: Y stays 0
STEPS = * - scroll_y
