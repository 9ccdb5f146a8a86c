// The opening's pieces: its data layers (unpacked from the .SDT files into named blocks),
// the drawing of the sliding and the overlay layers, the cloud composition and the cloud
// passes. RunOpening (opening.h) plays them in order.
//
// Layers hold 8-bit pixel values with rows bottom-up, like a Picture, and are mixed into
// the shown picture by bits: bits 0–1 come from one layer (0 … 3), bits 2–3 from the other
// (0, 4, 8, 12), and bit 4 selects window palette entries 16 … 31.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"

namespace flow {

constexpr int kOpeningRows = 400;
constexpr int kSlideLayerWidth = 336;
constexpr int kOverlayLayerWidth = 448;
// The overlay moves 158 rows down over 400 shown ones: the last frame reads row 509.
constexpr int kOverlayLayerRows = 510;
constexpr int kCloudLayerWidth = 1280;

constexpr std::uint32_t kSlideLayerSize = kSlideLayerWidth * kOpeningRows;
constexpr std::uint32_t kOverlayLayerSize = kOverlayLayerWidth * kOverlayLayerRows;
constexpr std::uint32_t kCloudLayerSize = kCloudLayerWidth * kOpeningRows;

// Smooth mode (Low off and a display of 8 bits or less) draws a frame every 20 ms, else
// every 40 ms; the frame step is also how far the motion moves in a frame, so the speed
// is one pixel per 10 ms in both.
bool OpeningSmooth();
std::uint16_t OpeningFrameStep();

// Loads `file`, unpacks it into a new block `block_name` and releases the file. A block
// smaller than `min_size` is damaged data: it ends the program with "データが壊れています"
// and the file's name, as other damaged data does, rather than being read past its end.
core::MemHandle LoadOpeningLayer(const char* file, const char* block_name, std::uint32_t min_size);

// `screen` is the first pixel of a Picture's storage (its bottom row); the layers are
// blocks of the sizes above.
//
// The 336-wide sliding layer, `w` columns of it shown: side 0 at the right edge (its left
// columns), side 1 at the left edge (its right columns); the rest of every row becomes 0.
void SlideLayer(std::uint8_t* screen, const std::uint8_t* layer, int side, int w);
// ORs the 448-wide overlay into the screen from the column `screen` points at: position p
// shows layer rows p + 352 − 400 … p + 351 (storage order) ending at the screen's top row,
// so the layer moves down a row per unit of p.
void OverlayLayer(std::uint8_t* screen, const std::uint8_t* layer, int p);
// One cloud frame: every pixel of the target keeps bits 2–4 and takes bits 0–1 from the
// cloud layer's pixel at its row and column x + its column (x 0 … 640). Groups of four
// pixels that are all 16 (masked out, always black) are left alone.
void ComposeClouds(std::uint8_t* screen, const std::uint8_t* cloud, int x);

// Pass 1 or 2 of sliding and overlaid art between the cloud passes. Answers 1 when the
// reader cut it short. Either way it ends faded out on a black, cleared screen with its
// blocks released.
int OpeningPass(int pass);

// One cloud pass over "OP2_MN_W.VGR". Answers 1 when the reader cut it short. The final
// pass ends on the title instead and always answers 0.
int OpeningClouds(bool final_pass);

}  // namespace flow
