#include "core/app/recovery.h"

#include <cstdint>

#include "core/io/errors.h"
#include "core/text/utf.h"

namespace pellix::app {
namespace {

// Each copy of the program has a note of its own: the folder it runs from, hashed (letter case
// ignored, as the file system ignores it).
std::u16string NotePath(const std::u16string& root, const std::u16string& exeDir) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char16_t ch : exeDir) {
    ch = ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 32) : ch;
    hash = (hash ^ ch) * 1099511628211ull;
  }
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string name = u"note-";
  for (int shift = 60; shift >= 0; shift -= 4) {
    name += kDigits[(hash >> shift) & 0xF];
  }
  return root + name + u".txt";
}

std::u16string FileNameOf(const std::u16string& path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

}  // namespace

std::optional<std::u16string> KeepForRecovery(const io::FileSystem& files,
                                              const std::u16string& root,
                                              const std::u16string& exeDir,
                                              const std::u16string& occasion,
                                              const std::vector<SaveFailure>& failures) {
  if (failures.empty()) {
    return std::nullopt;
  }
  std::u16string folder;
  for (int attempt = 1; attempt < 100; ++attempt) {
    std::u16string candidate = root + occasion;
    if (attempt > 1) {
      candidate += u"-" + text::Utf8ToUtf16(std::to_string(attempt));
    }
    candidate += root.empty() ? u'\\' : root.back();
    if (files.FileNames(candidate).empty() && files.CreateFolder(candidate)) {
      folder = std::move(candidate);
      break;
    }
  }
  if (folder.empty()) {
    return std::nullopt;
  }
  bool kept = false;
  for (const SaveFailure& failure : failures) {
    try {
      files.WriteAll(folder + FileNameOf(failure.path), failure.content);
      kept = true;
    } catch (const io::AppError&) {
      // The others may still go in.
    }
  }
  if (!kept) {
    return std::nullopt;
  }
  const std::u16string note = NotePath(root, exeDir);
  try {
    std::string lines = files.Exists(note) ? files.ReadAll(note) : std::string();
    lines += text::Utf16ToUtf8(folder) + "\r\n";
    files.WriteAll(note, lines);
  } catch (const io::AppError&) {
    // The files are kept all the same; only the next start's word about them is lost.
  }
  return folder;
}

std::vector<std::u16string> TakeRecoveryNotes(const io::FileSystem& files,
                                              const std::u16string& root,
                                              const std::u16string& exeDir) {
  std::vector<std::u16string> folders;
  const std::u16string note = NotePath(root, exeDir);
  if (!files.Exists(note)) {
    return folders;
  }
  std::string lines;
  try {
    lines = files.ReadAll(note);
  } catch (const io::AppError&) {
    return folders;
  }
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find("\r\n", start);
    end = end == std::string::npos ? lines.size() : end;
    if (end > start) {
      folders.push_back(text::Utf8ToUtf16(std::string_view(lines).substr(start, end - start)));
    }
    start = end + 2;
  }
  files.Remove(note);
  return folders;
}

std::u16string RecoveryMessage(const std::vector<std::u16string>& folders) {
  std::u16string message =
      u"前回の終了時にプログラムのフォルダーへ保存できなかったファイルを、次のフォルダーに同じ名前"
      u"で残しました。";
  for (const std::u16string& folder : folders) {
    message += u"\r\n" + folder;
  }
  return message;
}

}  // namespace pellix::app
