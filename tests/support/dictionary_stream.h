// Hand-made sliding-dictionary streams for the decoder tests and fuzzers: an item writer
// and a plain ring-buffer model that follows the format's description step by step, to
// hold the fast decoders against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hotaru_test {

enum class StreamKind { kBlock, kPicture };

// The stored literal whose unpacked picture byte is `value`: the left pixel (high half)
// goes to bits 7, 5, 3, 1, the right pixel (low half) to bits 6, 4, 2, 0.
inline std::uint8_t Interleave(std::uint8_t value) {
  std::uint8_t stored = 0;
  for (int i = 0; i < 4; ++i) {
    stored |= static_cast<std::uint8_t>(((value >> (4 + i)) & 1) << (2 * i + 1));
    stored |= static_cast<std::uint8_t>(((value >> i) & 1) << (2 * i));
  }
  return stored;
}

inline std::uint8_t Deinterleave(std::uint8_t stored) {
  std::uint8_t value = 0;
  for (int i = 0; i < 4; ++i) {
    value |= static_cast<std::uint8_t>(((stored >> (2 * i + 1)) & 1) << (4 + i));
    value |= static_cast<std::uint8_t>(((stored >> (2 * i)) & 1) << i);
  }
  return value;
}

// Writes items, grouping them under flag bytes. Values are given as they unpack; the
// writer stores them in the kind's form. `produced` counts the bytes unpacked so far, so
// that references can be aimed by distance.
class StreamWriter {
 public:
  explicit StreamWriter(StreamKind kind) : kind_(kind) {}

  StreamWriter& Literal(std::uint8_t value) {
    Item(true);
    bytes_.push_back(kind_ == StreamKind::kBlock ? static_cast<std::uint8_t>(~value)
                                                 : Interleave(value));
    ++produced_;
    return *this;
  }
  // A reference to ring position `position` (0–4095) of `length` (3–18) bytes.
  StreamWriter& Reference(unsigned position, unsigned length) {
    Item(false);
    unsigned word = (position & 0xFFF) << 4 | ((length - 3) & 15);
    if (kind_ == StreamKind::kBlock) word = ~word & 0xFFFF;
    bytes_.push_back(static_cast<std::uint8_t>(word));
    bytes_.push_back(static_cast<std::uint8_t>(word >> 8));
    produced_ += length;
    return *this;
  }
  // A reference to the byte `distance` (1–4096) back from the next one.
  StreamWriter& Back(std::size_t distance, unsigned length) {
    return Reference(static_cast<unsigned>((4078 + produced_ - distance) & 4095), length);
  }
  // A raw stored byte, outside the item structure (for truncated or odd streams).
  StreamWriter& Raw(std::uint8_t b) {
    bytes_.push_back(b);
    return *this;
  }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t produced() const { return produced_; }

 private:
  void Item(bool literal) {
    if (items_in_group_ == 8) {
      flag_index_ = bytes_.size();
      bytes_.push_back(kind_ == StreamKind::kBlock ? 0xFF : 0x00);
      items_in_group_ = 0;
    }
    const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> items_in_group_);
    // Block flags: 0 = literal; picture flags: 1 = literal.
    const bool set = kind_ == StreamKind::kPicture ? literal : !literal;
    if (set) {
      bytes_[flag_index_] |= bit;
    } else {
      bytes_[flag_index_] &= static_cast<std::uint8_t>(~bit);
    }
    ++items_in_group_;
  }

  StreamKind kind_;
  std::vector<std::uint8_t> bytes_;
  std::size_t flag_index_ = 0;
  int items_in_group_ = 8;
  std::size_t produced_ = 0;
};

// The ring-buffer decoder as described: a 4096-byte ring of zeros, write position 4078,
// bytes produced one by one; stops at `limit` bytes or where the stream runs out (an item
// it holds only part of is dropped). Returns the bytes produced.
inline std::vector<std::uint8_t> RingUnpack(StreamKind kind, const std::uint8_t* in,
                                            std::size_t size, std::size_t limit) {
  std::vector<std::uint8_t> out;
  std::uint8_t ring[4096] = {};
  unsigned write = 4078;
  std::size_t i = 0;
  auto emit = [&](std::uint8_t v) {
    ring[write] = v;
    write = (write + 1) & 4095;
    out.push_back(v);
  };
  while (out.size() < limit && i < size) {
    const std::uint8_t flag = in[i++];
    for (int bit = 7; bit >= 0 && out.size() < limit; --bit) {
      const bool one = (flag >> bit) & 1;
      const bool literal = kind == StreamKind::kPicture ? one : !one;
      if (literal) {
        if (i >= size) return out;
        const std::uint8_t stored = in[i++];
        emit(kind == StreamKind::kPicture ? Deinterleave(stored)
                                          : static_cast<std::uint8_t>(~stored));
      } else {
        if (size - i < 2) return out;
        unsigned word = in[i] | unsigned{in[i + 1]} << 8;
        i += 2;
        if (kind == StreamKind::kBlock) word = ~word & 0xFFFF;
        const unsigned position = word >> 4;
        const unsigned length = (word & 15) + 3;
        for (unsigned k = 0; k < length && out.size() < limit; ++k) {
          emit(ring[(position + k) & 4095]);
        }
      }
    }
  }
  return out;
}

}  // namespace hotaru_test
