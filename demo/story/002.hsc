; 002.SCN: that night, a bad dream. Souta stands in a dark field; the ground shakes, the
; world turns inside out (the negative colours), claws leap out of the dark. The reader
; chooses: call Hotaru's name (the fireflies' light drives the dark away: the second half
; of the way to the ending with the credits), run (the claws strike, and the dream starts
; over from its resume point, until the reader faces it), or close the eyes (the claws
; strike and he wakes). Then the morning after, in his room.
;
; Marks 10 … 13 (see 000 for the flags and marks of the story).

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- The dream: a dark field, no music -------------------------------------------
    cd_stop                     ; silence: the walk ends here, not faded
    clear_scene 0               ; the night street fades out
    bg 101                      ; the field at night
    transition 9                ; unfolding out of a line, as dreams come
    dim
    ; The dream comes back here when Souta runs from it.
    set_resume
    save_palette                ; the night's colours, for when the light goes out
    msg_wipe "その夜、ぼくは夢を見た。{wait_line}{nl}"
             "{nl}"
             "暗い野原に、ひとりで立っている。{wait_line}{nl}"
             "蛍は、一匹もいない。{wait_page}"
    mark 10
    jne 115 1 3
    set 22 1
    msg_wipe "とつぜん、地面が大きくゆれた。{quake}{wait_line}{nl}"
             "草のむこうで、何かが光った。{wait_page}"
    quake                       ; and once more
    undim
    colour_set 5                ; the world turns inside out,
    palette                     ; at once
    dim
    msg_wipe "{hurry_lock}"
             "{speed:9}空が、白くなった。{wait_line}{nl}"
             "草が、黒く光っている。{wait_line}{nl}"
             "{speed:3}{nl}"
             "何もかもが、裏返しになってしまったみたいだ。{hurry_unlock}{wait_page}"
    claw1                       ; something leaps out of the dark
    msg_wipe "なにかが、やみの中から、とびかかってきた。{wait_page}"
    ; The reader decides how Souta meets the dark.
    choice in_the_dark call_her call run_away run close_eyes close

run:
    show_composed               ; the options leave the screen
    ; Running is no way out: the claws strike, and the dream begins again.
    msg_wipe "ぼくは、むちゅうで走った。{wait_line}{nl}"
             "{nl}"
             "でも、足がうまく動かない。{wait_line}{nl}"
             "うしろから、何かが追いかけてくる。{claw2}{wait_page}"
    blood                       ; the red
    msg_wipe "目の前が、まっ赤になった。{wait_line}{nl}"
             "{nl}"
             "……気がつくと、ぼくはまた、{wait_line}{nl}"
             "暗い野原に立っていた。{wait_page}"
    fade_out_dim 2
    resume                      ; the same dream, from its start

call:
    show_composed               ; the options leave the screen
    ; Calling her name: a flash, the field in daylight, her voice, then the night again.
    set 2 1
    add 3 1
    msg_wipe "「ホタル！」{wait_line}{nl}"
             "{nl}"
             "ぼくは、力いっぱい、その名前を呼んだ。{wait_line}{flash}{nl}"
             "そのとき、やみの中に、小さな光がともった。{wait_page}"
    white                       ; the light fills everything
    bg 1                        ; the same field, in the colours of the day
    show_composed
    fade_from_white 2
    dim
    msg_wipe "ひとつ、ふたつ、百、千。{wait_line}{nl}"
             "{nl}"
             "数えきれない蛍が、{wait_line}{nl}"
             "やみを追いはらうように飛びかった。{wait_line}{nl}"
             "野原は、まるで昼間みたいに明るかった。{wait_page}"
    msg_wipe "「だいじょうぶ」{wait_line}{nl}"
             "{nl}"
             "どこからか、ホタルの声がした。{wait_line}{nl}"
             "「わたしは、ここにいるよ。{wait_line}{nl}"
             "　ソウタが呼んでくれたら、いつでも」{wait_page}"
    mark 11
    jne 115 1 3
    set 22 1
    undim
    restore_palette             ; the light goes out: the night's colours again
    palette
    dim
    msg_wipe "光が消えると、野原はまた夜にもどった。{wait_line}{nl}"
             "{nl}"
             "でも、もうこわくはなかった。{wait_page}"
    jump morning

close:
    show_composed               ; the options leave the screen
    ; Closing the eyes: the claws strike all the same, and he wakes.
    claw2                       ; it strikes again: a red flash, then black
    msg_wipe "{blood}"
             "目の前が、まっ赤になった。{wait_line}{nl}"
             "{nl}"
             "……そこで、目が覚めた。{wait_page}"
    mark 12
    jne 115 1 3
    set 22 1

    ; --- The next morning --------------------------------------------------------------
morning:
    cd_fade_out
    fade_out_dim 2
    wait 60
    bg 3
    transition 7                ; the morning sweeps in column by column
    dim
    pcm_load 1                  ; a wind chime at the window
    pcm_play 1 0
    msg_wipe "目が覚めると、もう朝だった。{wait_line}{nl}"
             "{nl}"
             "あれは、夢だったのだろうか。{wait_page}"
    undim
    colour_fade 5
    dim
    msg_wipe "ゆうべの川の光を、{wait_line}{nl}"
             "ぼくは目を閉じて思い出そうとした。{wait_line}{nl}"
             "{nl}"
             "でも、思い出せるのは、{wait_line}{nl}"
             "あの子の小さな声だけだった。{wait_page}"
    undim
    colour_fade 6
    dim
    msg_wipe "「わたし、ホタル」{wait_page}"
    undim
    colour_fade 0
    dim
    mark 13
    jne 115 1 3
    set 22 1
    scenario 3 L1               ; the day after

.messages
in_the_dark:    "{colour:14}どうする？{colour:15}{nl}"
call_her:       "ホタルの名前を呼ぶ{nl}"
run_away:       "にげる{nl}"
close_eyes:     "目を閉じる{nl}"
