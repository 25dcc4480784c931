#include "core/memo/memo_file.h"

namespace pellix::memo {

std::u16string MemoFilePath(const io::AppFolder& folder) {
  return folder.Dir() + std::u16string(kMemoFileName);
}

std::string ParseMemoFile(std::string_view bytes) {
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char ch = text[pos];
    if (ch == '\r' || ch == '\n') {
      out.append("\r\n");
      if (ch == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
        ++pos;
      }
    } else {
      out += ch;
    }
  }
  return out;
}

std::string ReadMemoFile(const io::FileSystem& files, const io::AppFolder& folder) {
  const std::u16string path = MemoFilePath(folder);
  return files.Exists(path) ? ParseMemoFile(files.ReadAll(path)) : std::string();
}

void WriteMemoFile(const io::FileSystem& files, const io::AppFolder& folder,
                   std::string_view text) {
  files.WriteAll(MemoFilePath(folder), text);
}

}  // namespace pellix::memo
