#include "flow/pen.h"
#include "flow/title_items.h"
#include "scenario/item_selector.h"
#include "text/fixed_texts.h"

namespace flow {

std::int16_t TitleMenu(std::int16_t highlighted) {
  SetPen(240, 248);
  scenario::ItemSelection selection;
  selection.items = text::kTitleItems;
  selection.highlighted = highlighted;
  // Cancel does not answer here: the selector waits on for a choice.
  return scenario::SelectItem(selection);
}

}  // namespace flow
