; 003.SCN: the day after. Natsumi comes by with what her grandmother told her: the old
; tale of the last fireflies of the town (told over the veranda and over a waving sky,
; the two wave scenes armed from the text), then the two look for Hotaru at the shrine by
; day and on the road by the rice fields. In the evening the story goes where the
; reader's two choices lead: 004 (both: she comes to say goodbye, the credits), 005 (one
; of them: her voice only) or 006 (neither: he forgets).
;
; Marks 14 … 17 (see 000 for the flags and marks of the story).

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- Natsumi at the door -------------------------------------------------------------
    pcm_finish                  ; the chime rings out
    pcm_load 2                  ; someone running up the path, footsteps three times over
    pcm_play 3 0
    msg_wipe "「ソウタ！　起きてる？」{wait_line}{nl}"
             "{chara_only:1,3}"
             "まどの外から、ナツミの声がした。{wait_line}{nl}"
             "{nl}"
             "「おばあちゃんに、ゆうべのこと話したの。{wait_line}{nl}"
             "　そしたらね、むかし話をしてくれた」{wait_page}"
    pcm_stop                    ; she is here
    cd_play 1
    msg_wipe "ナツミは、えんがわにこしかけると、{wait_line}{nl}"
             "ぼくにスイカをひときれくれた。{wait_line}{nl}"
             "{nl}"
             "「食べながら聞いて。{wait_line}{nl}"
             "　ちょっと、ふしぎな話なんだ」{wait_page}"
    mark 14
    jne 115 1 3
    set 22 1

    ; --- The tale, on the veranda --------------------------------------------------------
    ; The room dissolves out and the veranda in; the tale is told in grey, as an old
    ; picture: the colour effect is set before the picture comes and applied with it. (The
    ; change is made before the page, not by a code in its text, so that a save on this
    ; page comes back grey: a page's save holds the scene as it was when the page began.)
    cd_fade_out
    clear_scene 5
    colour_pending 1
    event_v 4
    cd_play 2                   ; the fireflies' music for the tale
    transition 12
    dim
    msg_wipe "「むかし、この町の川には、{wait_line}{nl}"
             "　数えきれないくらい蛍がいたんだって。{wait_line}{nl}"
             "{nl}"
             "　夏の夜には、川がまるで{wait_line}{nl}"
             "　光の帯みたいに見えたって」{wait_page}"
    msg_wipe "「でも、川の岸がコンクリートになって、{wait_line}{nl}"
             "　蛍はどんどんへっていった。{wait_line}{nl}"
             "{nl}"
             "　いまはもう、神社の森の奥の、{wait_line}{nl}"
             "　小さな泉のまわりにしかいないの」{wait_page}"
    ; The tale goes on over the evening sky, waving from side to side, as a memory.
    fade_out_dim 1
    bg 54
    show_composed               ; no text bits under the waves
    msg "{wave_h:2,2}"
    msg tale_one
    fade_out_dim 1
    bg 104
    show_composed
    msg "{wave_v:1,1}"
    msg tale_two
    mark 15
    jne 115 1 3
    set 22 1
    ; Back on the veranda, in its own colours.
    event_v 4
    transition 10               ; columns weaving the picture in
    dim
    msg_wipe "ぼくは、スイカを食べるのをわすれていた。{wait_line}{nl}"
             "{nl}"
             "「それって……」{wait_line}{nl}"
             "「わかんない。ただのむかし話かもしれない。{wait_line}{nl}"
             "　でも、行ってみようよ。神社に」{wait_page}"

    ; --- The shrine by day: nobody there ---------------------------------------------------
    ; The veranda sweeps out in columns and the shrine sweeps in in dithered strips.
    msg_wipe "{bg_always:6,7,8}"
             "昼間の神社は、セミの声でいっぱいだった。{wait_line}{nl}"
             "{nl}"
             "石の段の上には、だれもいない。{wait_line}{nl}"
             "ゆうべ、ホタルが立っていた場所だ。{wait_page}"
    pcm_load 2
    pcm_play 2 0
    msg_wipe "ぼくたちは、森の奥へ入っていった。{wait_line}{nl}"
             "{nl}"
             "{x:64}「ホタルー！」{pause:60}{nl}"
             "「ホタルちゃーん！」{pause:60}{cr}"
             "{x:16}"
             "声は、木のあいだにすいこまれて、{wait_line}{nl}"
             "返事はなかった。{wait_page}"
    mark 16
    jne 115 1 3
    set 22 1
    msg_wipe "森の奥に、小さな泉があった。{wait_line}{nl}"
             "{nl}"
             "水は、びっくりするほどすんでいた。{wait_line}{nl}"
             "そのまわりの草の葉に、{wait_line}{nl}"
             "ちいさな虫が、じっととまっている。{wait_page}"
    msg_wipe "「これ、蛍？」{wait_line}{nl}"
             "ナツミが、そっと指さした。{wait_line}{nl}"
             "{nl}"
             "昼の蛍は、光らない。{wait_line}{nl}"
             "黒くて小さな、ただの虫に見えた。{wait_line}{nl}"
             "{y:250}{x:160}{colour:14}――光るのは、夏のあいだだけ。{colour:15}{wait_page}"

    ; --- The road through the rice fields, in the afternoon --------------------------------
    ; The shrine scrolls away downwards, the road comes in from the top.
    cd_fade_out
    clear_scene 16
    event_h 3
    transition 16
    dim
    cd_play 1
    msg_wipe "帰り道、田んぼの一本道を歩いた。{wait_line}{nl}"
             "{nl}"
             "青い稲が、風にさざなみのようにゆれている。{wait_line}{nl}"
             "ナツミが、ぽつりと言った。{wait_page}"
    msg_wipe "「ねえ。あの子、今夜も来るかな」{wait_line}{nl}"
             "「……来るよ。きっと」{wait_line}{nl}"
             "{nl}"
             "「夏休み、今日で終わりだね」{wait_line}{nl}"
             "「うん」{wait_page}"
    mark 17
    jne 115 1 3
    set 22 1

    ; --- Where the evening leads: both choices, one of them, or neither --------------------
    jge 3 2 ending_light
    jlt 3 1 ending_alone
    jle 3 1 ending_voice
ending_light:
    scenario 4 L1               ; she comes to say goodbye
ending_voice:
    scenario 5 L1               ; only her voice
ending_alone:
    scenario 6 L1               ; he forgets

.messages
tale_one:       "{speed:7}蛍は、神社の神さまのお使い。{wait_line}{nl}"
                "夏の終わりに、いちどだけ、{wait_line}{nl}"
                "人のすがたになって、町へおりてくる。{wait_line}{nl}"
                "{nl}"
                "自分のことを、{wait_line}{nl}"
                "おぼえていてくれる人をさがしに。{wait_page}"
tale_two:       "{speed:5}だれかがおぼえていてくれれば、{wait_line}{nl}"
                "蛍は、次の夏も、また光ることができる。{wait_line}{nl}"
                "{nl}"
                "だれにもおぼえてもらえなければ、{wait_line}{nl}"
                "蛍は、それきり、光らなくなる。{wait_page}"
