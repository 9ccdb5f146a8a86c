; 001.SCN: the river and the fireworks. The fireflies rise over the water (the waving
; river), Hotaru hums by the bank and the reader chooses what Souta asks her (it colours
; the talk, not the ending); the fireworks over the town (colour effects, the flash, the
; waving night sky), and the girl is gone. Natsumi and Souta walk home through the night
; street. Then the dream of 002.
;
; Marks 3 … 9 (see 000 for the flags and marks of the story).

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- The riverside: fireflies ----------------------------------------------------
    clear_scene 13              ; an iris closing
    bg 102
    transition 13               ; and opening on the river
    dim
    pcm_load 4                  ; the wind in the grass, an endless loop
    pcm_play 0 0
    cd_mark_fade                ; the walk fades at the fireflies' scene change,
    cd_queue 2                  ; and their music starts there
    msg_wipe "川の近くは、風が涼しかった。{wait_line}{nl}"
             "草のにおいがする。{wait_line}{nl}"
             "{nl}"
             "そのとき、暗い草の中で、{wait_line}{nl}"
             "小さな光がひとつ、ふわりと浮かんだ。{wait_page}"
    msg_wipe "{event_h_change:1,0,0}"
             "ひとつ、またひとつ。{wait_line}{nl}"
             "光は、どんどん増えていった。{wait_line}{nl}"
             "{nl}"
             "川の上を、たくさんの蛍が飛んでいた。{wait_page}"
    mark 3
    jne 115 1 3
    set 22 1
    ; The water moves: a scene typed over the waving river (a background: the waves
    ; need its four colours).
    fade_out_dim 1
    bg 102
    show_composed               ; the screen holds no text bits when the waves begin
    sub 1 wave_river 1 1
    msg_wipe "「きれい……」{wait_line}{nl}"
             "ナツミが、ため息のように言った。{wait_line}{nl}"
             "{nl}"
             "ホタルは、何も言わずに、{wait_line}{nl}"
             "ただ光を見つめていた。{wait_page}"

    ; --- By the bank: the three of them, and a song ------------------------------------
    ; The characters come one by one, each place shown its own way: Natsumi on the left
    ; in a dither, Souta on the right line by line, Hotaru in the middle in blinds.
    undim
    chara 0 3
    show 2 1                    ; the left half dissolves
    chara 1 2
    show 1 2                    ; the right half interlaced
    chara 2 1
    show 3 3                    ; the middle in blinds
    dim
    msg_wipe "ぼくたちは、川原の石にならんでこしかけた。{wait_line}{nl}"
             "{nl}"
             "ホタルの浴衣のすそが、{wait_line}{nl}"
             "蛍の光で、ときどき青く光って見えた。{wait_page}"
    pcm_finish                  ; the wind fades out
    pcm_load 6                  ; Hotaru hums, the tune twice over
    pcm_play 2 0
    msg_wipe "ふいに、ホタルが小さな声で歌いだした。{wait_line}{nl}"
             "{nl}"
             "言葉のない、ふしぎな歌だった。{wait_line}{nl}"
             "聞いたことがないのに、なつかしい。{wait_page}"
    pcm_finish                  ; the song ends as it ends
    msg_wipe "「それ、なんていう歌？」{wait_line}{nl}"
             "ナツミがきくと、ホタルは首をかしげた。{wait_line}{nl}"
             "「名前は、ないの。{wait_line}{nl}"
             "　ずっと前に、だれかが歌ってくれた歌」{wait_page}"
    pcm_load 4                  ; the wind again
    pcm_play 0 0
    mark 4
    jne 115 1 3
    set 22 1
    ; What Souta asks her: the talk changes, the ending does not.
    choice ask_what ask_where where ask_like like ask_nothing nothing
where:
    show_composed               ; the options leave the screen
    set 4 1
    mark 5
    jne 115 1 3
    set 22 1
    msg_wipe "{chara_only:2,4}"
             "ホタルは、川の上のほうを指さした。{wait_line}{nl}"
             "「あっちの、神社の森の奥。{wait_line}{nl}"
             "　ずっと、あそこにいたの」{wait_line}{nl}"
             "あの森の奥に、家なんてあっただろうか。{wait_page}"
    jump fireworks
like:
    show_composed               ; the options leave the screen
    set 4 2
    mark 6
    jne 115 1 3
    set 22 1
    msg_wipe "{chara_only:2,4}"
             "「うん、大好き」{wait_line}{nl}"
             "ホタルは、すぐにこたえた。{wait_line}{nl}"
             "「光ってるあいだは、みんなが見てくれるから。{wait_line}{nl}"
             "　……光るのは、夏のあいだだけだけど」{wait_page}"
    jump fireworks
