; PIXHOP - the bundled demo cartridge.
;
; Frame plan: the NMI on line 238 copies the sprites, points the scroll at the
; status bar for the top of the next frame, flushes queued name-table writes,
; reads the joypad and steps the music. The main loop then waits for the
; sprite-0 flag, which sprite 0 (hidden behind the status bar border) raises on
; line 23; the play scroll written at that moment takes effect from line 24,
; and the game logic runs in the rest of the frame.

.include "nes.inc"

.import sound_init, sound_update, music_start, music_stop, sfx_play, sweep_fall
.importzp music_on, music_hold
.import terrain, clouds, bushes, title_palette, game_palette
.import title_texts, logo_rows, status_texts, demo_input
.import txt_push_start, txt_blank_start, txt_paused, txt_unpaused, txt_game_over, txt_demo

BEETLES = 3
GEMS    = 2
IDLE_FRAMES = 600               ; title time without input before the demo plays
SPRITE0_Y   = 16                ; its only opaque row is row 6: flag on line 23
PLAYER_TILE = $10
GROUND_TILE = $80
DIRT_TILE   = $82
BEDROCK_TILE = $84
BRICK_TILE  = $85
BORDER_TILE = $86
CLOUD_TILE  = $88
BUSH_TILE   = $8A

.segment "ZEROPAGE"
nmi_count:  .res 1
pad_raw:    .res 1              ; joypad as read in the NMI
raw_prev:   .res 1
pad:        .res 1              ; buttons driving the game (live or recorded)
pad_prev:   .res 1
pad_new:    .res 1
mask_shadow: .res 1
scroll_x:   .res 1              ; play-area scroll, written at the split
scroll_ctrl: .res 1
vbuf_pos:   .res 1
ptr:        .res 2
tmp:        .res 1
tmp2:       .res 1
tmp3:       .res 1
rng:        .res 2
frame:      .res 1
idle:       .res 2
demo_mode:  .res 1
demo_ptr:   .res 2
demo_left:  .res 1
demo_btn:   .res 1
oam_idx:    .res 1
; world positions are 9 bits: the two name tables form a 512-pixel ring
cam_lo:     .res 1
cam_hi:     .res 1
px_lo:      .res 1
px_hi:      .res 1
py:         .res 1
py_frac:    .res 1
pvy_lo:     .res 1
pvy_hi:     .res 1
on_ground:  .res 1
facing:     .res 1              ; sprite attribute: $40 = facing left
walking:    .res 1
invuln:     .res 1
lives:      .res 1
paused:     .res 1
score_dirty: .res 1
spr_x_lo:   .res 1
spr_x_hi:   .res 1
spr_y:      .res 1
spr_tile:   .res 1
spr_attr:   .res 1
ax_lo:      .res 1
ax_hi:      .res 1
bx_lo:      .res 1
bx_hi:      .res 1
obj:        .res 1

.segment "OAM"
oam_buf:    .res 256

.segment "BSS"
vbuf:       .res 96             ; hi, lo, count, bytes... flushed by the NMI
score:      .res 6              ; decimal digits, most significant first
beetle_lo:  .res BEETLES
beetle_hi:  .res BEETLES
beetle_y:   .res BEETLES
beetle_dir: .res BEETLES        ; 0 right, 1 left
beetle_wait: .res BEETLES       ; 0 = walking, else frames until it returns
gem_lo:     .res GEMS
gem_hi:     .res GEMS
gem_y:      .res GEMS
gem_wait:   .res GEMS
spark_lo:   .res 1
spark_hi:   .res 1
spark_y:    .res 1
spark_dir:  .res 1
spark_life: .res 1

.segment "CODE"

reset:
    sei
    cld
    ldx #$FF
    txs
    inx
    stx PPUCTRL
    stx PPUMASK
    txa
@clear_ram:
    sta $0000,x
    sta $0100,x
    sta $0200,x
    sta $0300,x
    sta $0400,x
    sta $0500,x
    sta $0600,x
    sta $0700,x
    inx
    bne @clear_ram
    lda #$A5
    sta rng
    jsr sound_init
    jmp title

irq:
    rti

nmi:
    pha
    txa
    pha
    tya
    pha
    bit PPUSTATUS               ; drop the vblank flag: the split poll stops on it
    lda #>oam_buf
    sta OAMDMA
    lda #0                      ; status bar: no scroll, name table 0
    sta PPUSCROLL
    sta PPUSCROLL
    lda #CTRL_BASE
    sta PPUCTRL
    lda mask_shadow
    sta PPUMASK
    ldx #0
@entry:
    cpx vbuf_pos
    beq @flushed
    lda vbuf,x
    sta PPUADDR
    lda vbuf+1,x
    sta PPUADDR
    ldy vbuf+2,x
    inx
    inx
    inx
@byte:
    lda vbuf,x
    sta PPUDATA
    inx
    dey
    bne @byte
    beq @entry
