#include "scenario/ending_credits.h"

namespace scenario {
namespace {

// Fourteen empty pages.
constexpr std::uint8_t kEmptyPages[kCreditPages] = {0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF,
                                                    0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF};

}  // namespace

// placeholder; waits for the fixed texts built from the charset table (the credit pages)
std::span<const std::uint8_t> CreditText() { return kEmptyPages; }

}  // namespace scenario
