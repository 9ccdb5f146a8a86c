// The credit text of the ending sequence: 14 pages in the message text form, each a run of
// lines (each ended by 0xAF) and then one more 0xAF. Every line opens with glyph delay 0 and
// places itself; the pages are the fixed texts kCreditPage1 … kCreditPage14, composed into
// one block when the program is compiled.
#pragma once

#include <cstdint>
#include <span>

namespace scenario {

constexpr int kCreditPages = 14;

std::span<const std::uint8_t> CreditText();

}  // namespace scenario
