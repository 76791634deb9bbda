; Power-on path shared by the test cartridges: wait for the first vertical
; blank, let the cartridge set up, wait for the next one, and hand over.

.include "console.inc"

.import init, main, nmi

.segment "ZEROPAGE"
oam_src:    .res 2

.segment "OAM"
oam_buf:    .res 256

.segment "CODE"

reset:
    sei
    cld
    ldx #$FF
    txs
    jsr wait_vblank             ; line 238 of frame 0
    jsr init
    jsr wait_vblank             ; line 238 of frame 1
    jmp main

; Returns once the vertical-blank flag is seen (reading it clears it).
wait_vblank:
    bit PPUSTATUS
    bpl wait_vblank
    rts

; Copies the 256 bytes at oam_src into sprite memory, through the RAM page
; at $0200 (sprite DMA reads program ROM only from whole pages).
load_oam:
    ldy #0
@copy:
    lda (oam_src),y
    sta oam_buf,y
    iny
    bne @copy
    lda #>oam_buf
    sta OAMDMA
    rts

irq:
    rti

.segment "VECTORS"
    .addr nmi, reset, irq
