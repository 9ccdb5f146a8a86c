; 005.SCN: the quiet ending. Souta made one of the two choices that reach Hotaru, not
; both: in the evening he goes down to the river, the sun sets over the water (the
; cross-fade of two colourings of the same picture) and only her voice comes, and a
; single firefly. The play is written into the save slot as finished; the story ends with
; its last line, without the credits, and the backstage chat of 009 follows.
;
; Mark 21 (see 000 for the flags and marks of the story).

.event
L0:                             ; entered: nothing to prepare
    end

L1:
    ; --- The river at dusk ----------------------------------------------------------------
    cd_fade_out
    clear_scene 14              ; the road scrolls away upwards
    bg 152                      ; the riverside at dusk
    transition 14               ; and the river slides up from below
    dim
    pcm_load 4                  ; the wind
    pcm_play 0 0
    msg_wipe "夕方、ぼくはひとりで川へおりていった。{wait_line}{nl}"
             "{nl}"
             "ゆうべ、蛍がたくさん飛んでいた場所だ。{wait_line}{nl}"
             "いまは、水の音しかしない。{wait_page}"
    msg_wipe "ぼくは、川原の石にこしかけて、{wait_line}{nl}"
             "日がしずむのを待った。{wait_page}"
    ; The sun goes down: the dusk colours cross-fade into the night's (one picture, two
    ; colourings, nothing else on the screen).
    bg 102
    transition 18
    dim
    cd_play 2
    msg_wipe "あたりが暗くなると、{wait_line}{nl}"
             "草の中で、小さな光がひとつ、ともった。{wait_line}{nl}"
             "{nl}"
             "たった、ひとつだけ。{wait_page}"
    pcm_stop                    ; the wind drops all at once
    pcm_load 6                  ; and from somewhere, her song, once
    pcm_play 1 0
    msg_wipe "{colour:14}「……ソウタ」{colour:15}{wait_line}{nl}"
             "{nl}"
             "声が、聞こえた気がした。{wait_line}{nl}"
             "{colour:14}「来てくれて、ありがとう。{wait_line}{nl}"
             "　でも、もう、すがたは見せられないの」{colour:15}{wait_page}"
    pcm_finish                  ; the song to its end
    msg_wipe "「ホタル？」{wait_line}{nl}"
             "{nl}"
             "光は、ぼくの指先にとまって、{wait_line}{nl}"
             "ゆっくりと、二回、光った。{wait_line}{nl}"
             "それから、川の上へ飛んでいった。{wait_page}"
    mark 21
    jne 115 1 3
    set 22 1
    ; The last scene: the field at night, the diamonds opening left to right.
    clear_scene 4
    bg 101
    transition 4
    dim
    msg_wipe "来年の夏も、ここに来よう。{wait_line}{nl}"
             "{nl}"
             "あの光が、また見られるかどうかは{wait_line}{nl}"
             "わからないけれど。{wait_page}"

    ; The play is finished: counted in the persistent flags and written into the slot.
    seen 5
    add 20 1
    jbit 21 1 counted
    add 21 2                    ; bit 1: the quiet ending reached
counted:
    set 114 1
    progress
    cd_mark_fade
    msg_wipe "{x:240}{y:180}――　おわり　――{wait_page}"
    cd_fade_out
    fade_out_dim 2
    pcm_unload
    scenario 9 L1               ; the backstage chat