@flushed:
    lda #0
    sta vbuf_pos
    jsr read_pad
    jsr sound_update
    inc nmi_count
    pla
    tay
    pla
    tax
    pla
    rti

read_pad:
    lda #1
    sta JOY1
    lda #0
    sta JOY1
    ldx #8
@bit:
    lda JOY1
    lsr a
    rol pad_raw
    dex
    bne @bit
    rts

wait_nmi:
    lda nmi_count
@wait:
    cmp nmi_count
    beq @wait
    rts

; Waits for the sprite-0 flag and switches to the play-area scroll. Gives up if
; the vertical blank comes first (sprite 0 not shown).
do_split:
    bit PPUSTATUS
    bvs @hit
    bpl do_split
    rts
@hit:
    lda scroll_x
    sta PPUSCROLL
    lda #0
    sta PPUSCROLL
    lda scroll_ctrl
    sta PPUCTRL
    rts

; Rendering and NMI off, so the main code may write video memory at length.
video_off:
    lda #0
    sta PPUCTRL
    sta mask_shadow
    sta PPUMASK
    sta vbuf_pos
    rts

video_on:
    lda #CTRL_BASE
    sta PPUCTRL
    jsr wait_nmi
    lda #MASK_SHOW
    sta mask_shadow
    rts

; ptr -> 32 colours. $3F10 is written first because it sets the first colour
; of all eight palettes; each background palette then gets its own.
load_palette:
    lda #$3F
    sta PPUADDR
    lda #$10
    sta PPUADDR
    ldy #16
    lda (ptr),y
    sta PPUDATA
    lda #$3F
    sta PPUADDR
    lda #$00
    sta PPUADDR
    ldy #0
@bg:
    lda (ptr),y
    sta PPUDATA
    iny
    cpy #16
    bne @bg
    lda #$3F
    sta PPUADDR
    lda #$11
    sta PPUADDR
    iny
@sprites:
    lda (ptr),y
    sta PPUDATA
    iny
    cpy #32
    bne @sprites
    rts

; Both name tables (and through the vertical mirroring their copies) to tile 0.
clear_nametables:
    lda #$20
    sta PPUADDR
    lda #$00
    sta PPUADDR
    tax
    ldy #8
@fill:
    sta PPUDATA
    dex
    bne @fill
    dey
    bne @fill
    rts

clear_oam:
    lda #$F0
    ldx #0
@hide:
    sta oam_buf,x
    inx
    bne @hide
    rts

; ptr -> address high, address low, text, 0: written straight to video memory.
draw_text:
    ldy #0
    lda (ptr),y
    sta PPUADDR
    iny
    lda (ptr),y
    sta PPUADDR
@char:
    iny
    lda (ptr),y
    beq @done
    sta PPUDATA
    bne @char
@done:
    rts

; ptr -> address high, address low, text, 0: queued for the next NMI.
queue_text:
    ldy #2
@count:
    lda (ptr),y
    beq @counted
    iny
    bne @count
@counted:
    tya
    sec
    sbc #2
    sta tmp3
    ldx vbuf_pos
    ldy #0
    lda (ptr),y
    sta vbuf,x
    iny
    lda (ptr),y
    sta vbuf+1,x
    lda tmp3
    sta vbuf+2,x
    inx
    inx
    inx
@copy:
    iny
    lda (ptr),y
    beq @done
    sta vbuf,x
    inx
    bne @copy
@done:
    stx vbuf_pos
    rts

; Queues the text record at the given label.
.macro QUEUE text
    lda #<text
    sta ptr
    lda #>text
    sta ptr+1
    jsr queue_text
.endmacro

; ptr -> list of text record addresses ending with 0, drawn directly.
draw_text_list:
    lda ptr
    sta ax_lo
    lda ptr+1
    sta ax_hi
    ldy #0
@next:
    lda (ax_lo),y
    sta ptr
    iny
    lda (ax_lo),y
    sta ptr+1
    iny
    ora ptr
    beq @done
    sty obj
    jsr draw_text
    ldy obj
    jmp @next
@done:
    rts

; Returns a pseudo-random byte in A (16-bit shift register). Clobbers Y.
rand:
    ldy #8
    lda rng
@step:
    asl a
    rol rng+1
    bcc :+
    eor #$39
:   dey
    bne @step
    sta rng
    rts

; ---------------------------------------------------------------- title

