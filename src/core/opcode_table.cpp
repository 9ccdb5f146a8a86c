#include "core/opcode_table.h"

#include <algorithm>
#include <array>

namespace core {
namespace {

using F = OpcodeForm;

// clang-format off
constexpr OpcodeInfo kOpcodes[] = {
  // number  mnemonic          form             layout  text   effect
  {0x20, "end",              F::kFixed,        "",     false, "stop this level; ScriptStop = 1"},
  {0x21, "sub",              F::kSubOperation, "omae", false, "o 0: ScriptStop = 1; o 1/2: record m, WaveTextScene(m, start a, end e) horizontal/vertical; then stop this level if ScriptStop"},
  {0x22, "call",             F::kFixed,        "L",    false, "run label L as a nested level, then go on after this instruction"},
  {0x23, "wait",             F::kFixed,        "n",    false, "Wait(n): n x 10 ms, cut short in SkipMode"},
  {0x24, "scenario",         F::kFixed,        "sL",   false, "EnterScenario(s, run), then continue at label L of the loaded scenario"},
  {0x25, "choice",           F::kChoice,       "qcmd", false, "present UpdateRect; choice on question q among c options m, jump by the chosen d; stop this level if ScriptStop"},
  {0x26, "click",            F::kFixed,        "",     true,  "WaitClick"},
  {0x27, "set_resume",       F::kFixed,        "",     false, "EventPC = next instruction; SetResumePoint"},
  {0x28, "resume",           F::kFixed,        "",     false, "RestoreState with effect; ScriptStop = 2; stop this level"},
  {0x30, "bg",               F::kFixed,        "n",    true,  "ShowBackground(n)"},
  {0x31, "restore_bg",       F::kFixed,        "n",    true,  "RestoreBackground(n): 0 whole, 1 left, 2 right, 3 centre"},
  {0x32, "forget_bg",        F::kFixed,        "",     true,  "ForgetBackground"},
  {0x33, "fill_bg",          F::kFixed,        "k",    true,  "FillBackground(k), then ShowComposed"},
  {0x34, "clear_scene",      F::kFixed,        "n",    true,  "ClearScene(n)"},
  {0x35, "event_h",          F::kFixed,        "n",    true,  "ShowEventPictureH(n)"},
  {0x36, "event_v",          F::kFixed,        "n",    true,  "ShowEventPictureV(n)"},
  {0x37, "chara",            F::kFixed,        "pn",   true,  "ShowCharacter(slot p, picture n)"},
  {0x38, "show",             F::kFixed,        "kn",   true,  "show style k (0 plain, 1 interlaced, 2 dither, 3 blinds) of the whole screen (n 0) or area n - 1; k > 3 nothing"},
  {0x39, "transition",       F::kFixed,        "n",    true,  "Transition(n)"},
  {0x3A, "colour_fade",      F::kFixed,        "t",    true,  "ApplyColourEffect(t, fade)"},
  {0x3B, "colour_pending",   F::kFixed,        "t",    true,  "flag 102 = t: the next background or event picture applies it"},
  {0x3C, "colour_set",       F::kFixed,        "t",    true,  "ApplyColourEffect(t, no fade)"},
  {0x40, "jump",             F::kFixed,        "d",    false, "jump by d"},
  {0x41, "jeq",              F::kFixed,        "fvd",  false, "jump by d if flag f = v"},
  {0x42, "jne",              F::kFixed,        "fvd",  false, "jump by d if flag f != v"},
  {0x43, "jgt",              F::kFixed,        "fvd",  false, "jump by d if flag f > v (unsigned)"},
  {0x44, "jlt",              F::kFixed,        "fvd",  false, "jump by d if flag f < v"},
  {0x45, "jge",              F::kFixed,        "fvd",  false, "jump by d if flag f >= v"},
  {0x46, "jle",              F::kFixed,        "fvd",  false, "jump by d if flag f <= v"},
  {0x47, "jyes",             F::kFixed,        "d",    false, "ask the script's yes/no question; jump by d on yes"},
  {0x48, "jno",              F::kFixed,        "d",    false, "ask the script's yes/no question; jump by d on no"},
  {0x49, "jbit",             F::kFixed,        "fbd",  false, "jump by d if bit b of flag f is set"},
  {0x4A, "jdecide",          F::kFixed,        "d",    false, "jump by d if the decide bit of InputEvents is set (left set)"},
  {0x4B, "set",              F::kFixed,        "fv",   true,  "flag f = v"},
  {0x4C, "add",              F::kFixed,        "fv",   true,  "flag f = flag f + v, modulo 256"},
  {0x50, "msg",              F::kFixed,        "m",    false, "show message m; stop this level if ScriptStop"},
  {0x51, "msg_wipe",         F::kFixed,        "m",    false, "show message m; stop this level if ScriptStop, else ShowComposed"},
  {0x52, "show_composed",    F::kFixed,        "",     false, "ShowComposed"},
  {0x60, "palette",          F::kFixed,        "",     true,  "ApplyScreenPalette"},
  {0x61, "black",            F::kFixed,        "",     true,  "ApplyBlack"},
  {0x62, "fade_out",         F::kFixed,        "n",    true,  "FadeOut(n)"},
  {0x63, "fade_in",          F::kFixed,        "n",    true,  "FadeIn(n)"},
  {0x64, "save_palette",     F::kFixed,        "",     true,  "SavePalette"},
  {0x65, "restore_palette",  F::kFixed,        "",     true,  "RestorePalette"},
  {0x66, "white",            F::kFixed,        "",     true,  "ScreenPalette 0-15 white, ApplyScreenPalette, PaletteState = 2"},
  {0x67, "fade_to_white",    F::kFixed,        "n",    true,  "FadeToWhite(n)"},
  {0x68, "fade_from_white",  F::kFixed,        "n",    true,  "FadeFromWhite(n)"},
  {0x69, "undim",            F::kFixed,        "",     true,  "Undim"},
  {0x6A, "dim",              F::kFixed,        "",     true,  "Dim"},
  {0x6B, "fade_in_dim",      F::kFixed,        "n",    true,  "FadeInDim(n)"},
  {0x6C, "fade_out_dim",     F::kFixed,        "n",    true,  "FadeOutDim(n)"},
  {0x80, "cd_play",          F::kFixed,        "t",    true,  "CdPlay(t)"},
  {0x81, "cd_mark_fade",     F::kFixed,        "",     true,  "CdMarkFade: fade the music out at the next scene change"},
  {0x82, "cd_stop",          F::kFixed,        "",     true,  "CdStop"},
  {0x83, "skip83",           F::kFixed,        "n",    true,  "nothing (operand skipped)"},
  {0x84, "skip84",           F::kFixed,        "n",    true,  "nothing (operand skipped)"},
  {0x85, "cd_fade_out",      F::kFixed,        "",     true,  "CdFadeOut"},
  {0x86, "cd_wait_end",      F::kFixed,        "",     true,  "CdWaitEnd"},
  {0x87, "cd_queue",         F::kFixed,        "t",    true,  "flag 100 = t: music for the next scene change"},
  {0x90, "seen",             F::kFixed,        "s",    false, "mark scenario s seen (s < 240)"},
  {0x91, "nop",              F::kFixed,        "",     false, "nothing"},
  {0x92, "quake",            F::kFixed,        "",     false, "Quake"},
  {0x93, "random",           F::kFixed,        "fn",   false, "flag f = Random(2) x n div 256 (0 ... n - 1)"},
  {0x94, "progress",         F::kFixed,        "",     false, "WriteProgress into the last used slot"},
  {0x95, "ending",           F::kFixed,        "t",    false, "ResumeValid = 0; the ending sequence with music t"},
  {0x96, "mark",             F::kFixed,        "n",    false, "set mark n (n < 80); flag 115 = 1 if the marks went from 16 to 17, else 0"},
  {0x97, "claw1",            F::kFixed,        "",     false, "ClawEffect1"},
  {0x98, "blood",            F::kFixed,        "",     false, "BloodEffect"},
  {0x99, "claw2",            F::kFixed,        "",     false, "ClawEffect2"},
  {0xA0, "pcm_load",         F::kFixed,        "n",    true,  "PcmLoad(n)"},
  {0xA1, "pcm_unload",       F::kFixed,        "",     true,  "PcmUnload"},
  {0xA2, "pcm_play",         F::kFixed,        "rv",   true,  "PcmPlay(loops r, 0 endless; parameter v x 20)"},
  {0xA3, "pcm_stop",         F::kFixed,        "",     true,  "PcmStop"},
  {0xA4, "skipa4",           F::kFixed,        "n",    true,  "nothing (operand skipped)"},
  {0xA5, "skipa5",           F::kFixed,        "n",    true,  "nothing (operand skipped)"},
  {0xA6, "pcm_finish",       F::kFixed,        "",     true,  "PcmFinish: fade out an endless sound or wait for a counted one"},
};
// clang-format on

constexpr OperandKind KindOf(char letter) {
  switch (letter) {
    case 'f': return OperandKind::kFlag;
    case 'v': return OperandKind::kValue;
    case 'b': return OperandKind::kBit;
    case 'd': return OperandKind::kDisplacement;
    case 'L': return OperandKind::kLabel;
    case 's': return OperandKind::kScenario;
    case 'm':
    case 'q': return OperandKind::kMessage;
    case 'o': return OperandKind::kSelector;
    case 'c': return OperandKind::kCount;
    default: return OperandKind::kNumber;
  }
}

// Row index by opcode, -1 for none; built once at compile time.
constexpr std::array<std::int16_t, 256> kRowOf = [] {
  std::array<std::int16_t, 256> rows{};
  rows.fill(-1);
  for (std::size_t i = 0; i < std::size(kOpcodes); ++i) {
    rows[kOpcodes[i].number] = static_cast<std::int16_t>(i);
  }
  return rows;
}();

constexpr bool RowsAscendAndFit() {
  for (std::size_t i = 0; i < std::size(kOpcodes); ++i) {
    if (i > 0 && kOpcodes[i].number <= kOpcodes[i - 1].number) return false;
    if (kOpcodes[i].layout.size() > 4) return false;
  }
  return true;
}
static_assert(RowsAscendAndFit(), "opcode rows must ascend and carry at most four letters");

// Each enumerator of Op with the mnemonic of its row. The switch names every enumerator
// (-Wswitch refuses one left out), and the check below holds each byte's enumerator and row
// to the same mnemonic: no enumerator without its row, no row without its enumerator.
constexpr std::string_view MnemonicOf(Op op) {
  switch (op) {
    case Op::End: return "end";
    case Op::SubOperation: return "sub";
    case Op::Call: return "call";
    case Op::Wait: return "wait";
    case Op::EnterScenario: return "scenario";
    case Op::Choice: return "choice";
    case Op::WaitClick: return "click";
    case Op::SetResumePoint: return "set_resume";
    case Op::Resume: return "resume";
    case Op::ShowBackground: return "bg";
    case Op::RestoreBackground: return "restore_bg";
    case Op::ForgetBackground: return "forget_bg";
    case Op::FillBackground: return "fill_bg";
    case Op::ClearScene: return "clear_scene";
    case Op::ShowEventPictureH: return "event_h";
    case Op::ShowEventPictureV: return "event_v";
    case Op::ShowCharacter: return "chara";
    case Op::ShowInStyle: return "show";
    case Op::Transition: return "transition";
    case Op::ColourFade: return "colour_fade";
    case Op::ColourPending: return "colour_pending";
    case Op::ColourSet: return "colour_set";
    case Op::Jump: return "jump";
    case Op::JumpIfEqual: return "jeq";
    case Op::JumpIfNotEqual: return "jne";
    case Op::JumpIfGreater: return "jgt";
    case Op::JumpIfLess: return "jlt";
    case Op::JumpIfGreaterOrEqual: return "jge";
    case Op::JumpIfLessOrEqual: return "jle";
    case Op::JumpIfYes: return "jyes";
    case Op::JumpIfNo: return "jno";
    case Op::JumpIfBit: return "jbit";
    case Op::JumpIfDecide: return "jdecide";
    case Op::SetFlag: return "set";
    case Op::AddToFlag: return "add";
    case Op::Message: return "msg";
    case Op::MessageThenShow: return "msg_wipe";
    case Op::ShowComposed: return "show_composed";
    case Op::ApplyPalette: return "palette";
    case Op::Black: return "black";
    case Op::FadeOut: return "fade_out";
    case Op::FadeIn: return "fade_in";
    case Op::SavePalette: return "save_palette";
    case Op::RestorePalette: return "restore_palette";
    case Op::White: return "white";
    case Op::FadeToWhite: return "fade_to_white";
    case Op::FadeFromWhite: return "fade_from_white";
    case Op::Undim: return "undim";
    case Op::Dim: return "dim";
    case Op::FadeInDim: return "fade_in_dim";
    case Op::FadeOutDim: return "fade_out_dim";
    case Op::CdPlay: return "cd_play";
    case Op::CdMarkFade: return "cd_mark_fade";
    case Op::CdStop: return "cd_stop";
    case Op::Skip83: return "skip83";
    case Op::Skip84: return "skip84";
    case Op::CdFadeOut: return "cd_fade_out";
    case Op::CdWaitEnd: return "cd_wait_end";
    case Op::CdQueue: return "cd_queue";
    case Op::MarkSeen: return "seen";
    case Op::Nop: return "nop";
    case Op::Quake: return "quake";
    case Op::Random: return "random";
    case Op::WriteProgress: return "progress";
    case Op::Ending: return "ending";
    case Op::SetMark: return "mark";
    case Op::Claw1: return "claw1";
    case Op::Blood: return "blood";
    case Op::Claw2: return "claw2";
    case Op::PcmLoad: return "pcm_load";
    case Op::PcmUnload: return "pcm_unload";
    case Op::PcmPlay: return "pcm_play";
    case Op::PcmStop: return "pcm_stop";
    case Op::SkipA4: return "skipa4";
    case Op::SkipA5: return "skipa5";
    case Op::PcmFinish: return "pcm_finish";
  }
  return {};
}

constexpr bool EveryRowHasItsOp() {
  for (std::size_t number = 0; number < kRowOf.size(); ++number) {
    const std::int16_t row = kRowOf[number];
    const std::string_view mnemonic = row < 0 ? std::string_view() : kOpcodes[row].mnemonic;
    if (MnemonicOf(static_cast<Op>(number)) != mnemonic) return false;
  }
  return true;
}
static_assert(EveryRowHasItsOp(), "Op and the opcode rows must name the same opcodes");

}  // namespace

std::span<const OpcodeInfo> OpcodeTable() { return kOpcodes; }

const OpcodeInfo* FindOpcode(std::uint8_t number) {
  const std::int16_t row = kRowOf[number];
  return row < 0 ? nullptr : &kOpcodes[row];
}

const OpcodeInfo* FindOpcode(std::string_view mnemonic) {
  auto it = std::find_if(std::begin(kOpcodes), std::end(kOpcodes),
                         [&](const OpcodeInfo& row) { return row.mnemonic == mnemonic; });
  return it == std::end(kOpcodes) ? nullptr : &*it;
}

OperandKind OperandLetterKind(char letter) { return KindOf(letter); }

bool DecodeInstruction(const std::uint8_t* block, std::size_t size, std::size_t pos,
                       Instruction* out) {
  if (pos >= size) return false;
  const std::size_t available = size - pos - 1;  // operand bytes inside the block
  const std::uint8_t* operands = block + pos + 1;
  out->opcode = block[pos];
  out->info = FindOpcode(out->opcode);
  out->operand_count = 0;
  out->length = 1;
  if (out->info == nullptr) return true;

  const std::string_view layout = out->info->layout;
  std::size_t count = 0;
  switch (out->info->form) {
    case OpcodeForm::kFixed: count = layout.size(); break;
    case OpcodeForm::kSubOperation:
      if (available < 1) return false;
      count = operands[0] == 1 || operands[0] == 2 ? 4 : 1;
      break;
    case OpcodeForm::kChoice:
      if (available < 2) return false;
      count = 2 + 2 * std::min<std::size_t>(operands[1], kMaxChoiceOptions);
      break;
  }
  if (count > available) return false;
  for (std::size_t i = 0; i < count; ++i) {
    out->operands[i] = operands[i];
    // The choice's pairs repeat the layout's last two letters.
    const std::size_t letter = i < layout.size() ? i : 2 + (i - 2) % 2;
    out->kinds[i] = KindOf(layout[letter]);
  }
  out->operand_count = static_cast<std::uint8_t>(count);
  out->length = static_cast<std::uint32_t>(1 + count);
  return true;
}

std::string FormatOperands(const Instruction& instruction) {
  std::string text;
  for (std::size_t i = 0; i < instruction.operand_count; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(instruction.Value(i));
  }
  return text;
}

bool EndsFlow(const Instruction& instruction) {
  switch (static_cast<Op>(instruction.opcode)) {
    case Op::End:
    case Op::EnterScenario:
    case Op::Resume:
    case Op::Jump: return true;
    case Op::SubOperation: return instruction.operand_count > 0 && instruction.operands[0] == 0;
    case Op::Choice: return instruction.operand_count > 2;
    default: return false;
  }
}

}  // namespace core
