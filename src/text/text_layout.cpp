#include "text/text_layout.h"

namespace text {

bool ApplyPenCode(TextPen& pen, const core::TextItem& item) {
  using core::TextCode;
  if (item.kind != core::TextItemKind::kCode) return false;
  const std::uint8_t* operand = item.operands;
  switch (static_cast<TextCode>(item.code->number)) {
    case TextCode::NewLine: pen.NewLine(); return true;
    case TextCode::CarriageReturn: pen.ReturnToZero(); return true;
    case TextCode::Colour: pen.colour = operand[0]; return true;
    case TextCode::Shadow: pen.shadow = operand[0]; return true;
    case TextCode::SetX: pen.SetMargin(operand[0]); return true;
    case TextCode::SetY:
      pen.y = static_cast<std::uint16_t>(operand[0] | operand[1] << 8);
      return true;
    default: return false;
  }
}

}  // namespace text
