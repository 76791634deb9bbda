; Sound driver: three-voice music on both squares and the triangle, effects on
; the noise channel. The console turns period writes into tones that last as
; many frames as the length index says, so a note is one register pair write
; and silence is simply letting the length run out.

.include "nes.inc"

.export sound_init, sound_update, music_start, music_stop, sfx_play, sweep_fall
.exportzp music_on, music_hold

VOICES = 3

.segment "ZEROPAGE"
music_on:   .res 1              ; Select toggles it
music_hold: .res 1              ; set while the game is paused
note_ptr:   .res 2

.segment "BSS"
voice_lo:    .res VOICES        ; read position in the note stream
voice_hi:    .res VOICES
voice_start_lo: .res VOICES     ; loop point
voice_start_hi: .res VOICES
voice_timer: .res VOICES        ; frames until the next event, 0 = voice idle
voice_dur:   .res VOICES        ; frames per note
voice_high:  .res VOICES        ; last byte written to the high period register

.segment "CODE"

; Stream bytes: 1-60 play a note for the current duration, 0 rests for it,
; $80+n sets the duration to n frames, LOOP restarts the stream, END stops it.
LOOP = $FE
END  = $FF

sound_init:
    lda #0
    sta SQ1_SWEEP
    sta $4005
    sta $4009
    sta NOISE_SWEEP
    sta music_hold
    lda #1
    sta music_on
    ; fall through
music_stop:
    lda #0
    ldx #VOICES - 1
@clear:
    sta voice_timer,x
    dex
    bpl @clear
    rts

; A = song number. Clears any sweep left on the squares by an effect.
music_start:
    asl a
    sta note_ptr
    asl a
    adc note_ptr                ; song * 6: three stream addresses
    tay
    lda #0
    sta SQ1_SWEEP
    sta $4005
    ldx #0
@voice:
    lda songs,y
    sta voice_lo,x
    sta voice_start_lo,x
    lda songs+1,y
    sta voice_hi,x
    sta voice_start_hi,x
    lda #1
    sta voice_timer,x
    sta voice_dur,x
    lda #$FF
    sta voice_high,x
    iny
    iny
    inx
    cpx #VOICES
    bne @voice
    rts

; Once a frame from the NMI.
sound_update:
    lda music_on
    beq @done
    lda music_hold
    bne @done
    ldx #0
@voice:
    lda voice_timer,x
    beq @next
    dec voice_timer,x
    bne @next
    jsr voice_event
@next:
    inx
    cpx #VOICES
    bne @voice
@done:
    rts

; Reads stream bytes of voice X until a note or rest has set its timer.
voice_event:
    lda voice_lo,x
    sta note_ptr
    lda voice_hi,x
    sta note_ptr+1
    ldy #0
@byte:
    lda (note_ptr),y
    iny
    cmp #LOOP
    bne @not_loop
    lda voice_start_lo,x
    sta note_ptr
    lda voice_start_hi,x
    sta note_ptr+1
    ldy #0
    beq @byte
@not_loop:
    cmp #END
    beq @finish
    cmp #$80
    bcc @note
    and #$7F
    sta voice_dur,x
    bcs @byte                   ; carry is still set from the compare
@note:
    pha
    lda voice_dur,x
    sta voice_timer,x
    tya
    clc
    adc note_ptr
    sta voice_lo,x
    lda note_ptr+1
    adc #0
    sta voice_hi,x
    pla
    beq @rest
    jmp play_note
@rest:
    rts
@finish:
    lda #0
    sta voice_timer,x
    rts

; Sounds note A (1-60) on voice X for voice_dur frames.
play_note:
    asl a
    tay
    ; The length index keeps a square note a little shorter than its slot;
    ; a square lasts 16n+8 frames, the triangle n+2.
    lda voice_dur,x
    cpx #2
    beq @triangle
    sec
    sbc #10
    bcs :+
    lda #0
:   lsr a
    lsr a
    lsr a
    lsr a
    jmp @length
@triangle:
    sec
    sbc #4
    bcs :+
    lda #0
:   cmp #32
    bcc @length
    lda #31
@length:
    asl a
    asl a
    asl a
    ora periods-1,y             ; high byte of the period
    sta note_ptr                ; scratch: the new high register value
    txa
    asl a
    asl a
    sta note_ptr+1              ; scratch: register offset of the voice
    lda periods-2,y             ; low byte
    pha
    lda note_ptr
    cmp voice_high,x
    beq @low_only
    sta voice_high,x
    ldy note_ptr+1
    sta $4003,y
@low_only:
    ldy note_ptr+1
    pla
    sta $4002,y                 ; this write starts the tone
    rts

