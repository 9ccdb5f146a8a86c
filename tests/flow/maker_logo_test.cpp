// The logo's colour steps: a colour starting from white passes through its five tints in
// steps of 16 and stays at the last.
#include <gtest/gtest.h>

#include "flow/maker_logo.h"

namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

Rgb Of(const PALETTEENTRY& e) { return {e.peRed, e.peGreen, e.peBlue}; }

TEST(MakerLogoTest, ColourStepsWalkTheFiveTintsFromWhite) {
  PALETTEENTRY entry{12, 34, 56, 0};
  flow::LogoColourStep(&entry, -1);
  EXPECT_EQ(Of(entry), (Rgb{255, 255, 255}));
  // After steps 0 … 5q + 4 the colour has taken tint q in full.
  const Rgb tints[5] = {
      {255, 255, 175}, {175, 255, 255}, {255, 175, 255}, {255, 175, 175}, {175, 175, 255}};
  for (std::int16_t k = 0; k < 25; ++k) {
    flow::LogoColourStep(&entry, k);
    if (k % 5 == 4) {
      EXPECT_EQ(Of(entry), tints[k / 5]) << "after step " << k;
    }
  }
  for (std::int16_t k : {25, 26, 100, 32767}) {
    flow::LogoColourStep(&entry, k);
    EXPECT_EQ(Of(entry), tints[4]) << "step " << k << " changes nothing";
  }
}

}  // namespace
