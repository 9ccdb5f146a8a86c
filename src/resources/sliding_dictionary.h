// The sliding-dictionary decoder shared by the block unpacker and the picture decoder.
//
// Both streams describe their output against a 4096-byte ring that starts all zero with
// its write position at 4078: a reference names a ring position P and a length of 3 to 18,
// and copies byte by byte, so a copy may repeat what it is producing. Here the output
// itself is the dictionary: ring position P, seen from output index o, holds the byte
// written d = (o + 4078 − P) mod 4096 bytes back (4096 when that is 0), or a zero of the
// untouched ring when that lies before the start of the output. The output is the same as
// the ring's, byte for byte, and whole references are copied in wide moves.
//
// The two formats differ only in the sense of the flag bits and in how literal bytes and
// reference words are stored; a Format supplies those three mappings.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace resources::dictionary {

constexpr std::size_t kRingSize = 4096;
constexpr std::size_t kRingStart = 4078;
constexpr std::size_t kMaxReference = 18;
// What one group (a flag byte and 8 items) can at most consume and produce; the fast loop
// runs while this much input remains and room for it plus the widest over-copy is left (the
// last item starts at most 7 × 18 bytes in, and its widest move ends 16 bytes later).
constexpr std::size_t kGroupInput = 1 + 8 * 2;
constexpr std::size_t kGroupRoom = 8 * kMaxReference + 8;

// Distance back from output index `o` to ring position `position`: 1 to 4096.
inline std::size_t Distance(std::size_t o, unsigned position) {
  const std::size_t d = (o + kRingStart - position) & (kRingSize - 1);
  return d == 0 ? kRingSize : d;
}

// Exact copy of `length` bytes from `distance` back, one at a time, reading the ring's
// zeros before the start of the output.
inline void CopyExact(std::uint8_t* out, std::size_t o, std::size_t distance, std::size_t length) {
  for (std::size_t k = 0; k < length; ++k, ++o) {
    out[o] = o >= distance ? out[o - distance] : 0;
  }
}

