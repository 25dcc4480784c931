// A small streaming JSON writer for the helper tools. Windows gives us UTF-16; the harness reads
// UTF-8, so every string is converted here, and a lone surrogate (which a window text can hold)
// is written as its \u escape instead of being dropped, so that nothing the window held is lost.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace pxtool {

class JsonWriter {
 public:
  JsonWriter& BeginObject() {
    Separate();
    out_ += '{';
    first_.push_back(true);
    return *this;
  }
  JsonWriter& EndObject() {
    out_ += '}';
    first_.pop_back();
    return *this;
  }
  JsonWriter& BeginArray() {
    Separate();
    out_ += '[';
    first_.push_back(true);
    return *this;
  }
  JsonWriter& EndArray() {
    out_ += ']';
    first_.pop_back();
    return *this;
  }
  JsonWriter& Key(std::string_view key) {
    Separate();
    AppendUtf8String(key);
    out_ += ':';
    after_key_ = true;
    return *this;
  }
  JsonWriter& String(std::wstring_view text) {
    Separate();
    AppendWideString(text);
    return *this;
  }
  JsonWriter& Utf8(std::string_view text) {
    Separate();
    AppendUtf8String(text);
    return *this;
  }
  JsonWriter& Int(long long value) {
    Separate();
    out_ += std::to_string(value);
    return *this;
  }
  JsonWriter& UInt(unsigned long long value) {
    Separate();
    out_ += std::to_string(value);
    return *this;
  }
  JsonWriter& Bool(bool value) {
    Separate();
    out_ += value ? "true" : "false";
    return *this;
  }
  JsonWriter& Null() {
    Separate();
    out_ += "null";
    return *this;
  }
  // A complete value that another writer has made.
  JsonWriter& Raw(std::string_view json) {
    Separate();
    out_ += json;
    return *this;
  }

  const std::string& str() const { return out_; }

 private:
  void Separate() {
    if (after_key_) {
      after_key_ = false;
      return;
    }
    if (!first_.empty()) {
      if (!first_.back()) {
        out_ += ',';
      }
      first_.back() = false;
    }
  }

  void AppendEscape(unsigned unit) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04x", unit);
    out_ += buf;
  }

  // Returns true when the code point needed no escape and the caller should encode it.
  bool AppendSimpleEscape(char32_t cp) {
    switch (cp) {
      case U'"':
        out_ += "\\\"";
        return false;
      case U'\\':
        out_ += "\\\\";
        return false;
      case U'\n':
        out_ += "\\n";
        return false;
      case U'\r':
        out_ += "\\r";
        return false;
      case U'\t':
        out_ += "\\t";
        return false;
      default:
        if (cp < 0x20 || cp == 0x7f) {
          AppendEscape(static_cast<unsigned>(cp));
          return false;
        }
        return true;
    }
  }

  void AppendCodePoint(char32_t cp) {
    if (!AppendSimpleEscape(cp)) {
      return;
    }
    if (cp < 0x80) {
      out_ += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out_ += static_cast<char>(0xC0 | (cp >> 6));
      out_ += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out_ += static_cast<char>(0xE0 | (cp >> 12));
      out_ += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out_ += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out_ += static_cast<char>(0xF0 | (cp >> 18));
      out_ += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out_ += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out_ += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  void AppendWideString(std::wstring_view text) {
    out_ += '"';
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned unit = static_cast<uint16_t>(text[i]);
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
        const unsigned low = static_cast<uint16_t>(text[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          AppendCodePoint(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
          ++i;
          continue;
        }
      }
      if (unit >= 0xD800 && unit <= 0xDFFF) {
        AppendEscape(unit);
        continue;
      }
      AppendCodePoint(unit);
    }
    out_ += '"';
  }

  // Keys and messages of our own are ASCII or already UTF-8; only escaping is needed.
  void AppendUtf8String(std::string_view text) {
    out_ += '"';
    for (char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x80) {
        out_ += c;
      } else if (AppendSimpleEscape(byte)) {
        out_ += c;
      }
    }
    out_ += '"';
  }

  std::string out_;
  std::vector<bool> first_;
  bool after_key_ = false;
};

}  // namespace pxtool
