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
  std::uint32_t At(std::size_t i) const {
    if (i >= count_) return kEnd;
    const auto byte = [&](std::size_t k) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(text_[i * width_ + k]));
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

  // The character a reference "&#...;" at i (ending before `end`) stands
  // for, and its length in units; length 0 when there is none.
  std::size_t Reference(std::size_t i, std::size_t end, std::uint32_t& code) const {
    if (!Matches(i, "&#")) return 0;
    std::size_t k = i + 2;
    const bool hex = At(k) == 'x';
    if (hex) ++k;
    code = 0;
    const std::size_t digits = k;
    for (; k < end; ++k) {
      const std::uint32_t c = At(k);
      std::uint32_t value;
      if (c >= '0' && c <= '9') {
        value = c - '0';
      } else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        value = (c | 0x20) - 'a' + 10;
      } else {
        break;
      }
      // Anything beyond the last character stays beyond it.
      code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + value;
    }
    if (k == digits || k >= end || At(k) != ';') return 0;
    return k + 1 - i;
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
    bool blank = true;
    for (std::size_t i = from; i < end;) {
      const std::uint32_t c = At(i);
      std::uint32_t code = 0;
      const std::size_t length = references ? Reference(i, end, code) : 0;
      if (length) {
        if (!IsForbiddenControl(code)) {
          for (std::size_t k = i; k < i + length; ++k) Put(k);
          blank = false;
        }
        i += length;
      } else if (c == '\r') {
        PutAscii('\n');
        i += i + 1 < end && At(i + 1) == '\n' ? 2 : 1;
      } else {
        if (!IsForbiddenControl(c)) {
          Put(i);
          blank = blank && IsBlank(c);
        }
        ++i;
      }
    }
    return blank;
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
