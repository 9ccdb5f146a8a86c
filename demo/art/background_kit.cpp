#include "background_kit.h"

#include <cmath>
#include <cstdio>

#include "noise.h"
#include "scene_colours.h"

namespace demo_art {

Painting NewBackground() {
  Painting painting(authoring::kScreenWidth, authoring::kScreenHeight);
  painting.AddRamp(Ramp{0, 1, 2, 3});
  painting.FillAll([](int, int) { return Tone(0); });
  return painting;
}

void Glow(Painting* painting, Point centre, double radius, double strength) {
  painting->Lighten(EllipseShape{centre, radius, radius}, [&](int x, int y) {
    const double dx = x + 0.5 - centre.x, dy = y + 0.5 - centre.y;
    const double fall = 1 - std::sqrt(dx * dx + dy * dy) / radius;
    return fall > 0 ? strength * fall * fall : 0.0;
  });
}

double Ridge(double x, double base, double amplitude, double width, std::uint32_t seed) {
  return base - amplitude * (FractalNoise(x / width, 0.5, 3, seed) * 2 - 1);
}

Artwork FinishBackground(const Painting& painting, int picture) {
  Artwork art;
  art.kind = ArtKind::kBackground;
  char name[16];
  std::snprintf(name, sizeof name, "S%02d.VGR", picture);
  art.file_name = name;
  art.image = painting.Render(0);
  art.options.order = authoring::PixelOrder::kRows;
  art.options.palette = ScenePalette16(picture);
  return art;
}

}  // namespace demo_art