title:
    ldx #$FF
    txs
    jsr video_off
    lda #<title_palette
    sta ptr
    lda #>title_palette
    sta ptr+1
    jsr load_palette
    jsr clear_nametables
    jsr clear_oam
    jsr draw_logo
    lda #<title_texts
    sta ptr
    lda #>title_texts
    sta ptr+1
    jsr draw_text_list
    jsr draw_title_ground
    ; a player and a beetle standing on the title ground
    lda #0
    sta cam_lo
    sta cam_hi
    sta scroll_x
    sta facing
    lda #4
    sta oam_idx
    lda #112
    sta px_lo
    lda #0
    sta px_hi
    lda #192
    sta py
    lda #0
    jsr draw_player_frame
    lda #160
    sta spr_x_lo
    lda #0
    sta spr_x_hi
    lda #200
    sta spr_y
    lda #$40
    sta tmp
    jsr draw_beetle_at
    lda #CTRL_BASE
    sta scroll_ctrl
    lda #0
    sta demo_mode
    sta idle
    sta idle+1
    sta music_hold
    jsr video_on
    lda #SONG_TITLE
    jsr music_start
    lda pad_raw
    sta raw_prev
@loop:
    jsr wait_nmi
    inc rng+1                   ; the wait before Start seeds the game
    ; blink PUSH START: 32 frames on, 32 off
    inc frame
    lda frame
    and #31
    bne @input
    lda frame
    and #32
    beq @show
    QUEUE txt_blank_start
    jmp @input
@show:
    QUEUE txt_push_start
@input:
    lda raw_prev
    eor #$FF
    and pad_raw
    ldx pad_raw
    stx raw_prev
    and #BTN_START
    beq @no_start
    jmp start_game
@no_start:
    lda pad_raw
    beq @count
    lda #0
    sta idle
    sta idle+1
    beq @loop
@count:
    inc idle
    bne :+
    inc idle+1
:   lda idle
    cmp #<IDLE_FRAMES
    bne @loop
    lda idle+1
    cmp #>IDLE_FRAMES
    bne @loop
    jmp start_demo

; Big letters from logo_rows: 'X' is a brick, anything else empty.
LOGO_ROW = 5
LOGO_COL = 4
LOGO_WIDTH = 23
draw_logo:
    lda #<logo_rows
    sta ptr
    lda #>logo_rows
    sta ptr+1
    ldx #0
@row:
    lda logo_addr_hi,x
    sta PPUADDR
    lda logo_addr_lo,x
    sta PPUADDR
    ldy #0
@cell:
    lda (ptr),y
    cmp #'X'
    beq :+
    lda #0
    beq @put
:   lda #BRICK_TILE
@put:
    sta PPUDATA
    iny
    cpy #LOGO_WIDTH
    bne @cell
    lda ptr
    clc
    adc #LOGO_WIDTH
    sta ptr
    bcc :+
    inc ptr+1
:   inx
    cpx #5
    bne @row
    ; logo rows use palette 3, the ground at the bottom palette 2
    lda #$23
    sta PPUADDR
    lda #$C8
    sta PPUADDR
    lda #$FF
    ldx #16
@attr:
    sta PPUDATA
    dex
    bne @attr
    rts

.define LOGO_ADDR(r) ($2000 + (LOGO_ROW + (r)) * 32 + LOGO_COL)
logo_addr_hi: .byte >LOGO_ADDR(0), >LOGO_ADDR(1), >LOGO_ADDR(2), >LOGO_ADDR(3), >LOGO_ADDR(4)
logo_addr_lo: .byte <LOGO_ADDR(0), <LOGO_ADDR(1), <LOGO_ADDR(2), <LOGO_ADDR(3), <LOGO_ADDR(4)

; Grass on row 26, earth down to row 28, bedrock on row 29.
draw_title_ground:
    lda #$23
    sta PPUADDR
    lda #$40
    sta PPUADDR
    ldx #32
    lda #GROUND_TILE
:   sta PPUDATA
    dex
    bne :-
    ldx #64
:   txa
    and #3
    beq :+
    lda #DIRT_TILE
    bne @dirt
:   lda #DIRT_TILE+1
@dirt:
    sta PPUDATA
    dex
    bne :--
    ldx #32
    lda #BEDROCK_TILE
:   sta PPUDATA
    dex
    bne :-
    lda #$23
    sta PPUADDR
    lda #$F0
    sta PPUADDR
    lda #$A0
    ldx #8
:   sta PPUDATA
    dex
    bne :-
    lda #$AA
    ldx #8
:   sta PPUDATA
    dex
    bne :-
    rts

; ---------------------------------------------------------------- game set-up

start_demo:
    lda #1
    sta demo_mode
    lda #<demo_input
    sta demo_ptr
    lda #>demo_input
    sta demo_ptr+1
    lda #0
    sta demo_left
    lda #$5E                    ; a fixed seed replays the same game
    sta rng
    lda #$C1
    sta rng+1
    jmp new_game

start_game:
    lda #0
    sta demo_mode
    lda rng+1
    ora #1
    sta rng+1

