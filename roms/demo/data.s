; Palettes, screen layouts, the terrain of the play ring and the attract-mode
; recording.

.include "nes.inc"

.export terrain, clouds, bushes, title_palette, game_palette
.export title_texts, logo_rows, status_texts, demo_input
.export txt_push_start, txt_blank_start, txt_paused, txt_unpaused, txt_game_over, txt_demo

.segment "RODATA"

; Background palettes 0-3, then sprite palettes 0-3. The first colour of each
; background palette is its own backdrop; sprite colour 0 is transparent.
title_palette:
    .byte $0F, $30, $27, $16    ; text: white on black
    .byte $0F, $30, $2A, $1A
    .byte $0F, $2A, $17, $07    ; ground
    .byte $0F, $37, $27, $17    ; logo bricks
    .byte $0F, $16, $37, $0F    ; player: red, skin, black
    .byte $0F, $14, $34, $0F    ; beetle
    .byte $0F, $2C, $30, $11    ; gem
    .byte $0F, $28, $30, $27    ; spark
game_palette:
    .byte $0F, $30, $27, $16    ; status bar: black backdrop
    .byte $21, $30, $2A, $1A    ; sky, clouds and bushes
    .byte $21, $2A, $17, $07    ; grass, earth, dark earth and bedrock
    .byte $21, $37, $27, $17
    .byte $0F, $16, $37, $0F
    .byte $0F, $14, $34, $0F
    .byte $0F, $2C, $30, $11
    .byte $0F, $28, $30, $27

; Ground row (even, 20-24) of each 16-pixel column of the 512-pixel ring.
terrain:
    .byte 24, 24, 24, 24, 24, 24, 22, 22, 22, 24, 24, 24, 22, 22, 20, 20
    .byte 22, 22, 22, 24, 24, 24, 24, 24, 22, 22, 22, 24, 24, 24, 24, 24

; Clouds: tile column (0-63), row; $FF ends.
clouds:
    .byte 4, 7,  19, 9,  30, 6,  44, 8,  56, 7,  $FF
; Bushes: even tile column, drawn on the row above the grass; $FF ends.
bushes:
    .byte 4, 20, 40, 58, $FF

; Text records: video address, characters, 0. Tiles $20-$5F are the font in
; ASCII order.
.macro TEXT row, col, str
    .byte >($2000 + (row) * 32 + (col)), <($2000 + (row) * 32 + (col)), str, 0
.endmacro

txt_title_1:    TEXT 12,  8, "A TINY ADVENTURE"
txt_title_2:    TEXT 21,  5, "PIXTOR DEMO CARTRIDGE"
txt_title_3:    TEXT 23,  2, "A JUMP  B SPARK  START PAUSE"
txt_push_start: TEXT 17, 11, "PUSH START"
txt_blank_start: TEXT 17, 11, "          "
title_texts:
    .addr txt_title_1, txt_title_2, txt_title_3, txt_push_start, 0

txt_score:      TEXT 1,  2, "SCORE"
txt_lives:      TEXT 1, 21, "LIVES"
status_texts:
    .addr txt_score, txt_lives, 0

txt_paused:     TEXT 0, 13, "PAUSED"
txt_unpaused:   TEXT 0, 13, "      "
txt_game_over:  TEXT 0, 12, "GAME OVER"
txt_demo:       TEXT 0,  2, "DEMO"

; The title logo, 23 cells wide: 'X' is a brick.
logo_rows:
    .byte "XXX XXX X X X X XXX XXX"
    .byte "X X  X  X X X X X X X X"
    .byte "XXX  X   X  XXX X X XXX"
    .byte "X    X  X X X X X X X  "
    .byte "X   XXX X X X X XXX X  "

; Attract mode: buttons, frames; a frame count of 0 ends the recording. The
; game starts from a fixed seed, so the recording replays the same run.
R = BTN_RIGHT
L = BTN_LEFT
demo_input:
    .byte 0, 30
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 40
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 20
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 40
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 80
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 40
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 40
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 20
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 40
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 20
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 20
    .byte 0, 20
    .byte R | BTN_A, 120
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 40
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 20
    .byte R | BTN_B, 2
    .byte R, 18
    .byte R | BTN_A, 60
    .byte R | BTN_B, 2
    .byte R, 18
    .byte 0, 40
    .byte 0, 0
