#include "document/SourceFilter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/ControlCharacters.h"

// The filter walks code units (bytes, or 16-bit units for UTF-16) and looks
// only at ASCII ones; every other unit is copied as it is. Units are only
// dropped or replaced one for one, so the result is written over the text
// as the walk goes.

namespace {

constexpr std::uint32_t kEnd = 0;  // past the last unit; no unit is zero

bool IsBlank(std::uint32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

class Filter {
 public:
  Filter(std::string& text, std::size_t width, bool bigEndian, std::size_t first)
      : text_(text),
        width_(width),
        bigEndian_(bigEndian),
        count_(text.size() / width),
        first_(first),
        out_(first * width) {}

  bool HasZeroUnit() const {
    for (std::size_t i = first_; i < count_; ++i) {
      if (At(i) == 0) return true;
    }
    return false;
  }

  bool Run() {
    std::size_t i = first_;
    int depth = 0;
    bool afterStartTag = false;  // the last markup opened an element
    while (i < count_) {
      if (At(i) != '<') {
        std::size_t end = i;
        while (end < count_ && At(end) != '<') ++end;
        const std::size_t mark = out_;
        const bool blank = Copy(i, end, true);
        const bool onlyContent = afterStartTag && Matches(end, "</");
        if (depth > 0 && blank && !onlyContent) out_ = mark;
        i = end;
        continue;
      }
      std::size_t end;
      bool references = false;
      bool opens = false;
      if (Matches(i, "<!--")) {
        end = After(i + 4, "-->");
      } else if (Matches(i, "<![CDATA[")) {
        end = After(i + 9, "]]>");
      } else if (Matches(i, "<!")) {
        return false;
      } else if (Matches(i, "<?")) {
        end = After(i + 2, "?>");
      } else if (Matches(i, "</")) {
        end = After(i + 2, ">");
        --depth;
      } else {
        end = TagEnd(i + 1);
        references = true;
        opens = At(end - 2) != '/';
        if (opens) ++depth;
      }
      Copy(i, end, references);
      afterStartTag = opens;
      i = end;
    }
    text_.resize(out_);
    return true;
  }

 private:
  std::uint32_t At(std::size_t i) const { return i < count_ ? UnitAt(i * width_) : kEnd; }

  // The unit at a byte offset, of the text or of the output written over it.
  std::uint32_t UnitAt(std::size_t offset) const {
    const auto byte = [&](std::size_t k) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(text_[offset + k]));
    };
    if (width_ == 1) return byte(0);
    return bigEndian_ ? (byte(0) << 8 | byte(1)) : (byte(1) << 8 | byte(0));
  }

  bool Matches(std::size_t i, std::string_view ascii) const {
    for (std::size_t k = 0; k < ascii.size(); ++k) {
      if (At(i + k) != static_cast<unsigned char>(ascii[k])) return false;
    }
    return true;
  }

  // One past the first `ascii` at or after i; the end when there is none
  // (the parser then finds the text broken).
  std::size_t After(std::size_t i, std::string_view ascii) const {
    for (; i < count_; ++i) {
      if (Matches(i, ascii)) return i + ascii.size();
    }
    return count_;
  }

  // One past the '>' that closes a tag, skipping quoted attribute values.
  std::size_t TagEnd(std::size_t i) const {
    std::uint32_t quote = 0;
    for (; i < count_; ++i) {
      const std::uint32_t c = At(i);
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        return i + 1;
      }
    }
    return count_;
  }

  // The output just got a ';'. When it ends a reference "&#...;" to a
  // forbidden control, the reference is left out. Looking at the output
  // rather than the source also catches a reference that only leaving out
  // a raw control made ("&\x1A#1;"), or leaving out another reference.
  void DropForbiddenReference(std::size_t segmentStart) {
    const auto isHexDigit = [](std::uint32_t c) {
      return (c >= '0' && c <= '9') || (c | 0x20) - 'a' < 6;
    };
    const std::size_t semicolon = out_ - width_;
    std::size_t digits = semicolon;  // after "&#", then after "&#x" for hex
    while (digits > segmentStart &&
           (isHexDigit(UnitAt(digits - width_)) || UnitAt(digits - width_) == 'x'))
      digits -= width_;
    if (digits < segmentStart + 2 * width_ || UnitAt(digits - width_) != '#' ||
        UnitAt(digits - 2 * width_) != '&')
      return;
    const bool hex = UnitAt(digits) == 'x';
    if (hex) digits += width_;
    if (digits == semicolon) return;  // "&#;" and "&#x;" are not references
    std::uint32_t code = 0;
    for (std::size_t k = digits; k < semicolon; k += width_) {
      const std::uint32_t c = UnitAt(k);
      const bool decimal = c >= '0' && c <= '9';
      if (!decimal && !(hex && isHexDigit(c))) return;
      const std::uint32_t value = decimal ? c - '0' : (c | 0x20) - 'a' + 10;
      // Anything beyond the last character stays beyond it.
      code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + value;
    }
    if (IsForbiddenControl(code)) out_ = digits - (hex ? 3 : 2) * width_;
  }

  void Put(std::size_t i) {
    for (std::size_t k = 0; k < width_; ++k) text_[out_++] = text_[i * width_ + k];
  }
  void PutAscii(char c) {
    if (width_ == 2 && bigEndian_) text_[out_++] = '\0';
    text_[out_++] = c;
    if (width_ == 2 && !bigEndian_) text_[out_++] = '\0';
  }

  // Copies units [from, end) to the output, leaving out forbidden controls
  // (and references to them, where references are read), and turning
  // CR LF and CR into LF. True when all it kept were blanks.
  bool Copy(std::size_t from, std::size_t end, bool references) {
    const std::size_t start = out_;
    for (std::size_t i = from; i < end;) {
      const std::uint32_t c = At(i);
      if (c == '\r') {
        PutAscii('\n');
        i += i + 1 < end && At(i + 1) == '\n' ? 2 : 1;
        continue;
      }
      if (!IsForbiddenControl(c)) {
        Put(i);
        if (references && c == ';') DropForbiddenReference(start);
      }
      ++i;
    }
    for (std::size_t k = start; k < out_; k += width_) {
      if (!IsBlank(UnitAt(k))) return false;
    }
    return true;
  }

  std::string& text_;
  const std::size_t width_;
  const bool bigEndian_;
  const std::size_t count_;
  const std::size_t first_;
  std::size_t out_;  // in bytes
};

}  // namespace

bool FilterSourceText(std::string& text) {
  const auto byte = [&](std::size_t k) {
    return k < text.size() ? static_cast<unsigned char>(text[k]) : 0x100u;
  };
  std::size_t width = 1;
  std::size_t first = 0;  // units before the text proper: the byte-order mark
  bool bigEndian = false;
  if (byte(0) == 0xFF && byte(1) == 0xFE) {
    width = 2, first = 1;
  } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
    width = 2, first = 1, bigEndian = true;
  } else if (byte(0) == '<' && byte(1) == 0) {
    width = 2;
  } else if (byte(0) == 0 && byte(1) == '<') {
    width = 2, bigEndian = true;
  }
  if (text.size() % width != 0) return false;
  Filter filter(text, width, bigEndian, first);
  return !filter.HasZeroUnit() && filter.Run();
}