new_game:
    ldx #$FF
    txs
    jsr video_off
    lda #<game_palette
    sta ptr
    lda #>game_palette
    sta ptr+1
    jsr load_palette
    jsr clear_nametables
    jsr draw_playfield
    lda #<status_texts
    sta ptr
    lda #>status_texts
    sta ptr+1
    jsr draw_text_list
    lda #$20                    ; status border on row 2
    sta PPUADDR
    lda #$40
    sta PPUADDR
    lda #BORDER_TILE
    ldx #32
:   sta PPUDATA
    dex
    bne :-
    lda demo_mode
    beq :+
    lda #<txt_demo
    sta ptr
    lda #>txt_demo
    sta ptr+1
    jsr draw_text
:
    ; game state
    ldx #5
    lda #0
:   sta score,x
    dex
    bpl :-
    sta paused
    sta music_hold
    sta invuln
    sta spark_life
    sta pvy_lo
    sta pvy_hi
    sta py_frac
    sta px_hi
    sta facing
    sta frame
    lda #1
    sta score_dirty
    lda #3
    sta lives
    lda #40
    sta px_lo
    lda #24*8 - 16
    sta py
    ldx #BEETLES - 1
:   lda beetle_start_lo,x
    sta beetle_lo,x
    lda beetle_start_hi,x
    sta beetle_hi,x
    lda #1
    sta beetle_dir,x
    lda #0
    sta beetle_wait,x
    stx obj
    jsr beetle_to_ground
    ldx obj
    dex
    bpl :-
    ldx #GEMS - 1
:   lda gem_start_lo,x
    sta gem_lo,x
    lda gem_start_hi,x
    sta gem_hi,x
    lda #0
    sta gem_wait,x
    stx obj
    jsr gem_to_ground
    ldx obj
    dex
    bpl :-
    jsr clear_oam
    jsr update_camera
    jsr build_oam
    jsr video_on
    lda #SONG_GAME
    jsr music_start
    lda #$FF                    ; buttons held from the title are not new presses
    sta pad
    lda pad_raw
    sta raw_prev

; ---------------------------------------------------------------- play loop

play_loop:
    jsr wait_nmi
    jsr do_split
    jsr read_input
    bcc :+
    jmp title
:   lda pad_new
    and #BTN_SELECT
    beq :+
    lda music_on
    eor #1
    sta music_on
:   lda demo_mode
    bne @run                    ; the recording never pauses
    lda pad_new
    and #BTN_START
    beq @run
    lda paused
    eor #1
    sta paused
    sta music_hold
    lda #SFX_PAUSE
    jsr sfx_play
    lda paused
    beq :+
    QUEUE txt_paused
    jmp play_loop
:   QUEUE txt_unpaused
@run:
    lda paused
    bne play_loop
    inc frame
    jsr player_update
    jsr spark_update
    jsr beetles_update
    jsr gems_update
    jsr update_camera
    jsr build_oam
    jsr status_update
    lda lives
    bne play_loop
    jmp game_over

game_over:
    QUEUE txt_game_over
    jsr sweep_fall
    lda #180
    sta obj
@wait:
    jsr wait_nmi
    jsr do_split
    dec obj
    bne @wait
    jmp title

; Sets pad and pad_new from the joypad or the recording. Carry set: the demo
; is over (recording ended or a button was pressed).
read_input:
    lda pad
    sta pad_prev
    lda demo_mode
    beq @live
    lda raw_prev
    eor #$FF
    and pad_raw
    ldx pad_raw
    stx raw_prev
    cmp #0
    bne @quit
    lda demo_left
    bne @same
    ldy #1
    lda (demo_ptr),y
    beq @quit
    sta demo_left
    dey
    lda (demo_ptr),y
    sta demo_btn
    lda demo_ptr
    clc
    adc #2
    sta demo_ptr
    bcc @same
    inc demo_ptr+1
@same:
    dec demo_left
    lda demo_btn
    jmp @set
@live:
    lda pad_raw
@set:
    sta pad
    lda pad_prev
    eor #$FF
    and pad
    sta pad_new
    clc
    rts
@quit:
    sec
    rts

update_camera:
    lda px_lo
    sec
    sbc #112
    sta cam_lo
    sta scroll_x
    lda px_hi
    sbc #0
    and #1
    sta cam_hi
    ora #CTRL_BASE
    sta scroll_ctrl
    rts

; ---------------------------------------------------------------- playfield

; Draws the 64 columns of the ring (rows 3-29) and the attributes of both tables.
draw_playfield:
    lda #CTRL_STEP32
    sta PPUCTRL
    lda #0
    sta obj                     ; tile column 0-63
@column:
    lda obj
    lsr a
    tax
    lda terrain,x
    sta tmp2                    ; ground row of this column
    lda obj
    and #32
    lsr a
    lsr a
    lsr a
    ora #$20
    sta PPUADDR                 ; $20 or $24
    lda obj
    and #31
    ora #$60                    ; row 3
    sta PPUADDR
    ldy #3
@sky:
    cpy tmp2
    beq @ground
    lda #0
    sta PPUDATA
    iny
    bne @sky
