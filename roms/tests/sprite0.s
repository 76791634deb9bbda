; The sprite-0 flag and the NMI on the sprite-0 line.
;
; Background: tile 1 in column 8, tile 2 in column 10, tile 3 in column 12,
; all 30 rows, so pixel 64 of a line shows 1, 2 or 3 for a scroll X of 0, 16
; or 32. Sprite 0 is tile 5 (opaque rows 0-2) at Y 100, X 200, flipped
; vertically: its flag line is 100 + 3 = 103 whatever the flip.
;
; Every vertical-blank NMI sets scroll X 0 for the top of the next frame and
; counts frames. Three phases follow the frame count:
;   0-3: the main loop polls the sprite-0 flag and then sets scroll X 16;
;   4-7: PPUCTRL bit 6 is set, and the NMI on the sprite-0 line sets X 32;
;   8- : sprites are switched off, so neither flag nor NMI comes.
; Every NMI appends the PPUSTATUS byte it read first to the log.

.include "console.inc"

.export init, main, nmi

nmi_log   = $0300                   ; PPUSTATUS at each NMI, 16 entries at most
frames    = $0310                   ; vertical-blank NMIs so far
log_count = $0311
LOG_SIZE  = 16

.segment "CODE"

init:
    lda #$04                        ; PPUDATA steps 32: columns
    sta PPUCTRL
    ldx #1
@column:
    lda #$20                        ; $2000 + 8, + 10, + 12
    sta PPUADDR
    txa
    asl a
    adc #6
    sta PPUADDR
    ldy #30
@row:
    stx PPUDATA
    dey
    bne @row
    inx
    cpx #4
    bne @column
    lda #0
    sta PPUCTRL
    vram_addr $3F00
    ldx #0
@palette:
    lda palette,x
    sta PPUDATA
    inx
    cpx #32
    bne @palette
    lda #<oam
    sta oam_src
    lda #>oam
    sta oam_src+1
    jsr load_oam
    lda #0
    sta PPUSCROLL
    sta PPUSCROLL
    rts

main:
    lda #$18                        ; background and sprites
    sta PPUMASK
    lda #$80
    sta PPUCTRL
@frame:
    lda frames
    cmp #4
    bcs @idle                       ; the NMI does the split from now on
@wait_hit:
    bit PPUSTATUS
    bvc @wait_hit
    lda #16
    sta PPUSCROLL
    lda #0
    sta PPUSCROLL
    lda frames
@wait_frame:
    cmp frames
    beq @wait_frame
    jmp @frame
@idle:
    jmp @idle

nmi:
    pha
    txa
    pha
    lda PPUSTATUS
    ldx log_count
    cpx #LOG_SIZE
    bcs @logged
    sta nmi_log,x
    inc log_count
@logged:
    and #$40
    beq @vblank
    lda #32                         ; sprite-0 line: split
    sta PPUSCROLL
    lda #0
    sta PPUSCROLL
    jmp @done
@vblank:
    lda #0
    sta PPUSCROLL
    sta PPUSCROLL
    inc frames
    lda frames
    cmp #4
    bne @not4
    lda #$C0                        ; NMI on the sprite-0 line too
    sta PPUCTRL
    lda frames
@not4:
    cmp #8
    bne @done
    lda #$08                        ; background only
    sta PPUMASK
@done:
    pla
    tax
    pla
    rti

.segment "RODATA"

palette:
    .byte $0F, $16, $27, $18, $0F, $16, $27, $18, $0F, $16, $27, $18, $0F, $16, $27, $18
    .byte $0F, $30, $30, $30, $0F, $30, $30, $30, $0F, $30, $30, $30, $0F, $30, $30, $30

oam:
    .byte 100, 5, $80, 200
    .res 63 * 4, $FF
