#include "core/memo/memo_file.h"

#include "core/text/codec.h"
#include "core/text/utf.h"

namespace pellix::memo {

std::u16string MemoFilePath(const io::AppFolder& folder) {
  return folder.Dir() + std::u16string(kMemoFileName);
}

MemoText ParseMemoFile(const text::TextServices& services, std::string_view bytes) {
  MemoText memo;
  memo.encoding = text::DetectEncoding(bytes);
  const std::u16string text = text::DecodeFileText(services, bytes, memo.encoding);
  memo.text.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char16_t ch = text[pos];
    if (ch == u'\r' || ch == u'\n') {
      memo.text.append(u"\r\n");
      if (ch == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n') {
        ++pos;
      }
    } else {
      memo.text += ch;
    }
  }
  return memo;
}

std::string FormatMemoFile(const text::TextServices& services, std::u16string_view text,
                           text::DetectedEncoding encoding) {
  std::string bytes;
  switch (encoding.encoding) {
    case text::FileEncoding::kCp932:
      return text::Utf16ToCp932(services, text);
    case text::FileEncoding::kUtf8:
      bytes = encoding.markSize != 0 ? "\xEF\xBB\xBF" : "";
      return bytes + text::Utf16ToUtf8(text);
    case text::FileEncoding::kUtf16Le:
    case text::FileEncoding::kUtf16Be: {
      const bool big = encoding.encoding == text::FileEncoding::kUtf16Be;
      bytes.reserve(2 + text.size() * 2);
      const auto put = [&bytes, big](char16_t ch) {
        const char high = static_cast<char>(ch >> 8);
        const char low = static_cast<char>(ch & 0xFF);
        bytes += big ? high : low;
        bytes += big ? low : high;
      };
      put(u'\uFEFF');
      for (const char16_t ch : text) {
        put(ch);
      }
      return bytes;
    }
  }
  return bytes;
}

MemoText ReadMemoFile(const io::FileSystem& files, const io::AppFolder& folder,
                      const text::TextServices& services) {
  const std::u16string path = MemoFilePath(folder);
  return files.Exists(path) ? ParseMemoFile(services, files.ReadAll(path)) : MemoText{};
}

void WriteMemoFile(const io::FileSystem& files, const io::AppFolder& folder,
                   const text::TextServices& services, const MemoText& memo) {
  files.WriteAll(MemoFilePath(folder), FormatMemoFile(services, memo.text, memo.encoding));
}

}  // namespace pellix::memo