@ground:
    lda #GROUND_TILE
    sta PPUDATA
    iny
@dirt:
    cpy #29
    beq @bedrock
    tya
    clc
    adc obj
    and #3
    beq :+
    lda #DIRT_TILE
    bne :++
:   lda #DIRT_TILE+1
:   sta PPUDATA
    iny
    bne @dirt
@bedrock:
    lda #BEDROCK_TILE
    sta PPUDATA
    inc obj
    lda obj
    cmp #64
    bne @column
    lda #0
    sta PPUCTRL
    jsr draw_decorations
    ; attributes: palette 0 above row 4, 1 for the sky, 2 for the ground
    lda #0
    sta obj                     ; attribute index 0-127 over both tables
@attr:
    lda obj
    and #64
    lsr a
    lsr a
    lsr a
    lsr a
    ora #$23
    sta PPUADDR
    lda obj
    and #63
    ora #$C0
    sta PPUADDR
    ; terrain column of the left half: table * 16 + (index & 7) * 2
    lda obj
    and #7
    asl a
    sta tmp
    lda obj
    and #64
    lsr a
    lsr a
    ora tmp
    tax
    lda obj
    and #$38
    lsr a
    sta tmp3                    ; first tile row of the block: 4 * (index >> 3)
    lda #0
    sta tmp
    ldy tmp3
    jsr attr_pal                ; top left
    inx
    jsr attr_pal                ; top right
    dex
    iny
    iny
    jsr attr_pal                ; bottom left
    inx
    jsr attr_pal                ; bottom right
    lda tmp
    sta PPUDATA
    inc obj
    lda obj
    cmp #128
    bne @attr
    rts

; Shifts the palette of terrain column X at tile row Y into the top of tmp.
attr_pal:
    lda #0
    cpy #4
    bcc @got
    tya
    cmp terrain,x
    lda #2
    bcs @got
    lda #1
@got:
    lsr a
    ror tmp
    lsr a
    ror tmp
    rts

; Clouds and bushes: records of tile column, row; ends with $FF.
draw_decorations:
    ldx #0
@cloud:
    lda clouds,x
    cmp #$FF
    beq @bushes
    ldy clouds+1,x
    jsr set_tile_addr
    lda #CLOUD_TILE
    sta PPUDATA
    lda #CLOUD_TILE+1
    sta PPUDATA
    inx
    inx
    bne @cloud
@bushes:
    ldx #0
@bush:
    lda bushes,x
    cmp #$FF
    beq @done
    sta tmp2
    lsr a
    tay
    lda terrain,y
    tay
    dey                         ; on the row above the grass
    lda tmp2
    jsr set_tile_addr
    lda #BUSH_TILE
    sta PPUDATA
    lda #BUSH_TILE+1
    sta PPUDATA
    inx
    bne @bush
@done:
    rts

; A = tile column 0-63, Y = row: sets the video address.
set_tile_addr:
    sta tmp
    tya
    lsr a
    lsr a
    lsr a
    sta tmp3
    lda tmp
    and #32
    lsr a
    lsr a
    lsr a
    ora tmp3
    ora #$20
    sta PPUADDR
    tya
    asl a
    asl a
    asl a
    asl a
    asl a
    sta tmp3
    lda tmp
    and #31
    ora tmp3
    sta PPUADDR
    rts

; A = x low, X = x high: A = pixel row of the ground top there. Keeps X, uses Y.
ground_at:
    lsr a
    lsr a
    lsr a
    lsr a
    sta tmp
    txa
    and #1
    asl a
    asl a
    asl a
    asl a
    ora tmp
    tay
    lda terrain,y
    asl a
    asl a
    asl a
    rts

; ---------------------------------------------------------------- player

player_update:
    lda #0
    sta walking
    lda pad
    and #BTN_RIGHT
    beq @left
    lda #0
    sta facing
    inc walking
    jsr step_right
    lda frame
    and #1
    beq @vertical
    jsr step_right
    jmp @vertical
@left:
    lda pad
    and #BTN_LEFT
    beq @vertical
    lda #$40
    sta facing
    inc walking
    jsr step_left
    lda frame
    and #1
    beq @vertical
    jsr step_left
@vertical:
    lda pad_new
    and #BTN_A
    beq @gravity
    lda on_ground
    beq @gravity
    lda #0
    sta on_ground
    sta pvy_lo
    lda #$FC                    ; -4 pixels a frame
    sta pvy_hi
    lda #SFX_JUMP
    jsr sfx_play
@gravity:
    lda pvy_lo
    clc
    adc #$38
    sta pvy_lo
    lda pvy_hi
    adc #0
    sta pvy_hi
    bmi @move
    cmp #4
    bcc @move
    lda #4
    sta pvy_hi
    lda #0
    sta pvy_lo
