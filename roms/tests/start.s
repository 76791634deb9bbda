; Power-on path shared by the test cartridges: wait for the first vertical
; blank, let the cartridge set up, wait for the next one, and hand over.

.include "console.inc"

.import init, main, nmi

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

irq:
    rti

.segment "VECTORS"
    .addr nmi, reset, irq
