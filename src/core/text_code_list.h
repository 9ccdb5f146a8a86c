// The control codes of message text (0xB0 … 0xCD), one row each: the only place a text code
// is written. `core::TextCode` and the text code table (core/text_code_table.h) are both made
// from these rows.
//
//   HOTARU_TEXT_CODE(number, Name, mnemonic, layout, effect)
//
//   number    the code byte; one row for each byte from 0xB0 to 0xCD, in order
//   Name      its enumerator in core::TextCode
//   mnemonic  its tag in scenario sources ({mnemonic} or {mnemonic:operands})
//   layout    its operand bytes, one space-separated name each (core/text_code_table.h)
//   effect    what it does, in one line
//
// No include guard: an includer defines HOTARU_TEXT_CODE to take from each row what it needs,
// includes this file, and undefines it.
#ifndef HOTARU_TEXT_CODE
#error "define HOTARU_TEXT_CODE(number, Name, mnemonic, layout, effect) first"
#endif

// clang-format off
HOTARU_TEXT_CODE(0xB0, NewLine,                 "nl",              "",            "new line unless the last glyph wrapped: y += 30, x = left margin")
HOTARU_TEXT_CODE(0xB1, CarriageReturn,          "cr",              "",            "x = 0; unless the last glyph wrapped, y += 30")
HOTARU_TEXT_CODE(0xB2, WaitLine,                "wait_line",       "",            "reader wait with cursor 223 (skipped with Low on); menu at a scenario message")
HOTARU_TEXT_CODE(0xB3, WaitPage,                "wait_page",       "",            "reader wait with cursor 226; a scenario message's page start moves after it")
HOTARU_TEXT_CODE(0xB4, Colour,                  "colour",          "k",           "ink colour = k")
HOTARU_TEXT_CODE(0xB5, Shadow,                  "shadow",          "k",           "shadow colour = k")
HOTARU_TEXT_CODE(0xB6, Speed,                   "speed",           "n",           "glyph delay = n x 10 ms (0 none)")
HOTARU_TEXT_CODE(0xB7, Pause,                   "pause",           "n",           "Wait(n)")
HOTARU_TEXT_CODE(0xB8, HurryLock,               "hurry_lock",      "",            "presses no longer complete the text")
HOTARU_TEXT_CODE(0xB9, SetX,                    "x",               "n",           "x = left margin = n x 8")
HOTARU_TEXT_CODE(0xBA, SetY,                    "y",               "lo hi",       "y = lo + 256 x hi")
HOTARU_TEXT_CODE(0xBB, Flash,                   "flash",           "",            "white flash, then the scene dimmed")
HOTARU_TEXT_CODE(0xBC, Quake,                   "quake",           "",            "Quake")
HOTARU_TEXT_CODE(0xBD, BackgroundChange,        "bg_change",       "n e t",       "scene change to background n unless it is shown (effect e, transition t)")
HOTARU_TEXT_CODE(0xBE, BackgroundAlways,        "bg_always",       "n e t",       "scene change to background n")
HOTARU_TEXT_CODE(0xBF, EventPictureVChange,     "event_v_change",  "n e t",       "scene change to V picture n unless it is shown")
HOTARU_TEXT_CODE(0xC0, EventPictureHChange,     "event_h_change",  "n e t",       "scene change to H picture n unless it is shown")
HOTARU_TEXT_CODE(0xC1, CharacterChange,         "chara_change",    "p n",         "character n at position p mod 4 (mode p div 4) unless there, old one removed")
HOTARU_TEXT_CODE(0xC2, CharacterAdd,            "chara_add",       "p n",         "the same without removing the old character")
HOTARU_TEXT_CODE(0xC3, CharacterOnly,           "chara_only",      "p n",         "all characters removed, then character n at p, mode 1")
HOTARU_TEXT_CODE(0xC4, BackgroundAndCharacter,  "bg_chara",        "p n b e t",   "background b and character n at p together")
HOTARU_TEXT_CODE(0xC5, ThreeCharacters,         "chara3",          "p n p n p n", "three characters, each shown with its own mode")
HOTARU_TEXT_CODE(0xC6, ThreeCharactersTogether, "chara3_together", "p n p n p n", "three characters shown together once")
HOTARU_TEXT_CODE(0xC7, HurryUnlock,             "hurry_unlock",    "",            "presses complete the text again")
HOTARU_TEXT_CODE(0xC8, WaveH,                   "wave_h",          "a z",         "arm the horizontal wave scene: flags 117 = 1, 118 = a, 119 = z")
HOTARU_TEXT_CODE(0xC9, Redraw,                  "redraw",          "",            "RedrawPage up to here")
HOTARU_TEXT_CODE(0xCA, Claw1,                   "claw1",           "",            "ClawEffect1")
HOTARU_TEXT_CODE(0xCB, Blood,                   "blood",           "",            "BloodEffect")
HOTARU_TEXT_CODE(0xCC, WaveV,                   "wave_v",          "a z",         "arm the vertical wave scene: flags 120 = 1, 121 = a, 122 = z")
HOTARU_TEXT_CODE(0xCD, Claw2,                   "claw2",           "",            "ClawEffect2")
// clang-format on