@move:
    lda py_frac
    clc
    adc pvy_lo
    sta py_frac
    lda py
    adc pvy_hi
    sta py
    lda pvy_hi
    bmi @airborne               ; rising: nothing to land on
    jsr feet_ground
    sta tmp2
    lda py
    clc
    adc #16
    cmp tmp2
    bcc @airborne
    lda tmp2
    sec
    sbc #16
    sta py
    lda #0
    sta py_frac
    sta pvy_lo
    sta pvy_hi
    lda #1
    sta on_ground
    bne @timers
@airborne:
    lda #0
    sta on_ground
@timers:
    lda invuln
    beq :+
    dec invuln
:   lda pad_new
    and #BTN_B
    beq @done
    lda spark_life
    bne @done
    lda #40
    sta spark_life
    lda facing
    sta spark_dir
    lda py
    clc
    adc #4
    sta spark_y
    lda facing
    beq :+
    lda #<-8
    ldx #$FF
    bne :++
:   lda #16
    ldx #0
:   clc
    adc px_lo
    sta spark_lo
    txa
    adc px_hi
    and #1
    sta spark_hi
    lda #SFX_SPARK
    jsr sfx_play
@done:
    rts

; The highest ground under either foot.
feet_ground:
    lda px_lo
    clc
    adc #1
    sta tmp2
    lda px_hi
    adc #0
    tax
    lda tmp2
    jsr ground_at
    sta tmp3
    lda px_lo
    clc
    adc #14
    sta tmp2
    lda px_hi
    adc #0
    tax
    lda tmp2
    jsr ground_at
    cmp tmp3
    bcc :+
    lda tmp3
:   rts

; One pixel right unless the column ahead rises above the feet.
step_right:
    lda px_lo
    clc
    adc #16
    sta tmp2
    lda px_hi
    adc #0
    tax
    lda tmp2
    jsr blocked
    bcs @done
    inc px_lo
    bne @done
    lda px_hi
    eor #1
    sta px_hi
@done:
    rts

step_left:
    lda px_lo
    sec
    sbc #1
    sta tmp2
    lda px_hi
    sbc #0
    tax
    lda tmp2
    jsr blocked
    bcs @done
    lda px_lo
    bne :+
    lda px_hi
    eor #1
    sta px_hi
:   dec px_lo
@done:
    rts

; A/X = a point's x: carry set when its ground top is above the player's feet.
blocked:
    jsr ground_at
    sta tmp2
    lda py
    clc
    adc #16
    cmp tmp2
    beq :+
    rts
:   clc
    rts

; ---------------------------------------------------------------- objects

spark_update:
    lda spark_life
    beq @done
    dec spark_life
    lda spark_dir
    bne @left
    lda spark_lo
    clc
    adc #3
    sta spark_lo
    lda spark_hi
    adc #0
    and #1
    sta spark_hi
    rts
@left:
    lda spark_lo
    sec
    sbc #3
    sta spark_lo
    lda spark_hi
    sbc #0
    and #1
    sta spark_hi
@done:
    rts

; Overlap test on the 512-pixel ring: carry clear when
; (ax - bx + A) mod 512 < Y.
overlap_x:
    sty tmp3
    clc
    adc ax_lo
    sta tmp
    lda ax_hi
    adc #0
    sta tmp2
    lda tmp
    sec
    sbc bx_lo
    sta tmp
    lda tmp2
    sbc bx_hi
    and #1
    bne @out
    lda tmp
    cmp tmp3
    rts
@out:
    sec
    rts

beetles_update:
    ldx #BEETLES - 1
@beetle:
    stx obj
    lda beetle_wait,x
    beq @alive
    dec beetle_wait,x
    bne @next
    jsr beetle_respawn
    jmp @next
@alive:
    lda frame
    and #1
    bne @collide
    ; walk, turning where the ground changes height
    lda beetle_dir,x
    bne @left
    lda beetle_lo,x
    clc
    adc #16
    sta tmp2
    lda beetle_hi,x
    adc #0
    jmp @probe
@left:
    lda beetle_lo,x
    sec
    sbc #1
    sta tmp2
    lda beetle_hi,x
    sbc #0
@probe:
    tax
    lda tmp2
    jsr ground_at
    ldx obj
    sec
    sbc #8
    cmp beetle_y,x
    beq @step
    lda beetle_dir,x
    eor #1
    sta beetle_dir,x
    jmp @collide
@step:
    lda beetle_dir,x
    bne :+
    inc beetle_lo,x
    bne @collide
    lda beetle_hi,x
    eor #1
    sta beetle_hi,x
    jmp @collide
:   lda beetle_lo,x
    bne :+
    lda beetle_hi,x
    eor #1
    sta beetle_hi,x
:   dec beetle_lo,x
@collide:
    jsr beetle_hits
@next:
    ldx obj
    dex
    bmi :+
    jmp @beetle
