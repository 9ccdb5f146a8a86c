#include "event_kit.h"
#include "exact_math.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demo_art {

authoring::Palette16 EventPalette(const std::uint8_t (&colours)[16][3]) {
  authoring::Palette16 palette{};
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette[i] = authoring::Rgb4{colours[i][0], colours[i][1], colours[i][2]};
  }
  palette[15] = authoring::Rgb4{15, 15, 15};
  return palette;
}

void Sparkle(Painting* p, Point centre, double radius, double core, std::uint8_t glow,
             double peak) {
  p->Apply(EllipseShape{centre, radius, radius}, [&](int x, int y, Ink& ink) {
    const double d = Hypot(x + 0.5 - centre.x, y + 0.5 - centre.y);
    if (d <= core) {
      ink = Ink{glow, static_cast<float>(peak)};
      return;
    }
    const double fall = 1 - (d - core) / (radius - core);
    if (fall * fall * 1.2 > DitherThreshold(x * 3 + 1, y * 5 + 2)) {
      ink = Ink{glow, static_cast<float>(std::min(peak, 3.0) * fall)};
    }
  });
}

Artwork FinishEventPicture(const Painting& painting, char kind, int number,
                           const authoring::Palette16& palette) {
  Artwork art;
  art.kind = ArtKind::kEventPicture;
  char name[16];
  std::snprintf(name, sizeof name, "%c%02d.VGR", kind, number);
  art.file_name = name;
  art.image = painting.Render(0);
  art.options.order = authoring::PixelOrder::kRows;
  art.options.palette = palette;
  return art;
}

}  // namespace demo_art
