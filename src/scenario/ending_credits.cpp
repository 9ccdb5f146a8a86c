#include "scenario/ending_credits.h"

#include <array>
#include <cstddef>

#include "core/text_code_table.h"
#include "text/fixed_texts.h"

namespace scenario {
namespace {

struct CreditPage {
  const std::uint8_t* const* lines;
  const std::size_t* lengths;
  std::size_t count;
};

template <std::size_t N>
constexpr CreditPage Page(const std::uint8_t* const (&lines)[N], const std::size_t (&lengths)[N]) {
  return CreditPage{lines, lengths, N};
}

constexpr CreditPage kPages[kCreditPages] = {
    Page(text::kCreditPage1, text::kCreditPage1Length),
    Page(text::kCreditPage2, text::kCreditPage2Length),
    Page(text::kCreditPage3, text::kCreditPage3Length),
    Page(text::kCreditPage4, text::kCreditPage4Length),
    Page(text::kCreditPage5, text::kCreditPage5Length),
    Page(text::kCreditPage6, text::kCreditPage6Length),
    Page(text::kCreditPage7, text::kCreditPage7Length),
    Page(text::kCreditPage8, text::kCreditPage8Length),
    Page(text::kCreditPage9, text::kCreditPage9Length),
    Page(text::kCreditPage10, text::kCreditPage10Length),
    Page(text::kCreditPage11, text::kCreditPage11Length),
    Page(text::kCreditPage12, text::kCreditPage12Length),
    Page(text::kCreditPage13, text::kCreditPage13Length),
    Page(text::kCreditPage14, text::kCreditPage14Length),
};

constexpr std::size_t CreditBytes() {
  std::size_t bytes = 0;
  for (const CreditPage& page : kPages) {
    for (std::size_t i = 0; i < page.count; ++i) bytes += 2 + page.lengths[i];
    bytes += 1;
  }
  return bytes;
}

// Composed by the compiler: a fixed table like the pages it is made of.
constexpr std::array<std::uint8_t, CreditBytes()> ComposeCredits() {
  std::array<std::uint8_t, CreditBytes()> block{};
  std::size_t at = 0;
  for (const CreditPage& page : kPages) {
    for (std::size_t i = 0; i < page.count; ++i) {
      block[at++] = static_cast<std::uint8_t>(core::TextCode::Speed);
      block[at++] = 0;
      for (std::size_t k = 0; k < page.lengths[i]; ++k) block[at++] = page.lines[i][k];
    }
    block[at++] = core::kTextEnd;
  }
  return block;
}

constexpr std::array<std::uint8_t, CreditBytes()> kCredits = ComposeCredits();

}  // namespace

std::span<const std::uint8_t> CreditText() { return kCredits; }

}  // namespace scenario