nothing:
    show_composed               ; the options leave the screen
    set 4 3
    mark 7
    jne 115 1 3
    set 22 1
    msg_wipe "ぼくは、何もきかなかった。{wait_line}{nl}"
             "{nl}"
             "きいてしまったら、{wait_line}{nl}"
             "この光が消えてしまいそうな気がしたのだ。{wait_page}"

    ; --- Fireworks over the town -----------------------------------------------------
fireworks:
    pcm_finish                  ; the wind dies away
    cd_fade_out
    clear_scene 15              ; the river slides out to the right
    event_v 1
    cd_play 3                   ; the festival
    transition 5                ; the fireworks dissolve in
    dim
    pcm_load 5                  ; three bursts, one after another
    pcm_play 3 0
    msg_wipe "どん、と大きな音がした。{wait_line}{flash}{nl}"
             "町のほうで、花火が上がったのだ。{wait_line}{nl}"
             "{nl}"
             "赤、{colour:9}緑{colour:15}、青。{wait_line}{nl}"
             "夜空に、大きな花がいくつも開いた。{wait_page}"
    undim
    colour_fade 2
    wait 40
    colour_fade 3
    wait 40
    colour_fade 4
    wait 40
    colour_fade 0
    dim
    msg_wipe "{shadow:8}「わあ……！」{shadow:0}{wait_line}{nl}"
             "ナツミが、手をたたいてよろこんだ。{wait_line}{nl}"
             "{nl}"
             "ぼくは、となりのホタルを見た。{wait_line}{nl}"
             "花火の光が、その横顔を{wait_line}{nl}"
             "赤く、青く、照らしていた。{wait_page}"
    mark 8
    jne 115 1 3
    set 22 1
    ; The sparks come down: the night sky waving from top to bottom.
    fade_out_dim 1
    bg 104
    show_composed
    sub 2 wave_fireworks 1 2
    msg_wipe "ふと横を見ると、{wait_line}{nl}"
             "ホタルの姿は、どこにもなかった。{wait_page}"
    msg_wipe "「ホタルちゃん？」{wait_line}{nl}"
             "ナツミが、あたりを見回した。{wait_line}{nl}"
             "{nl}"
             "川原には、ぼくたちふたりしかいない。{wait_line}{nl}"
             "さっきまであんなにいた蛍も、{wait_line}{nl}"
             "一匹残らず消えていた。{wait_page}"

    ; --- The way home through the night street ------------------------------------------
    ; The scene leaves to the left and the street comes in from the right, Natsumi with
    ; it: the two of them walking.
    cd_mark_fade
    cd_queue 1                  ; the walk again, quieter now
    msg_wipe "{bg_chara:0,3,105,17,17}"
             "帰り道、ぼくたちはあまりしゃべらなかった。{wait_line}{nl}"
             "{nl}"
             "街灯の下を、蛾が一匹、{wait_line}{nl}"
             "ぐるぐると回っている。{wait_page}"
    pcm_load 2                  ; footsteps, twice over
    pcm_play 2 0
    msg_wipe "「ねえ、ソウタ」{wait_line}{nl}"
             "ナツミが、立ち止まった。{wait_line}{nl}"
             "{nl}"
             "「あの子、ほんとうにいたよね？{wait_line}{nl}"
             "　わたしたち、同じ夢を見てたんじゃ{wait_line}{nl}"
             "　ないよね？」{wait_page}"
    msg_wipe "「いたよ」{wait_line}{nl}"
             "ぼくは、そうこたえた。{wait_line}{nl}"
             "{nl}"
             "でも、自分の声が、{wait_line}{nl}"
             "なんだかとても遠くに聞こえた。{wait_page}"
    mark 9
    jne 115 1 3
    set 22 1
    pcm_finish
    scenario 2 L1               ; that night's dream

.messages
ask_what:       "ホタルに、何をきこう。{nl}"
ask_where:      "「ホタルは、どこから来たの？」{nl}"
ask_like:       "「蛍が、好きなの？」{nl}"
ask_nothing:    "（何もきかずに、光を見ている）{nl}"
wave_river:     "{speed:6}川の水面が、蛍の光をうつして{wait_line}{nl}"
                "ゆらゆらとゆれている。{wait_line}{nl}"
                "{nl}"
                "まるで、空の星が{wait_line}{nl}"
                "川に落ちてきたみたいだった。{wait_page}"
wave_fireworks: "{speed:8}光の粒が、ゆっくりと{wait_line}{nl}"
                "夜空から降ってくる。{wait_line}{nl}"
                "{nl}"
                "この夏が、終わっていく。{wait_page}"
