; Joypad strobe and read order. Every NMI (the first on line 238 of frame 2):
;   1. strobes $4016 (1 then 0), reads pad 1 ten times and pad 2 eight times,
;      keeping each byte read;
;   2. goes on without a reset: 0 then 0 to $4016 (no 1-to-0 change), a read;
;      1 to $4016, two reads while the strobe bit is 1; a pad 2 read; 1 then 0
;      to $4017 (which resets nothing), a pad 2 read; 0 to $4016 (1 to 0: both
;      pads restart), one read of each pad; a read of $4015;
;   3. strobes again and logs both pads as button bytes (first bit read in
;      bit 0), one byte a frame for the first 16 frames.

.include "console.inc"

.export init, main, nmi

reads1    = $0300                   ; 10 reads of pad 1
reads2    = $0310                   ; 8 reads of pad 2
odd_reads = $0318                   ; the 8 reads of step 2
log1      = $0320                   ; pad 1 per frame
log2      = $0330                   ; pad 2 per frame
log_count = $0340
LOG_SIZE  = 16

.segment "ZEROPAGE"
buttons:    .res 1
bits:       .res 1

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
    txa
    pha
    tya
    pha
    jsr strobe
    ldx #0
@pad1:
    lda JOY1
    sta reads1,x
    inx
    cpx #10
    bne @pad1
    ldx #0
@pad2:
    lda JOY2
    sta reads2,x
    inx
    cpx #8
    bne @pad2

    lda #0
    sta JOY1
    lda JOY1
    sta odd_reads
    lda #1
    sta JOY1
    lda JOY1
    sta odd_reads+1
    lda JOY1
    sta odd_reads+2
    lda JOY2
    sta odd_reads+3
    lda #1
    sta JOY2
    lda #0
    sta JOY2
    lda JOY2
    sta odd_reads+4
    lda #0
    sta JOY1
    lda JOY1
    sta odd_reads+5
    lda JOY2
    sta odd_reads+6
    lda $4015
    sta odd_reads+7

    ldx log_count
    cpx #LOG_SIZE
    bcs @done
    jsr strobe
    ldy #0
    jsr read_pad
    sta log1,x
    ldy #1
    jsr read_pad
    sta log2,x
    inc log_count
@done:
    pla
    tay
    pla
    tax
    pla
    rti

strobe:
    lda #1
    sta JOY1
    lda #0
    sta JOY1
    rts

; Reads eight bits from pad Y (0 or 1) and returns them as a button byte,
; the first bit read in bit 0.
read_pad:
    lda #8
    sta bits
@bit:
    lda JOY1,y
    lsr a
    ror buttons
    dec bits
    bne @bit
    lda buttons
    rts
