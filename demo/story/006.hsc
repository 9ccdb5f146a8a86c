; 006.SCN: the lonely ending. Souta neither followed Hotaru nor called her in the dream:
; the next days come, school begins, and the summer fades from him, picture by picture
; (grey, then dim, then gone). The play is written into the save slot as finished by a
; subroutine, and the story ends on its last line.
;
; Mark 22 (see 000 for the flags and marks of the story).

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- The evening, and nobody ---------------------------------------------------------
    cd_fade_out
    clear_scene 2               ; random blocks going dark
    bg 156                      ; the shrine at dusk
    transition 15               ; sliding in from the left
    dim
    msg_wipe "夕方、ぼくはもう一度、神社へ行ってみた。{wait_line}{nl}"
             "{nl}"
             "石の段の上には、だれもいなかった。{wait_line}{nl}"
             "ぼくは、しばらく待ってから、家に帰った。{wait_page}"
    mark 22
    jne 115 1 3
    set 22 1

    ; --- School again: the summer fades ---------------------------------------------------
    clear_scene 8               ; the shrine swept away in dithered strips
    bg 5                        ; the street in the morning
    transition 19               ; random rows
    dim
    pcm_load 2                  ; footsteps on the way to school, four times
    pcm_play 4 0
    cd_play 1
    msg_wipe "次の日から、学校がはじまった。{wait_line}{nl}"
             "{nl}"
             "宿題のこと、運動会のこと、{wait_line}{nl}"
             "毎日が、いそがしくすぎていった。{wait_page}"
    undim
    colour_fade 1               ; the colours go first
    dim
    msg_wipe "川に蛍がいたことも、{wait_line}{nl}"
             "花火の夜のことも、{wait_line}{nl}"
             "だんだん、思い出さなくなった。{wait_page}"
    undim
    colour_fade 6               ; then the light
    dim
    msg_wipe "ときどき、ナツミが何か言いたそうに{wait_line}{nl}"
             "ぼくを見ることがあった。{wait_line}{nl}"
             "{nl}"
             "でも、ぼくには、それが何なのか{wait_line}{nl}"
             "わからなかった。{wait_page}"
    cd_fade_out
    pcm_stop
    clear_scene 11              ; and then nothing at all, at once
    bg 0                        ; the plain black background
    transition 11
    msg_wipe "次の夏、川に蛍は来なかった。{wait_page}"

    ; The play is finished; the last line ends it.
    call finish
    msg_wipe "{x:240}{y:180}――　おわり　――{wait_page}"
    end

finish:
    ; The finished play goes into the save slot with the persistent flags.
    seen 6
    add 20 1
    jbit 21 2 counted
    add 21 4                    ; bit 2: the lonely ending reached
counted:
    set 114 1
    progress
    pcm_unload
    clear_scene 18              ; the screen fades out
    palette                     ; onto a black screen in the palette of the text
    sub 0                       ; and play ends at the next message
