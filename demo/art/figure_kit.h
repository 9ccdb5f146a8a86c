// What the character pictures are painted with: the ramps over the scene's shared colours
// 4–14 (the same in every scene, so a figure looks right over any background), and the
// parts every figure has.
//
// Base palette 1 (most scenes), the colours by number: 4 white, 5 near-black navy, 6 slate
// blue, 7 pale blue, 8 pale yellow, 9 red, 10 dark brown, 11 brown, 12 tan, 13 skin,
// 14 light skin. Base palette 2 (the night colouring) turns them bluish and lilac.
#pragma once

#include <cstdint>

#include "artwork.h"
#include "painting.h"

namespace demo_art {

// The figure's picture: this size, placed at this corner. Drawn into slot 0 (add 0), the
// centre slot (add 160) or the right slot (add 320), the three stand side by side, each
// inside the half of the screen that clearing its slot restores.
inline constexpr int kFigureWidth = 160;
inline constexpr int kFigureHeight = 340;
inline constexpr int kFigureX = 80;
inline constexpr int kFigureY = authoring::kScreenHeight - kFigureHeight;
inline constexpr double kFigureAxis = kFigureWidth / 2.0;  // the figure's centre line

// Ramp numbers, registered in this order by NewFigure.
enum FigureRamp : std::uint8_t {
  kLine = 1,  // 5: outlines, pupils
  kSkin,      // 12, 13, 14
  kNavy,      // 5, 6, 7, 4: dark hair, indigo cloth, eyes
  kBrown,     // 10, 11, 12: brown hair
  kWhite,     // 7, 4: white cloth shaded pale blue
  kRed,       // 10, 9: red cloth, lips
  kYellow,    // 12, 8: yellow cloth, cords
  kBlush,     // 13, 9: skin with a few red dots
};

inline Ink Paint(FigureRamp ramp, double tone) { return Ink{ramp, static_cast<float>(tone)}; }
inline constexpr Ink kOutline{kLine, 0};

Painting NewFigure();

enum class Expression { kCalm, kSmile };

// The face: cheeks narrowing to the chin, shaded away from the light (upper left), with
// ears unless the hair hides them; `top` is the y of the brow line's middle, `chin` of the
// chin.
void PaintFace(Painting* p, double top, double chin, double half_width, bool ears);
// Eyes (iris in `iris` ramp), brows, nose, mouth and blush, for a face whose eye line is
// at `eye_y`, eyes `spread` from the centre line. Brows with a positive slant come down
// towards the nose (a determined look), with a negative one they go up (a gentle one).
void PaintFeatures(Painting* p, double eye_y, double spread, Expression expression, FigureRamp iris,
                   bool large_eyes, double brow_slant, bool blush);

// The finished picture file's content: character picture `number` (C%02x.VGR), silhouette
// outlined, the rest transparent.
Artwork FinishFigure(Painting painting, int number);

}  // namespace demo_art
