; 004.SCN: the ending with the credits. Souta trusted Hotaru and called her in the dark,
; so she comes to the hill at sunset to say goodbye: she was the last firefly of the
; shrine's spring, she answers what he asked her by the river (flag 4), and he promises
; to remember her. The memories of the summer pass as event pictures out of the white (so
; that the title's gallery has them), the play is written into the save slot as finished,
; and the credits roll. Then the backstage chat of 009.
;
; Marks 18 … 20 (see 000 for the flags and marks of the story).

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- The hill at sunset --------------------------------------------------------------
    cd_fade_out
    clear_scene 6               ; blinds
    event_v 2
    cd_play 2                   ; the fireflies' music once more
    transition 6
    dim
    msg_wipe "その日の夕方、ぼくはひとりで丘にのぼった。{wait_line}{nl}"
             "{nl}"
             "町が、夕日の色にそまっている。{wait_line}{nl}"
             "川も、神社の森も、ぜんぶ見わたせた。{wait_page}"
    msg_wipe "夕日の中で、一匹の蛍が光った。{wait_line}{nl}"
             "{nl}"
             "昼間の、それも夕方に光る蛍なんて、{wait_line}{nl}"
             "見たことがなかった。{wait_page}"
    mark 18
    jne 115 1 3
    set 22 1
    ; Characters stand on backgrounds (an event picture keeps no background to restore).
    clear_scene 19              ; random rows
    bg 51
    chara 2 4
    transition 2                ; random blocks
    dim
    pcm_load 6                  ; her song, over and over while they talk
    pcm_play 0 0
    msg_wipe "「ソウタ」{wait_line}{nl}"
             "{nl}"
             "ふりむくと、ホタルが立っていた。{wait_line}{nl}"
             "紺色の浴衣が、夕日に赤く光っている。{wait_page}"
    msg_wipe "「ゆうべ、呼んでくれたでしょう。{wait_line}{nl}"
             "　うれしかった。{wait_line}{nl}"
             "　だから、ちゃんとお別れを言いに来たの」{wait_line}{nl}"
             "{nl}"
             "「お別れ？」{wait_page}"
    msg_wipe "「わたしね、あの泉の、最後の蛍なの。{wait_line}{nl}"
             "　夏が終わったら、もう光れない。{wait_line}{nl}"
             "　でも、だれかがおぼえていてくれたら、{wait_line}{nl}"
             "　来年の夏、またたまごから生まれて、{wait_line}{nl}"
             "　また光れるって」{wait_page}"
    ; What Souta asked her by the river, answered now.
    jeq 4 1 asked_where
    jeq 4 2 asked_like
    msg_wipe "「川原で、何もきかないでいてくれたね。{wait_line}{nl}"
             "　ありがとう。{wait_line}{nl}"
             "　きかれたら、きっと泣いちゃってた」{wait_page}"
    jump answered
asked_where:
    msg_wipe "「どこから来たのって、きいてくれたよね。{wait_line}{nl}"
             "　あの泉から。{wait_line}{nl}"
             "　ずっと、あそこで町を見てたの」{wait_page}"
    jump answered
asked_like:
    msg_wipe "「蛍が好きかって、きいてくれたよね。{wait_line}{nl}"
             "　大好き。{wait_line}{nl}"
             "　だから、また光りたいの」{wait_page}"
answered:
    mark 19
    jne 115 1 3
    set 22 1
    ; Seventeen memories made, in this play or over several: she has noticed.
    jne 22 1 promise
    msg_wipe "「ソウタは、この夏のこと、{wait_line}{nl}"
             "　たくさんおぼえていてくれたね。{wait_line}{nl}"
             "　十七も、思い出をくれた。{wait_line}{nl}"
             "　それだけあれば、きっとだいじょうぶ」{wait_page}"
promise:
    msg_wipe "「わすれないよ」{wait_line}ぼくは言った。{wait_line}{nl}"
             "「ぜったいに、わすれない。{wait_line}{nl}"
             "　来年も、その次の年も、{wait_line}{nl}"
             "　ナツミといっしょに、川に見に行く」{wait_page}"
    msg_wipe "ホタルは、うれしそうに笑った。{wait_line}{nl}"
             "{nl}"
             "その体が、少しずつ、{wait_line}{nl}"
             "光のつぶになってほどけていく。{wait_page}"
    pcm_finish                  ; the song fades away with her
    msg_wipe "……また来年ね。{wait_line}{nl}"
             "そんな声が、聞こえた気がした。{wait_page}"
    fade_to_white 2
    wait 100

    ; --- Memories of the summer, and the ending ------------------------------------------
    ; Four more event pictures, so that the title's gallery has something to show, then
    ; the credits over the backgrounds of the ending.
    event_v 3                   ; the festival's lanterns, out of the white
    show_composed
    fade_from_white 1
    dim
    msg_wipe "夏祭りの夜店の光。{wait_page}"
    msg_wipe "{event_h_change:2,0,0}"
             "川原で見た、ホタルの横顔。{wait_page}"
    msg_wipe "{event_v_change:4,0,0}"
             "縁側で食べたスイカ。{wait_page}"
    msg_wipe "{event_h_change:3,0,0}"
             "ナツミと走った、田んぼの一本道。{wait_page}"
    msg_wipe "{event_h_change:4,0,0}"
             "そして、蛍の光の中で振り向いたあの子。{wait_line}{nl}"
             "{nl}"
             "ぼくは、この夏を忘れない。{wait_page}"
    mark 20
    jne 115 1 3
    set 22 1

    ; The play is finished: the persistent flags count it, and the progress write puts
    ; them into the save slot, marked finished, so the next play starts anew with them.
    seen 4
    add 20 1
    jbit 21 0 counted
    add 21 1                    ; bit 0: the credits reached
counted:
    set 114 1
    progress
    pcm_unload
    ending 2                    ; the credits to the fireflies' music
    scenario 9 L1               ; and the backstage chat
