; 009.SCN: after the story, backstage. Reached after the credits (004) and after the quiet
; ending (005), if the reader says yes to the game's own question. Souta, Natsumi and
; Hotaru meet in the dressing room and play with what the story never needed: the script
; lines that do nothing, a fortune drawn at random, a question about the button held
; down, the lights switched off and on, the dream's monster dropping by as a stagehand,
; the curtain that comes down and goes up again, and the music stopped by hand. It ends
; the play.
;
; Flag 5: the fortune (0 … 3).

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- A question on a black stage ------------------------------------------------------
    cd_play 25                  ; the theme's last chapter under the question
    forget_bg                   ; the story's last background is no longer kept
    fill_bg 0                   ; a black stage, shown at once
    fade_in_dim 1               ; dimmed, as under all text: the question's highlighted
                                ; answer (colour 15) then stands out from the other (4)
    msg "{x:104}{y:144}このあと、おまけの楽屋話があります。{nl}"
        "{x:136}見ずに終えるなら「いいえ」を。{wait_page}"
    jyes backstage              ; the game's own question: yes opens the dressing room,
                                ; no skips it, as the page says
    fade_out 1
    end

backstage:
    ; --- The dressing room: the three of them, each coming in their own way ---------------
    cd_play 3                   ; the festival, for fun
    msg_wipe "{bg_change:3,10,255}"
             "{chara3:0,3,1,2,6,1}"
             "{colour:14}――　楽屋にて　――{colour:15}{wait_line}{nl}"
             "ナツミ「おつかれさまー！」{wait_line}{nl}"
             "ソウタ「おつかれ」{wait_line}{nl}"
             "ホタル「おつかれさまでした」{wait_page}"
    msg_wipe "ナツミ「ねえねえ、台本見た？{wait_line}{nl}"
             "　　　　ここから先、へんな命令ばっかり」{wait_line}{nl}"
             "ソウタ「へんな命令？」{wait_line}{nl}"
             "ホタル「何もしない命令が、あるの。{wait_line}見ててね」{wait_page}"
    ; The script lines that do nothing: their operands are read and nothing happens.
    skip83 1
    skip84 2
    skipa4 3
    skipa5 4
    nop
    msg_wipe "ホタル「……はい。{wait_line}{nl}"
             "　　　　いま、命令が五つ、通りすぎました」{wait_line}{nl}"
             "ソウタ「何も起きなかったけど」{wait_line}{nl}"
             "ホタル「そういう命令なの」{wait_page}"

    ; --- A fortune, drawn at random -------------------------------------------------------
    msg_wipe "ナツミ「じゃあ、おみくじ引こう、おみくじ！」{wait_line}{nl}"
             "{pcm_load:1}{pcm_play:1,0}"
             "{nl}"
             "からん、と音がした。{wait_page}"
    random 5 4
    jeq 5 0 great
    jeq 5 1 middle
    jeq 5 2 small
    msg_wipe "ナツミ「……吉。ふつうだね」{wait_line}{nl}"
             "ソウタ「ふつうが、いちばんだよ」{wait_page}"
    jump fortune_told
great:
    msg_wipe "ナツミ「大吉！　やったー！」{wait_line}{nl}"
             "ホタル「来年の夏も、いいことがありそう」{wait_page}"
    jump fortune_told
middle:
    msg_wipe "ナツミ「中吉。まあまあかな」{wait_line}{nl}"
             "ソウタ「まあまあが、いちばんむずかしいよ」{wait_page}"
    jump fortune_told
small:
    msg_wipe "ナツミ「小吉……」{wait_line}{nl}"
             "ホタル「小さくても、光ってればいいの」{wait_page}"
fortune_told:

    ; --- The button -----------------------------------------------------------------------
    msg_wipe "ソウタ「ねえ、ボタン押しっぱなしじゃない？」{wait_line}{nl}"
             "ナツミ「だれに言ってるの？」{wait_line}{nl}"
             "ソウタ「読んでる人に」{wait_page}"
    jdecide held
    msg_wipe "ソウタ「……押してないみたい。えらい」{wait_page}"
    jump lights