// Copies a reference whose source lies wholly in the output; may write up to 13 bytes past
// its length (the caller guarantees the room and overwrites them later).
inline void CopyWide(std::uint8_t* out, std::size_t o, std::size_t distance, std::size_t length) {
  std::uint8_t* dst = out + o;
  const std::uint8_t* src = dst - distance;
  if (distance >= 16) {
    // One move for every length up to 16 and a 2-byte tail above: no loop whose trip count
    // varies with the length, which text makes unpredictable.
    std::memcpy(dst, src, 16);
    if (length > 16) std::memcpy(dst + 16, src + 16, 2);
  } else if (distance >= 8) {
    // Eight bytes at a time never read what the same move writes.
    for (std::size_t k = 0; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
  } else if (distance == 1) {
    std::memset(dst, src[0], length);
  } else {
    for (std::size_t k = 0; k < length; ++k) dst[k] = src[k];
  }
}

// Unpacks `stream` into out[0, out_size): stops when out_size bytes are produced (even in
// the middle of a copy) or when the stream ends; an item that the stream holds only part
// of is not used. Returns the number of bytes produced; the rest of `out` is set to 0.
//
// Format provides:
//   static unsigned LiteralFlags(std::uint8_t flag)  — the flag byte with 1 = literal
//   static std::uint8_t Literal(std::uint8_t stored)  — the output byte of a literal
//   static unsigned Reference(unsigned stored_word)   — the word holding P and length − 3
template <class Format>
std::size_t Unpack(const std::uint8_t* in, std::size_t in_size, std::uint8_t* out,
                   std::size_t out_size) {
  const std::uint8_t* const in_end = in + in_size;
  std::size_t o = 0;

  // Whole groups with no bounds to check item by item.
  while (static_cast<std::size_t>(in_end - in) >= kGroupInput && out_size - o >= kGroupRoom) {
    unsigned flags = Format::LiteralFlags(*in++);
    if (flags == 0xFF) {  // eight literals, common in text: one unrolled move
      for (int k = 0; k < 8; ++k) out[o + k] = Format::Literal(in[k]);
      in += 8;
      o += 8;
      continue;
    }
    // Text mixes literals and references without a pattern a branch predictor could learn:
    // both go through the same 16-byte move, a literal's from a one-byte staging buffer,
    // and only near references (or those reaching before the output) take another path.
    std::uint8_t staged[16] = {};
    for (int item = 0; item < 8; ++item, flags <<= 1) {
      const bool literal = (flags & 0x80) != 0;
      staged[0] = Format::Literal(in[0]);
      const unsigned word = Format::Reference(in[0] | (unsigned{in[1]} << 8));
      const std::size_t distance = Distance(o, (word >> 4) & 0xFFF);
      const std::size_t length = literal ? 1 : (word & 15) + 3;
      in += literal ? 1 : 2;
      if (!literal && (distance < 16 || distance > o)) {
        if (distance <= o) {
          CopyWide(out, o, distance, length);
        } else {
          CopyExact(out, o, distance, length);
        }
      } else {
        const std::uint8_t* src = literal ? staged : out + (o - (literal ? 0 : distance));
        std::memcpy(out + o, src, 16);
        if (length > 16) std::memcpy(out + o + 16, src + 16, 2);
      }
      o += length;
    }
  }

  // The end of the input or of the output: every item checked.
  while (o < out_size && in != in_end) {
    unsigned flags = Format::LiteralFlags(*in++);
    for (int item = 0; item < 8 && o < out_size; ++item, flags <<= 1) {
      if (flags & 0x80) {
        if (in == in_end) goto done;
        out[o++] = Format::Literal(*in++);
        continue;
      }
      if (in_end - in < 2) goto done;
      const unsigned word = Format::Reference(in[0] | (unsigned{in[1]} << 8));
      in += 2;
      std::size_t length = (word & 15) + 3;
      if (length > out_size - o) length = out_size - o;
      CopyExact(out, o, Distance(o, (word >> 4) & 0xFFF), length);
      o += length;
    }
  }
done:
  if (o < out_size) std::memset(out + o, 0, out_size - o);
  return o;
}

// The same stream unpacked through a window instead of into a whole output: the window
// holds the last kRingSize bytes (at first the untouched ring's zeros, so every reference
// reads the window) and then room for `chunk` new bytes. Each time the room is used up,
// and at the end, `sink(bytes, first, count)` is given the new bytes, `first` being the
// output index of bytes[0]; then the last kRingSize bytes slide to the front. `window`
// holds WindowSize(chunk) bytes. Stops as Unpack does; returns the bytes produced.
constexpr std::size_t WindowSize(std::size_t chunk) { return kRingSize + chunk + kGroupRoom; }

template <class Format, class Sink>
std::size_t UnpackThroughWindow(const std::uint8_t* in, std::size_t in_size, std::size_t out_size,
                                std::uint8_t* window, std::size_t chunk, Sink&& sink) {
  const std::uint8_t* const in_end = in + in_size;
  const std::size_t full = kRingSize + chunk;
  std::memset(window, 0, kRingSize);
  std::size_t o = kRingSize;  // where the next byte goes in the window
  std::size_t shift = 0;      // output index of window[kRingSize]
  // Window index at which the output is complete.
  auto end_at = [&] { return kRingSize + (out_size - shift); };
  auto flush = [&] {
    if (o > kRingSize) sink(window + kRingSize, shift, o - kRingSize);
    std::memmove(window, window + o - kRingSize, kRingSize);
    shift += o - kRingSize;
    o = kRingSize;
  };

  for (;;) {
    // Whole groups while the window has room and the output is far from complete.
    while (static_cast<std::size_t>(in_end - in) >= kGroupInput && o < full &&
           end_at() - o >= kGroupRoom) {
      unsigned flags = Format::LiteralFlags(*in++);
      if (flags == 0xFF) {
        for (int k = 0; k < 8; ++k) window[o + k] = Format::Literal(in[k]);
        in += 8;
        o += 8;
        continue;
      }
      for (int item = 0; item < 8; ++item, flags <<= 1) {
        if (flags & 0x80) {
          window[o++] = Format::Literal(*in++);
          continue;
        }
        const unsigned word = Format::Reference(in[0] | (unsigned{in[1]} << 8));
        in += 2;
        const std::size_t length = (word & 15) + 3;
        CopyWide(window, o, Distance(o - kRingSize + shift, (word >> 4) & 0xFFF), length);
        o += length;
      }
    }
    if (o < full) break;
    flush();
  }

  // The end of the input or of the output: every item checked, a group at a time in a
  // window with room for it.
  while (o < end_at() && in != in_end) {
    if (o >= full) flush();
    unsigned flags = Format::LiteralFlags(*in++);
    for (int item = 0; item < 8 && o < end_at(); ++item, flags <<= 1) {
      if (flags & 0x80) {
        if (in == in_end) goto done;
        window[o++] = Format::Literal(*in++);
        continue;
      }
      if (in_end - in < 2) goto done;
      const unsigned word = Format::Reference(in[0] | (unsigned{in[1]} << 8));
      in += 2;
      const std::size_t length = std::min<std::size_t>((word & 15) + 3, end_at() - o);
      const std::size_t distance = Distance(o - kRingSize + shift, (word >> 4) & 0xFFF);
      for (std::size_t k = 0; k < length; ++k, ++o) window[o] = window[o - distance];
    }
  }
done:
  if (o > kRingSize) sink(window + kRingSize, shift, o - kRingSize);
  return o - kRingSize + shift;
}

}  // namespace resources::dictionary