; A = effect number. Effects sound on the noise channel, which the console
; plays as a pitched tone; some of them sweep the pitch.
sfx_play:
    asl a
    asl a
    tay
    lda #$3F
    sta NOISE_VOL
    lda sfx_table,y             ; sweep byte
    sta NOISE_SWEEP
    lda sfx_table+2,y
    sta NOISE_HI
    lda sfx_table+1,y
    sta NOISE_LO
    rts

; The falling tone of a lost game: square 1 with its period swept upwards.
sweep_fall:
    jsr music_stop
    lda #$BF
    sta $4000
    lda #%10110011              ; sweep on, step 3 x 3 per frame, period rising
    sta SQ1_SWEEP
    lda #<300
    sta SQ1_LO
    lda #(2 << 3) | >300        ; 40 frames
    sta SQ1_HI
    rts

.segment "RODATA"

; Period of each note: 111860 / frequency - 1 (all voices use the same rule).
periods:
    .word 1709, 1613, 1523, 1437, 1356, 1280, 1208, 1140, 1076, 1016, 959, 905   ; C2-B2
    .word  854,  806,  761,  718,  678,  640,  604,  570,  538,  507, 479, 452   ; C3-B3
    .word  427,  403,  380,  359,  338,  319,  301,  284,  268,  253, 239, 225   ; C4-B4
    .word  213,  201,  189,  179,  169,  159,  150,  142,  134,  126, 119, 112   ; C5-B5
    .word  106,  100,   94,   89,   84,   79,   75,   70,   66,   63,  59,  56   ; C6-B6

; Noise effects: sweep byte, period low, period high with length index (never 0:
; a noise tone of length 0 would not end).
.define SFX(sweep, period, frames) .byte sweep, <(period), ((frames) << 3) | >(period), 0
sfx_table:
    SFX %10101100, 280, 10      ; jump: period falls 2 x 4 a frame, pitch rises
    SFX %00000000, 400, 6       ; stomp
    SFX %10111011, 160, 8       ; gem: rising chirp
    SFX %11110111, 150, 20      ; hurt: period grows 7 x 7 a frame, pitch falls
    SFX %00000000,  90, 4       ; spark
    SFX %00000000, 200, 6       ; pause

; Note names: octave 2 to 6, sharps as S.
.enum
    REST
    C2
    CS2
    D2
    DS2
    E2
    F2
    FS2
    G2
    GS2
    A2
    AS2
    B2
    C3
    CS3
    D3
    DS3
    E3
    F3
    FS3
    G3
    GS3
    A3
    AS3
    B3
    C4
    CS4
    D4
    DS4
    E4
    F4
    FS4
    G4
    GS4
    A4
    AS4
    B4
    C5
    CS5
    D5
    DS5
    E5
    F5
    FS5
    G5
    GS5
    A5
    AS5
    B5
    C6
.endenum
.define D(frames) $80 | (frames)

songs:
    .addr title_sq1, title_sq2, title_tri
    .addr game_sq1, game_sq2, game_tri

; Title fanfare, played once.
title_sq1:
    .byte D(8), C5, E5, G5, C6, D(16), B5, D(8), G5, A5, D(16), B5, D(48), C6, END
title_sq2:
    .byte D(8), E4, G4, C5, E5, D(16), D5, D(8), D5, F5, D(16), G5, D(48), E5, END
title_tri:
    .byte D(16), C3, C3, G2, G2, G2, D(48), C3, END

; Play theme: eight bars of 80 frames, looping.
game_sq1:
    .byte D(10), C5, E5, D(20), G5, D(10), E5, C5, D(20), D5
    .byte D(10), E5, F5, D(20), G5, D(10), A5, G5, D(20), E5
    .byte D(10), F5, A5, D(20), C6, D(10), B5, A5, D(20), G5
    .byte D(10), E5, G5, F5, E5, D(20), D5, REST
    .byte D(10), C5, C5, E5, G5, D(20), A5, G5
    .byte D(10), F5, F5, A5, F5, D(20), E5, C5
    .byte D(10), D5, E5, F5, D5, D(20), G5, B4
    .byte D(40), C5, D(20), REST, REST
    .byte LOOP
game_sq2:
    .byte D(40), E4, G4, G4, E4, A4, F4, B4, G4
    .byte E4, G4, A4, F4, B4, D5, G4, E4
    .byte LOOP
game_tri:
    .byte D(20), C3, G3, C3, G3, C3, G3, C3, G3
    .byte F2, C3, F2, C3, G2, D3, G2, D3
    .byte A2, E3, A2, E3, F2, C3, F2, C3
    .byte G2, D3, G2, B2, C3, G3, C3, C3
    .byte LOOP