:   rts

; Spark and player against beetle obj.
beetle_hits:
    ldx obj
    lda beetle_lo,x
    sta ax_lo
    lda beetle_hi,x
    sta ax_hi
    lda spark_life
    beq @player
    lda spark_lo
    sta bx_lo
    lda spark_hi
    sta bx_hi
    lda #15
    ldy #23
    jsr overlap_x
    bcs @player
    ldx obj
    lda beetle_y,x
    sec
    sbc spark_y
    clc
    adc #7
    cmp #15
    bcs @player
    lda #0
    sta spark_life
    jmp @defeat
@player:
    lda px_lo
    sta bx_lo
    lda px_hi
    sta bx_hi
    lda #13
    ldy #26
    jsr overlap_x
    bcs @done
    ldx obj
    lda beetle_y,x
    sec
    sbc py
    sta tmp
    clc
    adc #7
    cmp #23
    bcs @done
    ; landing on it from above defeats it
    lda on_ground
    bne @hurt
    lda pvy_hi
    bmi @hurt
    lda tmp                     ; feet in the top half of the beetle
    cmp #8
    bcc @hurt
    cmp #16
    bcs @hurt
    lda #$FD
    sta pvy_hi
    lda #0
    sta pvy_lo
@defeat:
    ldx obj
    lda #90
    sta beetle_wait,x
    lda #SFX_STOMP
    jsr sfx_play
    ldx #3
    lda #1
    jmp add_score               ; 100 points
@hurt:
    lda invuln
    bne @done
    lda #120
    sta invuln
    dec lives
    lda #1
    sta score_dirty
    lda #$FE
    sta pvy_hi
    lda #0
    sta pvy_lo
    sta on_ground
    lda #SFX_HURT
    jmp sfx_play
@done:
    rts

; Beetle obj comes back out of sight ahead of the camera, on a column start.
beetle_respawn:
    jsr rand
    and #$30
    clc
    adc #<320
    php
    clc
    adc cam_lo
    ldx obj
    and #$F0
    sta beetle_lo,x
    lda cam_hi
    adc #>320
    plp
    adc #0
    and #1
    sta beetle_hi,x
    lda #1
    sta beetle_dir,x
    ; fall through
beetle_to_ground:
    ldx obj
    lda beetle_lo,x
    clc
    adc #8
    sta tmp2
    lda beetle_hi,x
    adc #0
    tax
    lda tmp2
    jsr ground_at
    ldx obj
    sec
    sbc #8
    sta beetle_y,x
    rts

gems_update:
    ldx #GEMS - 1
@gem:
    stx obj
    lda gem_wait,x
    beq @alive
    dec gem_wait,x
    bne @next
    jsr rand
    and #$70
    clc
    adc #<300
    php
    clc
    adc cam_lo
    ldx obj
    sta gem_lo,x
    lda cam_hi
    adc #>300
    plp
    adc #0
    and #1
    sta gem_hi,x
    jsr gem_to_ground
    jmp @next
@alive:
    lda gem_lo,x
    sta ax_lo
    lda gem_hi,x
    sta ax_hi
    lda px_lo
    sta bx_lo
    lda px_hi
    sta bx_hi
    lda #7
    ldy #23
    jsr overlap_x
    bcs @next
    ldx obj
    lda gem_y,x
    sec
    sbc py
    clc
    adc #7
    cmp #23
    bcs @next
    lda #120
    sta gem_wait,x
    lda #SFX_GEM
    jsr sfx_play
    ldx #4
    lda #5
    jsr add_score               ; 50 points
@next:
    ldx obj
    dex
    bpl @gem
    rts

gem_to_ground:
    ldx obj
    lda gem_lo,x
    clc
    adc #4
    sta tmp2
    lda gem_hi,x
    adc #0
    tax
    lda tmp2
    jsr ground_at
    ldx obj
    sec
    sbc #28
    sta gem_y,x
    rts

; X = digit (5 = units), A = amount 0-9, carried into the higher digits.
add_score:
    clc
    adc score,x
    cmp #10
    bcc @store
    sbc #10
    sta score,x
    lda #1
    dex
    bpl add_score
    ldx #5                      ; past 999999: stay there
    lda #9
:   sta score,x
    dex
    bpl :-
    bmi @dirty
@store:
    sta score,x
@dirty:
    lda #1
    sta score_dirty
    rts

STATUS_SCORE = $2028            ; row 1, column 8
STATUS_LIVES = $203B            ; row 1, column 27

status_update:
    lda score_dirty
    beq @done
    lda #0
    sta score_dirty
    ldx vbuf_pos
    lda #>STATUS_SCORE
    sta vbuf,x
    lda #<STATUS_SCORE
    sta vbuf+1,x
    lda #6
    sta vbuf+2,x
    ldy #0