held:
    msg_wipe "ソウタ「あ、押してる。{wait_line}{nl}"
             "　　　　急がなくても、だいじょうぶだよ」{wait_page}"

    ; --- The lights -----------------------------------------------------------------------
lights:
    msg_wipe "ナツミ「照明さーん、一回、消してみてー」{wait_page}"
    black                       ; the lights off, at once
    wait 80
    show 0 0                    ; the text taken off in the dark
    fade_in_dim 2               ; and the lights back on, low
    msg_wipe "ナツミ「暗い暗い！」{wait_line}{nl}"
             "ホタル「わたしは、暗いほうが光れるけど」{wait_page}"
    fade_out 1
    fade_in 2                   ; full light
    dim
    msg_wipe "ソウタ「あ、明るくなった」{wait_page}"

    ; --- A visitor: the dream's monster, now a stagehand --------------------------------------
    msg_wipe "ソウタ「そういえば、夢のあれって……」{wait_line}{nl}"
             "{nl}"
             "そのとき、部屋のすみで、何かが光った。{claw1}{wait_page}"
    bg 3                        ; the room again, the three in their places,
    chara 0 3
    chara 1 2
    chara 2 1
    palette                     ; the room's colours over the black the claws left,
    show 2 0                    ; and the room dissolving in
    dim
    msg_wipe "{shadow:1}？？？「おつかれさまでーす。{wait_line}{nl}"
             "　　　　　あ、つめ、しまっときますね」{shadow:0}{wait_line}{nl}"
             "ソウタ「……スタッフさんだったんだ」{wait_line}{nl}"
             "ホタル「いい人なのよ」{wait_page}"
    msg_wipe "ナツミ「いま、ページが一回{redraw}書きなおされたの、{wait_line}{nl}"
             "　　　　見えた？」{wait_line}{nl}"
             "ソウタ「見えなかった」{wait_page}"

    ; --- Going home, one by one ------------------------------------------------------------
    ; Each leaves by the background being put back over their half of the room.
    msg_wipe "ナツミ「じゃあ、わたし先に帰るね。{wait_line}{nl}"
             "　　　　宿題、まだ終わってないんだ」{wait_page}"
    undim
    restore_bg 1                ; the left half: Natsumi goes
    show 0 1
    dim
    msg_wipe "ソウタ「ぼくも、宿題……」{wait_page}"
    undim
    restore_bg 2                ; the right half: Souta goes
    show 2 2
    dim
    msg_wipe "ホタル「……みんな、行っちゃった」{wait_page}"
    undim
    restore_bg 3                ; the middle: Hotaru too
    show 3 3
    restore_bg 0                ; the whole room, empty
    show 1 0
    dim
    msg_wipe "部屋には、だれもいない。{wait_line}{nl}"
             "まどの外で、蛍がひとつ、光った。{wait_page}"

    ; --- The curtain --------------------------------------------------------------------
    clear_scene 9               ; the curtain squeezes the room to a line,
    wait 50
    show 3 0                    ; and opens again in blinds: the room was still there
    dim
    msg_wipe "ホタル「あ、まだ終わりじゃないの？」{click}"
    jno encore                  ; the game asks once more; no is an encore
    jump curtain
encore:
    msg_wipe "{chara_change:6,4}"
             "ホタル「じゃあ、最後にひとつだけ。{wait_line}{nl}"
             "{nl}"
             "　　　　読んでくれて、ありがとう。{wait_line}{nl}"
             "　　　　来年の夏も、また会おうね」{wait_page}"
    click                       ; a last click, no cursor
curtain:
    cd_wait_end                 ; the music stops here
    clear_scene 10              ; the curtain in columns
    clear_scene 12              ; and the lights out
    end
