#include "scenario/choices.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/flags.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
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
  text::TextPen pen = LoadPen(GameState);
  if (x >= 0) pen.x = static_cast<std::uint16_t>(x);
  pen.y = static_cast<std::uint16_t>(pen.y + dy);
  StorePen(GameState, pen);
}

// The scene without its text, on the whole screen.
void WipeText() {
  visuals::CopyPicture(visuals::VmemDIB, visuals::VbufDIB);
  shell::Present(nullptr);
}

}  // namespace

std::int16_t Choose(std::uint8_t question, const std::uint8_t* options, std::uint8_t count) {
  count = static_cast<std::uint8_t>(std::min<std::size_t>(count, kMaxSelectorItems));
  if (count == 0) {
    SetFlag(flag::kChosenOption, kNoAnswer);
    return kNoItem;
  }
  text::RecordMessage(question);
  const resources::MemHandle messages = MessageData;
  const auto* base = static_cast<const std::uint8_t*>(resources::MemWire(messages));
  {
    TextPictureWire wired;
    // A scenario message: the save snapshot is taken here, so a save made during the
    // choice loads back into the question.
    ShowText(kQuestionX, kQuestionY, MessageAt(base, question), 15, 0, true, true);
  }
  shell::Present(&visuals::UpdateRect);
  MovePen(-1, kQuestionGap);
  if (ScriptStop != 0) {
    resources::MemUnwire(messages);
    return kNoItem;
  }

  std::array<const std::uint8_t*, kMaxSelectorItems> items{};
  for (std::uint8_t i = 0; i < count; ++i) items[i] = MessageAt(base, options[2 * i]);
  // The return to the resume point is not offered while the reader chooses.
  const std::uint16_t resume_valid = ResumeValid;
  ResumeValid = 0;
  shell::SkipMode = 0;
  std::int16_t chosen = kNoItem;
  {
    TextPictureWire wired;
    ItemSelection selection;
    selection.items = std::span(items.data(), count);
    selection.cancel_opens_menu = true;
    chosen = SelectItem(selection);
  }
  SetFlag(flag::kChosenOption, static_cast<std::uint8_t>(chosen));
  ResumeValid = resume_valid;
  resources::MemUnwire(messages);
  shell::SkipMode = 0;

  if (ScriptStop != 0 || chosen < 0) return kNoItem;
  text::RecordMessage(options[2 * chosen]);
  return chosen;
}

bool AskYesNo(const std::uint8_t* question) {
  WipeText();
  ShowText(kYesNoX, kYesNoY, question, 15, 0, false, false);
  const text::TextPen pen = LoadPen(GameState);
  ShowText(pen.x, pen.y, text::kQuestionSuffix, 15, 0, false, false);
  shell::Present(&visuals::UpdateRect);
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
