#include "json_reader.h"

#include "base.h"

namespace pxtool {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::vector<std::wstring> Array() {
    std::vector<std::wstring> items;
    Expect('[');
    if (Peek() == ']') {
      ++pos_;
    } else {
      for (;;) {
        items.push_back(String());
        const char next = Next();
        if (next == ']') {
          break;
        }
        if (next != ',') {
          Bad("',' or ']' expected");
        }
      }
    }
    SkipSpace();
    if (pos_ != text_.size()) {
      Bad("text after the array");
    }
    return items;
  }

 private:
  [[noreturn]] void Bad(const char* what) const {
    Usage(L"bad command line at byte " + std::to_wstring(pos_) + L": " + FromUtf8(what));
  }

  void SkipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\n')) {
      ++pos_;
    }
  }

  char Peek() {
    SkipSpace();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  char Next() {
    const char c = Peek();
    if (pos_ >= text_.size()) {
      Bad("unexpected end");
    }
    ++pos_;
    return c;
  }

  void Expect(char wanted) {
    if (Next() != wanted) {
      --pos_;
      Bad(wanted == '[' ? "'[' expected" : "'\"' expected");
    }
  }

  unsigned Hex4() {
    if (text_.size() - pos_ < 4) {
      Bad("short \\u escape");
    }
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9') {
        value |= static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        value |= static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        value |= static_cast<unsigned>(c - 'A' + 10);
      } else {
        Bad("bad \\u escape");
      }
    }
    return value;
  }

  // Bytes as they come are UTF-8; escapes are UTF-16 units, so that a pair written as two escapes
  // joins up again and a lone surrogate stays what it was.
  std::wstring String() {
    Expect('"');
    std::wstring out;
    size_t run = pos_;  // start of the bytes not yet converted
    auto flush = [&] {
      try {
        out += FromUtf8(text_.substr(run, pos_ - run));
      } catch (const ToolError&) {
        Bad("the text is not valid UTF-8");
      }
    };
    for (;;) {
      if (pos_ >= text_.size()) {
        Bad("unterminated string");
      }
      const auto c = static_cast<unsigned char>(text_[pos_]);
      if (c == '"') {
        flush();
        ++pos_;
        return out;
      }
      if (c < 0x20) {
        Bad("control character in a string");
      }
      if (c != '\\') {
        ++pos_;
        continue;
      }
      flush();
      if (++pos_ >= text_.size()) {
        Bad("unterminated string");
      }
      switch (text_[pos_++]) {
        case '"':
          out += L'"';
          break;
        case '\\':
          out += L'\\';
          break;
        case '/':
          out += L'/';
          break;
        case 'b':
          out += L'\b';
          break;
        case 'f':
          out += L'\f';
          break;
        case 'n':
          out += L'\n';
          break;
        case 'r':
          out += L'\r';
          break;
        case 't':
          out += L'\t';
          break;
        case 'u':
          out += static_cast<wchar_t>(Hex4());
          break;
        default:
          --pos_;
          Bad("unknown escape");
      }
      run = pos_;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

std::vector<std::wstring> ParseStringArray(std::string_view json) {
  return Reader(json).Array();
}

}  // namespace pxtool
