; Palette writes. All 32 entries are written in turn, then single entries:
; $3F10 (which also writes the first entry of every palette), $3F04 and $3F14
; (each alone), and $3F20 (outside palette RAM). Then $3F00-$3F02 are read
; back through PPUDATA into RAM ($FF first: the read after an address write).
; The picture shows background colours 0-3 of palettes 0, 1 and 3 (tiles 0-3
; in rows 0, 4 and 8) and three sprites of palettes 1, 3 and 0.

.include "console.inc"

.export init, main, nmi

readback = $0300                    ; four bytes

.segment "CODE"

init:
    vram_addr $3F00
    ldx #0
@palette:
    lda palette,x
    sta PPUDATA
    inx
    cpx #32
    bne @palette
    vram_poke $3F10, $2A
    vram_poke $3F04, $1A
    vram_poke $3F14, $0C
    vram_poke $3F20, $05
    vram_addr $3F00
    ldx #0
@read:
    lda PPUDATA
    sta readback,x
    inx
    cpx #4
    bne @read

    vram_addr $2000
    jsr tile_row
    vram_addr $2080
    jsr tile_row
    vram_addr $2100
    jsr tile_row
    vram_poke $23C8, $05            ; rows 4-5, columns 0-3: palette 1
    vram_poke $23D0, $0F            ; rows 8-9, columns 0-3: palette 3

    lda #<oam
    sta oam_src
    lda #>oam
    sta oam_src+1
    jmp load_oam

; Tiles 0, 1, 2, 3 from the current address on.
tile_row:
    ldx #0
@tile:
    stx PPUDATA
    inx
    cpx #4
    bne @tile
    rts

main:
    lda #0                          ; scroll 0, name table $2000
    sta PPUSCROLL
    sta PPUSCROLL
    lda #$18
    sta PPUMASK
@idle:
    jmp @idle

nmi:
    rti

.segment "RODATA"

palette:
    .byte $0F, $01, $02, $03, $0F, $11, $12, $13, $0F, $21, $22, $23, $0F, $31, $32, $33
    .byte $0F, $14, $15, $16, $0F, $24, $25, $26, $0F, $34, $35, $36, $0F, $17, $18, $19

oam:
    .byte 40, 1, $01, 64            ; solid colour 1, palette 1
    .byte 40, 3, $03, 80            ; solid colour 3, palette 3
    .byte 40, 2, $00, 96            ; solid colour 2, palette 0
    .res 61 * 4, $FF
