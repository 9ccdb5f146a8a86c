// The program's own text formatter.
//
// Texts in this program are UTF-8. A byte that starts a well-formed UTF-8 sequence (lead
// byte 0xC2-0xF4 followed by the right continuation bytes, no overlong forms, surrogates or
// values past U+10FFFF) is taken together with its continuation bytes as one character,
// copied whole and counted as two columns. Only a byte 0xA0-0xDF that is not part of such a
// sequence is a half-width katakana and is subject to KanaMode; the full-width forms it turns
// into are written in UTF-8 (three bytes each). Any other stray byte of 0x80 and above is
// copied as one byte of one column; it never swallows the byte after it.
//
// Width limits on %s texts count display columns (the same measure as TextColumns), so a
// two-column character at the limit is written whole and may pass the width by one column.
//
// The output is bounded: at most capacity - 1 bytes and never more than 32,767. Output is
// written in whole items (a byte, a UTF-8 character, a full-width kana, a two-byte glyph
// code); the first item that does not fit ends the output, later items are dropped even if
// they are smaller. The format is still read to its end, so directives take effect and
// KanaMode ends the same whether or not the output was cut.

#include "core/format_text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace core {

FormatterState Formatter;

void ResetFormatterState() { Formatter = FormatterState{}; }

namespace {

using Byte = unsigned char;

constexpr std::size_t kMaxResult = 32767;

// Full-width forms of the half-width bytes 0xA0-0xDF, three UTF-8 bytes per entry.
constexpr std::string_view kKatakana =
    "　。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    "ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
constexpr std::string_view kHiragana =
    "　。「」、・をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねの"
    "はひふへほまみむめもやゆよらりるれろわん゛゜";
constexpr std::size_t kKanaBytes = 3;
static_assert(kKatakana.size() == 64 * kKanaBytes && kHiragana.size() == 64 * kKanaBytes);

// Digit values 0-15, then the overflow mark and the padding blank.
constexpr int kOverflowMark = 16;
constexpr int kPaddingBlank = 17;
constexpr char kDigits[] = "0123456789ABCDEF- ";
// The same as glyph codes of message text: 0x00 and the glyph number.
constexpr Byte kFullWidthDigits[18][2] = {
    {0x00, 28}, {0x00, 29}, {0x00, 30}, {0x00, 31}, {0x00, 32},  {0x00, 33},
    {0x00, 34}, {0x00, 35}, {0x00, 36}, {0x00, 37}, {0x00, 2},   {0x00, 3},
    {0x00, 4},  {0x00, 5},  {0x00, 6},  {0x00, 7},  {0x00, 210}, {0x00, 0x00},
};

enum class CharKind { kSingle, kSequence, kHalfKana };

struct TextChar {
  CharKind kind;
  std::size_t length;  // bytes in the text
};

bool IsContinuation(Byte b) { return b >= 0x80 && b <= 0xBF; }

// Length of the well-formed UTF-8 sequence at p, or 0 when there is none. A NUL is never a
// continuation byte, so this stops at the end of the text.
std::size_t Utf8Length(const Byte* p) {
  const Byte lead = p[0];
  Byte low = 0x80;
  Byte high = 0xBF;
  std::size_t length;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (p[1] < low || p[1] > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(p[i])) return 0;
  }
  return length;
}

TextChar NextChar(const Byte* p) {
  if (std::size_t length = Utf8Length(p)) return {CharKind::kSequence, length};
  if (p[0] >= 0xA0 && p[0] <= 0xDF) return {CharKind::kHalfKana, 1};
  return {CharKind::kSingle, 1};
}

std::size_t Columns(TextChar c) {
  switch (c.kind) {
    case CharKind::kSingle: return 1;
    case CharKind::kSequence: return 2;
    case CharKind::kHalfKana: return Formatter.KanaMode != 0 ? 2 : 1;
  }
  return 1;
}

std::size_t CountColumns(const Byte* p) {
  std::size_t columns = 0;
  while (*p) {
    const TextChar c = NextChar(p);
    columns += Columns(c);
    p += c.length;
  }
  return columns;
}

class Output {
 public:
  Output(char* out, std::size_t limit) : out_(out), limit_(limit) {}

  // Writes the n bytes as one item, or nothing (and nothing more) when they do not fit.
  void Put(const void* bytes, std::size_t n) {
    if (full_ || n > limit_ - size_) {
      full_ = true;
      return;
    }
    std::memcpy(out_ + size_, bytes, n);
    size_ += n;
  }
  void Put(char c) { Put(&c, 1); }

  std::size_t size() const { return size_; }

 private:
  char* out_;
  std::size_t limit_;
  std::size_t size_ = 0;
  bool full_ = false;
};

// Writes one character of format or text, turning a half-width katakana by KanaMode.
// Returns the columns written.
std::size_t PutChar(Output& out, const Byte* p, TextChar c) {
  if (c.kind == CharKind::kHalfKana && Formatter.KanaMode != 0) {
    const std::string_view& table = Formatter.KanaMode == 2 ? kHiragana : kKatakana;
    out.Put(table.data() + (p[0] - 0xA0) * kKanaBytes, kKanaBytes);
  } else {
    out.Put(p, c.length);
  }
  return Columns(c);
}

struct Conversion {
  bool full_width = false;
  bool left = false;
  bool zero_pad = false;
  bool has_width = false;
  std::size_t width = 0;
};

