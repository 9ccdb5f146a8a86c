; 000.SCN: 「蛍」 — the demo story, its first chapter and its entry. The last evening of
; the summer holidays: Souta, his friend Natsumi and a girl called Hotaru. This chapter
; walks from the station road at dusk to the shrine at night, where the three meet and the
; reader makes the first choice that shapes the ending (whether Souta trusts the girl).
; The story goes on in 001 (the river and the fireworks), 002 (the bad dream, which
; repeats until it is faced), 003 (the next day), then one of the endings 004 (the
; credits), 005 or 006, and the backstage chat 009 after the first two.
;
; Flags of one play: 1 Souta followed Hotaru, 2 he called her name in the dream, 3 the
; sum of both (which ending), 4 what he asked her by the river, 5 the fortune of the
; backstage chat. Persistent flags (carried into the next play by the progress write at
; an ending): 20 the plays finished, 21 the endings reached (bit 0 the credits, bit 1 the
; quiet one, bit 2 the lonely one), 22 set when the seventeenth memory (mark) was made.
; Marks 0 … 22: one per scene, the reader's memories of the summer; they carry over too.
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
; 5 a firework, 6 Hotaru humming (her voice); 3 the rumble of the shake and 18 the claw's
; slash, which the effects play.

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

    ; Every scene is a memory: a mark, kept across plays. The mark that makes seventeen
    ; raises flag 115 once; the story remembers that in flag 22 (the jump skips the three
    ; bytes of the set).
    mark 0
    jne 115 1 3
    set 22 1

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

    mark 1
    jne 115 1 3
    set 22 1

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
             "「わたし、ホタル。{wait_line}蛍を見に行くんでしょう？{wait_line}{nl}"
             "　いい場所、知ってるよ」{wait_page}"
    ; Someone who has been here before: a play after a finished one keeps its persistent
    ; flags, and the girl seems to remember.
    jbit 21 0 remembered
    jgt 20 0 felt_before
    jump decide
remembered:
    msg_wipe "{chara_change:2,4}"
             "ホタルは、ぼくを見て、少しだけ笑った。{wait_line}{nl}"
             "「……また、会えたね」{wait_line}{nl}"
             "{nl}"
             "どうしてそんなことを言うのか、{wait_line}{nl}"
             "ぼくには分からなかった。{wait_page}"
    jump decide
felt_before:
    msg_wipe "なぜだろう。{wait_line}{nl}"
             "この夜を、前にも一度すごした気がした。{wait_page}"
decide:
    msg_wipe "{chara3_together:4,3,5,2,6,1}"
             "ぼくとナツミは、顔を見合わせた。{wait_page}"
    mark 2                      ; memory: the girl at the shrine
    jne 115 1 3
    set 22 1
    ; The reader decides: the girl leads the way, or the two go on their own. Trusting
    ; her is the first half of the way to the ending with the credits.
    choice what_now with_her follow on_our_own alone
follow:
    show_composed               ; the options leave the screen
    set 1 1
    add 3 1
    msg_wipe "ホタルはうなずいた。{wait_line}そして、先に歩きだした。{wait_line}{nl}"
             "ナツミが、ぼくのそでを引っぱった。{wait_line}{nl}"
             "「だいじょうぶかな」{wait_line}{nl}"
             "「うん。なんだか、そんな気がするんだ」{wait_page}"
    jump river
alone:
    show_composed               ; the options leave the screen
    msg_wipe "ホタルは、少しさびしそうに笑った。{wait_line}{nl}"
             "「……じゃあ、川で会おうね」{wait_line}{nl}"
             "ホタルは、石の段の上に立ったまま、{wait_line}{nl}"
             "ぼくたちを見送っていた。{wait_page}"
river:
    scenario 1 L1               ; the river and the fireworks

.messages
what_now:       "どうしよう。{nl}"
with_her:       "「じゃあ、案内してくれる？」{nl}"
on_our_own:     "「ぼくたちだけで、行ってみるよ」{nl}"