:   lda score,y
    ora #'0'
    sta vbuf+3,x
    inx
    iny
    cpy #6
    bne :-
    lda #>STATUS_LIVES
    sta vbuf+3,x
    lda #<STATUS_LIVES
    sta vbuf+4,x
    lda #1
    sta vbuf+5,x
    lda lives
    ora #'0'
    sta vbuf+6,x
    txa
    clc
    adc #7
    sta vbuf_pos
@done:
    rts

; ---------------------------------------------------------------- sprites

; Writes one 8x8 sprite at world x spr_x, hidden when off the screen.
put_sprite:
    ldx oam_idx
    lda spr_x_lo
    sec
    sbc cam_lo
    sta oam_buf+3,x
    lda spr_x_hi
    sbc cam_hi
    and #1
    beq :+
    lda #$F0
    bne :++
:   lda spr_y
:   sta oam_buf,x
    lda spr_tile
    sta oam_buf+1,x
    lda spr_attr
    sta oam_buf+2,x
    inx
    inx
    inx
    inx
    stx oam_idx
    rts

build_oam:
    ; sprite 0 sits behind the opaque border row of the status bar
    lda #SPRITE0_Y
    sta oam_buf
    lda #1
    sta oam_buf+1
    lda #$20
    sta oam_buf+2
    lda #0
    sta oam_buf+3
    lda #$F0
    ldx #4
:   sta oam_buf,x
    inx
    inx
    inx
    inx
    bne :-
    lda #4
    sta oam_idx
    ; player, blinking while invulnerable
    lda invuln
    and #2
    bne @beetles
    lda on_ground
    bne :+
    lda #3
    bne @frame
:   lda walking
    beq @frame
    lda frame
    lsr a
    lsr a
    lsr a
    and #1
    clc
    adc #1
@frame:
    jsr draw_player_frame
@beetles:
    ldx #BEETLES - 1
@beetle:
    stx obj
    lda beetle_wait,x
    bne @next_beetle
    lda beetle_lo,x
    sta spr_x_lo
    lda beetle_hi,x
    sta spr_x_hi
    lda beetle_y,x
    sta spr_y
    lda beetle_dir,x
    lsr a
    ror a
    lsr a                       ; left: $40, horizontal flip
    sta tmp
    jsr draw_beetle_at
@next_beetle:
    ldx obj
    dex
    bpl @beetle
    ldx #GEMS - 1
@gem:
    stx obj
    lda gem_wait,x
    bne @next_gem
    lda gem_lo,x
    sta spr_x_lo
    lda gem_hi,x
    sta spr_x_hi
    lda gem_y,x
    sta spr_y
    lda frame
    lsr a
    lsr a
    lsr a
    lsr a
    and #1
    ora #$30
    sta spr_tile
    lda #2
    sta spr_attr
    jsr put_sprite
@next_gem:
    ldx obj
    dex
    bpl @gem
    lda spark_life
    beq @done
    lda spark_lo
    sta spr_x_lo
    lda spark_hi
    sta spr_x_hi
    lda spark_y
    sta spr_y
    lda frame
    lsr a
    lsr a
    and #1
    ora #$32
    sta spr_tile
    lda #3
    sta spr_attr
    jsr put_sprite
@done:
    rts

; A = animation frame 0-3: the player's 2x2 sprites at px, py, mirrored when
; facing left.
draw_player_frame:
    asl a
    asl a
    ora #PLAYER_TILE
    sta tmp2
    lda facing
    sta spr_attr
    lda #0
    sta obj
@piece:
    lda obj
    and #1
    asl a
    asl a
    asl a
    clc
    adc px_lo
    sta spr_x_lo
    lda px_hi
    adc #0
    and #1
    sta spr_x_hi
    lda obj
    and #2
    asl a
    asl a
    adc py
    sta spr_y
    lda facing
    beq :+
    lda #1
:   eor obj
    ora tmp2
    sta spr_tile
    jsr put_sprite
    inc obj
    lda obj
    cmp #4
    bne @piece
    rts

; Beetle of two sprites at spr_x, spr_y; tmp = $40 when facing left.
draw_beetle_at:
    lda nmi_count
    lsr a
    lsr a
    lsr a
    and #1
    asl a
    ora #$20
    sta tmp2
    lda tmp
    ora #1
    sta spr_attr
    lda tmp
    beq :+
    lda #1
:   ora tmp2
    sta spr_tile
    jsr put_sprite
    lda spr_x_lo
    clc
    adc #8
    sta spr_x_lo
    lda spr_x_hi
    adc #0
    and #1
    sta spr_x_hi
    lda spr_tile
    eor #1
    sta spr_tile
    jmp put_sprite

beetle_start_lo: .byte <200, <330, <440
beetle_start_hi: .byte >200, >330, >440
gem_start_lo:    .byte <120, <290
gem_start_hi:    .byte >120, >290

.segment "VECTORS"
    .addr nmi, reset, irq
