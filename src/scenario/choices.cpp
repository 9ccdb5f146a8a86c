#include "scenario/choices.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/flags.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "scenario/item_selector.h"
#include "scenario/message_text.h"
#include "scenario/script_messages.h"
#include "text/backlog.h"
#include "text/fixed_texts.h"
#include "text/text_state.h"

namespace scenario {
namespace {

constexpr std::uint16_t kQuestionX = 16;
constexpr std::uint16_t kQuestionY = 10;
constexpr std::uint16_t kQuestionGap = 12;  // between the question and the options
constexpr std::uint8_t kNoAnswer = 255;

constexpr std::uint16_t kYesNoX = 224;
constexpr std::uint16_t kYesNoY = 128;
constexpr std::uint16_t kAnswersX = 272;
constexpr std::uint16_t kAnswersGap = 8;
constexpr std::int16_t kAnswerNo = 1;

void MovePen(std::int16_t x, std::uint16_t dy) {
  text::TextPen pen = text::LoadPen(core::GameState);
  if (x >= 0) pen.x = static_cast<std::uint16_t>(x);
  pen.y = static_cast<std::uint16_t>(pen.y + dy);
  text::StorePen(core::GameState, pen);
}

// The scene without its text, on the whole screen.
void WipeText() {
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
}

}  // namespace

std::int16_t Choose(std::uint8_t question, const std::uint8_t* options, std::uint8_t count) {
  count = static_cast<std::uint8_t>(std::min<std::size_t>(count, kMaxSelectorItems));
  if (count == 0) {
    core::SetFlag(core::flag::kChosenOption, kNoAnswer);
    return kNoItem;
  }
  text::RecordMessage(question);
  const core::MemHandle messages = core::Scenario.MessageData;
  const auto* base = static_cast<const std::uint8_t*>(core::MemWire(messages));
  {
    TextPictureWire wired;
    // A scenario message: the save snapshot is taken here, so a save made during the
    // choice loads back into the question.
    ShowText(kQuestionX, kQuestionY, MessageAt(base, question), 15, 0, true, true);
  }
  core::Present(&core::Screen.UpdateRect);
  MovePen(-1, kQuestionGap);
  if (core::Scenario.ScriptStop != 0) {
    core::MemUnwire(messages);
    return kNoItem;
  }

  std::array<const std::uint8_t*, kMaxSelectorItems> items{};
  for (std::uint8_t i = 0; i < count; ++i) items[i] = MessageAt(base, options[2 * i]);
  // The return to the resume point is not offered while the reader chooses.
  const std::uint16_t resume_valid = core::Scenario.ResumeValid;
  core::Scenario.ResumeValid = 0;
  core::Input.SkipMode = 0;
  std::int16_t chosen = kNoItem;
  {
    TextPictureWire wired;
    ItemSelection selection;
    selection.items = std::span(items.data(), count);
    selection.cancel_opens_menu = true;
    chosen = SelectItem(selection);
  }
  core::SetFlag(core::flag::kChosenOption, static_cast<std::uint8_t>(chosen));
  core::Scenario.ResumeValid = resume_valid;
  core::MemUnwire(messages);
  core::Input.SkipMode = 0;

  if (core::Scenario.ScriptStop != 0 || chosen < 0) return kNoItem;
  text::RecordMessage(options[2 * chosen]);
  return chosen;
}

bool AskYesNo(const std::uint8_t* question) {
  WipeText();
  ShowText(kYesNoX, kYesNoY, question, 15, 0, false, false);
  const text::TextPen pen = text::LoadPen(core::GameState);
  ShowText(pen.x, pen.y, text::kQuestionSuffix, 15, 0, false, false);
  core::Present(&core::Screen.UpdateRect);
  MovePen(kAnswersX, kAnswersGap);

  ItemSelection selection;
  selection.items = text::kYesNoItems;
  selection.highlighted = kAnswerNo;
  selection.cancel_answers = true;
  const std::int16_t answer = SelectItem(selection);
  WipeText();
  return answer == 0;
}

bool AskScriptQuestion() { return AskYesNo(text::kScriptQuestion); }

}  // namespace scenario
