; 000.SCN: 「蛍」 — the demo story. The last evening of the summer holidays: Souta, his
; friend Natsumi and a girl called Hotaru, fireflies by the river and fireworks over the
; town. It walks through what the runtime shows: one picture in several colourings,
; characters in all three places, every colour effect, the fades and the white flash, line
; and page waits, a choice, the two wave scenes, and a bad dream with the shake, the claws
; and the blood.
;
; Pictures (demo/art): backgrounds 1 field, 2 riverside, 3 room, 4 sky, 5 street, 6 shrine,
; each as background p (day), p + 50 (evening), p + 100 (night), p + 150 (dusk); characters
; 1 Hotaru, 2 Souta, 3 Natsumi, 4 Hotaru smiling; event pictures H1 (fireflies by the
; river), V1 (fireworks), V2 (sunset hill), V3 (festival lanterns), V4 (watermelon on the
; veranda), H2 (Hotaru's profile), H3 (the road through the rice fields), H4 (Hotaru
; turning round among the fireflies); background 40 (the red after the blood) and the claw
; and blood frames of the effects.
; Character places: 0 left, 1 right, 2 centre; a text code's place p + 4 dissolves the
; whole screen instead of the place alone.
;
; Music (demo/sound, the disc's tracks beside the pack): 1 the evening walk, 2 fireflies,
; 3 the festival. Sounds: 1 wind chime, 2 footsteps, 4 wind (an ambience that loops),
; 5 a firework; 3 the rumble of the shake and 18 the claw's slash, which the effects play.

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- The street at dusk ------------------------------------------------------------
    black
    cd_play 1                   ; the evening walk, repeating
    bg 155
    transition 0
    wait 50
    dim
    pcm_load 2                  ; footsteps, once
    pcm_play 1 0
    msg_wipe "夏休みの最後の日の、夕方だった。{wait_line}{nl}"
             "{nl}"
             "ぼくは、駅からの道をひとりで歩いていた。{wait_line}{nl}"
             "明日からは、また学校が始まる。{wait_page}"
    msg_wipe "「ソウタ！」{wait_line}{nl}"
             "{chara_change:0,3}"
             "うしろから、聞き慣れた声がした。{wait_line}{nl}"
             "ナツミだ。{wait_line}{nl}"
             "{nl}"
             "「ねえ、今夜ひま？{wait_line}{nl}"
             "　川のほうに、蛍が出てるんだって」{wait_page}"
    msg_wipe "「蛍？　こんな町の近くに？」{wait_line}{nl}"
             "「うん。おばあちゃんが言ってた。{wait_line}{nl}"
             "　いっしょに見に行こうよ」{wait_line}{nl}"
             "{nl}"
             "ぼくは、少し考えてから、うなずいた。{wait_page}"

    ; --- The sky, and a memory in grey -----------------------------------------------
    clear_scene 3               ; the street closes in diamonds
    bg 54
    transition 3                ; and the sky opens in them
    dim
    msg_wipe "空は、まだ明るかった。{wait_line}{nl}"
             "大きな雲が、夕日の色に染まっている。{wait_line}{nl}"
             "{nl}"
             "去年の夏のことを、ぼくは思い出していた。{wait_page}"
    undim
    colour_fade 1
    dim
    msg_wipe "去年の夏も、ナツミといっしょだった。{wait_line}{nl}"
             "あの日も、蛍を探しに行ったのだ。{wait_line}{nl}"
             "{nl}"
             "でも、一匹も見つからなかった。{wait_line}{nl}"
             "暗い川の音だけが、ずっと聞こえていた。{wait_page}"
    undim
    colour_fade 0
    dim
    msg_wipe "「今年は、きっと見られるよ」{wait_line}{nl}"
             "ナツミは、そう言って笑った。{wait_page}"

    ; --- The shrine at night: three friends ------------------------------------------
    clear_scene 1               ; blocks spiralling in
    bg 106
    transition 1                ; and out again
    dim
    msg_wipe "神社の前まで来たとき、あたりはもう暗かった。{wait_line}{nl}"
             "{nl}"
             "石の段の上に、だれかが立っていた。{wait_line}{nl}"
             "{chara_add:2,1}"
             "紺色の浴衣の、知らない女の子だった。{wait_page}"
    msg_wipe "「……こんばんは」{wait_line}{nl}"
             "女の子は、小さな声でそう言った。{wait_line}{nl}"
             "{nl}"
             "「わたし、ホタル。{wait_line}{nl}"
             "　蛍を見に行くんでしょう？{wait_line}{nl}"
             "　いい場所、知ってるよ」{wait_page}"
    msg_wipe "{chara3_together:4,3,5,2,6,1}"
             "ぼくとナツミは、顔を見合わせた。{wait_page}"
    ; The reader decides: the girl leads the way, or the two go on their own.
    choice what_now with_her follow on_our_own alone
follow:
    msg_wipe "ホタルは、だまってうなずいた。{wait_line}{nl}"
             "そして、先に立って歩きだした。{wait_page}"
    jump river
alone:
    msg_wipe "ホタルは、少しさびしそうに笑った。{wait_line}{nl}"
             "「……じゃあ、川で会おうね」{wait_page}"
river:

    ; --- The riverside: fireflies ----------------------------------------------------
    clear_scene 13              ; an iris closing
    bg 102
    transition 13               ; and opening on the river
    dim
    pcm_load 4                  ; the wind in the grass, until the fireworks
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

    ; --- Fireworks over the town -----------------------------------------------------
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
    ; The sparks come down: the night sky waving from top to bottom.
    fade_out_dim 1
    bg 104
    show_composed
    sub 2 wave_fireworks 1 2
    msg_wipe "ふと横を見ると、{wait_line}{nl}"
             "ホタルの姿は、どこにもなかった。{wait_page}"

    ; --- That night, a bad dream: the ground shakes, claws out of the dark, blood ------
    cd_fade_out
    fade_out_dim 2
    bg 101                      ; the field at night
    transition 0
    dim
    msg_wipe "その夜、ぼくは夢を見た。{wait_line}{nl}"
             "{nl}"
             "暗い野原に、ひとりで立っている。{wait_line}{nl}"
             "蛍は、一匹もいない。{wait_page}"
    msg_wipe "とつぜん、地面が大きくゆれた。{quake}{wait_line}{nl}"
             "草のむこうで、何かが光った。{wait_page}"
    claw1                       ; something leaps out of the dark
    msg_wipe "なにかが、やみの中から、とびかかってきた。{wait_page}"
    claw2                       ; and strikes again: a red flash, then black
    msg_wipe "{blood}"
             "目の前が、まっ赤になった。{wait_line}{nl}"
             "{nl}"
             "……そこで、目が覚めた。{wait_page}"

    ; --- The next morning --------------------------------------------------------------
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

    ; --- The hill at sunset --------------------------------------------------------------
    clear_scene 6               ; blinds
    event_v 2
    cd_play 2                   ; the fireflies' music once more
    transition 6
    dim
    msg_wipe "その日の夕方、ぼくは丘の上にいた。{wait_line}{nl}"
             "{nl}"
             "夕日の中で、一匹の蛍が光った。{wait_page}"
    ; Characters stand on backgrounds (an event picture keeps no background to restore).
    clear_scene 19              ; random rows
    bg 51
    chara 2 4
    transition 2                ; random blocks
    dim
    msg_wipe "……また来年ね。{wait_line}{nl}"
             "そんな声が、聞こえた気がした。{wait_page}"
    fade_to_white 2
    wait 100

    ; --- Memories of the summer, and the ending ------------------------------------------
    ; Four more event pictures, so that the title's gallery has something to show, then
    ; the credits over the backgrounds of the ending, and back to the title.
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
    pcm_unload
    ending 2                    ; the credits to the fireflies' music
    end

.messages
what_now:       "どうしよう。{nl}"
with_her:       "「じゃあ、案内してくれる？」{nl}"
on_our_own:     "「ぼくたちだけで、行ってみるよ」{nl}"
wave_river:     "川の水面が、蛍の光をうつして{wait_line}{nl}"
                "ゆらゆらとゆれている。{wait_line}{nl}"
                "{nl}"
                "まるで、空の星が{wait_line}{nl}"
                "川に落ちてきたみたいだった。{wait_page}"
wave_fireworks: "光の粒が、ゆっくりと{wait_line}{nl}"
                "夜空から降ってくる。{wait_line}{nl}"
                "{nl}"
                "この夏が、終わっていく。{wait_page}"
