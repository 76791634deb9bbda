; 8x8 and 8x16 sprites: both flips, behind-background priority, overlap
; order, clipping at column 255 and at line 8.
;
; The background is blank (0) but for tile 1 at column 14, row 5 (pixels
; 112-119, lines 40-47). NMI n (the first on line 238 of frame 2) sets PPUCTRL
; and loads sprite memory from the table of entry n, holding the last;
; the sprites of entry n are drawn on line 238 of frame n + 3.

.include "console.inc"

.export init, main, nmi

.segment "ZEROPAGE"
step:       .res 1

.segment "CODE"

init:
    vram_poke $2000 + 5 * 32 + 14, 1
    vram_addr $3F00
    ldx #0
@palette:
    lda palette,x
    sta PPUDATA
    inx
    cpx #32
    bne @palette
    rts

main:
    lda #$18                        ; background and sprites
    sta PPUMASK
    lda #$80
    sta PPUCTRL
@idle:
    jmp @idle

nmi:
    pha
    txa
    pha
    tya
    pha
    ldx step
    lda ctrl_table,x
    sta PPUCTRL
    lda oam_lo,x
    sta oam_src
    lda oam_hi,x
    sta oam_src+1
    jsr load_oam
    cpx #STEPS - 1
    beq @held
    inc step
@held:
    pla
    tay
    pla
    tax
    pla
    rti

.segment "RODATA"

palette:
    .byte $0F, $16, $27, $18, $0F, $16, $27, $18, $0F, $16, $27, $18, $0F, $16, $27, $18
    .byte $0F, $06, $16, $26, $0F, $02, $12, $22, $0F, $0A, $1A, $2A, $0F, $08, $18, $28

; Entry 0: 8x8 from $0000; 1: 8x16 with PPUCTRL bit 3 set (it has no say
; there); 2: the 8x8 layout again, with patterns from $1000.
ctrl_table: .byte $80, $A8, $88
oam_lo:     .byte <oam_8x8, <oam_8x16, <oam_8x8
oam_hi:     .byte >oam_8x8, >oam_8x16, >oam_8x8
STEPS = * - oam_hi

; Sprite entries: Y, tile, attributes (bit 7 V-flip, 6 H-flip, 5 behind, 1-0
; palette), X. Lower entries are drawn over higher ones.
oam_8x8:
    .byte 20,  4, $00, 16           ; 0: marker
    .byte 20,  4, $41, 40           ; 1: H-flip, palette 1
    .byte 20,  4, $82, 64           ; 2: V-flip, palette 2
    .byte 20,  4, $C3, 88           ; 3: both, palette 3
    .byte 40,  4, $00, 252          ; 4: cut at column 255
    .byte 60,  4, $41, 252          ; 5: H-flip, cut at column 255
    .byte 44,  3, $20, 116          ; 6: behind, partly over background tile 1
    .byte 40,  3, $22, 136          ; 7: behind, partly over sprite 8
    .byte 44,  1, $01, 140          ; 8
    .byte 40,  2, $03, 160          ; 9: in front of sprite 10
    .byte 44,  1, $00, 164          ; 10
    .byte 4,   4, $00, 200          ; 11: rows 0-3 fall above line 8
    .res (64 - 12) * 4, $FF         ; Y 255: not drawn

oam_8x16:
    .byte 20, $10, $00, 16          ; 0: tiles $10/$11
    .byte 20, $10, $81, 40          ; 1: V-flip, palette 1
    .byte 20, $10, $C2, 64          ; 2: both flips, palette 2
    .byte 20, $21, $03, 88          ; 3: odd tile: $1200/$1210, palette 3
    .byte 2,  $10, $00, 120         ; 4: starts at line 8 with row 6
    .byte 0,  $10, $81, 144         ; 5: V-flip, starts at line 8 with row 8
    .res (64 - 6) * 4, $FF