void PutNumber(Output& out, std::uint32_t value, std::uint32_t base, const Conversion& conv) {
  auto put_item = [&](int index) {
    if (conv.full_width) {
      out.Put(kFullWidthDigits[index], 2);
    } else {
      out.Put(kDigits[index]);
    }
  };

  int digits[10];  // most digits of a 32-bit number: ten decimal
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<int>(value % base);
    value /= base;
  } while (value != 0);

  if (conv.has_width && count > conv.width) {
    for (std::size_t i = 0; i < conv.width; ++i) put_item(kOverflowMark);
    return;
  }
  const std::size_t missing = conv.has_width ? conv.width - count : 0;
  if (!conv.left) {
    for (std::size_t i = 0; i < missing; ++i) put_item(conv.zero_pad ? 0 : kPaddingBlank);
  }
  while (count > 0) put_item(digits[--count]);
  if (conv.left) {
    // A full-width field keeps its width: two spaces stand for one missing glyph.
    const std::size_t spaces = conv.full_width ? missing * 2 : missing;
    for (std::size_t i = 0; i < spaces; ++i) out.Put(' ');
  }
}

void PutText(Output& out, const char* text, const Conversion& conv) {
  const Byte* p = reinterpret_cast<const Byte*>(text);
  const std::size_t columns = CountColumns(p);
  const std::size_t width = conv.width;  // 0 when none is given
  std::size_t written = 0;
  if (!conv.left && columns < width) {
    for (; written < width - columns; ++written) out.Put(' ');
  }
  while (*p && (width == 0 || written < width)) {
    const TextChar c = NextChar(p);
    written += PutChar(out, p, c);
    p += c.length;
  }
  if (conv.left && columns < width) {
    for (std::size_t i = columns; i < width; ++i) out.Put(' ');
  }
}

class Arguments {
 public:
  Arguments(const FormatArg* begin, const FormatArg* end) : next_(begin), end_(end) {}

  // A missing argument, or a text where a number is wanted, reads as 0.
  std::uint32_t Number() {
    const FormatArg* arg = Take();
    return arg != nullptr && !arg->is_text ? arg->number : 0;
  }
  // A missing argument, a number, or a null text reads as the empty text.
  const char* Text() {
    const FormatArg* arg = Take();
    return arg != nullptr && arg->is_text && arg->text != nullptr ? arg->text : "";
  }

 private:
  const FormatArg* Take() { return next_ != end_ ? next_++ : nullptr; }

  const FormatArg* next_;
  const FormatArg* end_;
};

// Reads a conversion after its '%' and writes it. Returns the position after the
// conversion letter, or the position of the NUL when the format ends inside the
// conversion; such an unfinished conversion writes nothing and takes no argument.
const Byte* Convert(Output& out, const Byte* p, Arguments& args) {
  Conversion conv;
  while (*p) {
    Byte c = *p++;
    if (c > 0x60) c = static_cast<Byte>(c - 0x20);
    switch (c) {
      case '!': conv.full_width = true; break;
      case '-': conv.left = true; break;
      case 'L': break;  // all numbers are 32-bit
      case 'C': out.Put(static_cast<char>(args.Number() & 0xFF)); return p;
      case 'S': PutText(out, args.Text(), conv); return p;
      case 'D': PutNumber(out, args.Number(), 10, conv); return p;
      case 'X': PutNumber(out, args.Number(), 16, conv); return p;
      default:
        if (c >= '0' && c <= '9') {
          if (c == '0') conv.zero_pad = true;
          // Widths past the result limit behave alike; keep the value bounded.
          std::size_t width = c - '0';
          while (*p >= '0' && *p <= '9') {
            width = std::min(width * 10 + (*p++ - '0'), kMaxResult + 1);
          }
          conv.width = width;
          conv.has_width = true;
        }
        break;  // anything else is skipped
    }
  }
  return p;
}

}  // namespace

int FormatTextTo(char* out, std::size_t capacity, const char* format,
                 std::initializer_list<FormatArg> args) {
  Formatter.KanaMode = 0;
  Output output(out, capacity == 0 ? 0 : std::min(capacity - 1, kMaxResult));
  Arguments arguments(args.begin(), args.end());
  const Byte* p = reinterpret_cast<const Byte*>(format != nullptr ? format : "");
  while (*p) {
    switch (*p) {
      case '^': {
        // The next character is written as it is, a half-width katakana as its one byte.
        // A '^' at the very end of the format writes nothing.
        ++p;
        if (*p == 0) break;
        const std::size_t length = std::max<std::size_t>(Utf8Length(p), 1);
        output.Put(p, length);
        p += length;
        break;
      }
      case '%': p = Convert(output, p + 1, arguments); break;
      case '&':
        Formatter.KanaMode = 0;
        ++p;
        break;
      case '@':
        Formatter.KanaMode = 1;
        ++p;
        break;
      case '#':
        Formatter.KanaMode = 2;
        ++p;
        break;
      default: {
        const TextChar c = NextChar(p);
        PutChar(output, p, c);
        p += c.length;
        break;
      }
    }
  }
  if (capacity > 0) out[output.size()] = '\0';
  return static_cast<int>(output.size());
}

std::uint16_t TextColumns(const char* text) {
  if (text == nullptr) return 0;
  const std::size_t columns = CountColumns(reinterpret_cast<const Byte*>(text));
  return static_cast<std::uint16_t>(std::min<std::size_t>(columns, 0xFFFF));
}

}  // namespace core
