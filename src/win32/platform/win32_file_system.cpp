#include "win32/platform/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "core/io/errors.h"
#include "win32/platform/unique_handle.h"
#include "win32/platform/wide_string.h"

namespace pellix::win32 {
namespace {

constexpr DWORD kChunk = 1 << 20;
// An indexer or a virus scanner may hold the target open for a moment; the replace is tried
// again for about half a second before the save counts as failed.
constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplaceRetryMs = 50;

bool ReplaceWithRetry(const std::wstring& from, const std::wstring& to) {
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    const bool transient = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                           error == ERROR_LOCK_VIOLATION;
    if (!transient || attempt == kReplaceAttempts) {
      return false;
    }
    Sleep(kReplaceRetryMs);
  }
}

// The system's own words for the last error, in the user's language.
std::u16string LastErrorText() {
  const DWORD error = GetLastError();
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    text = L"error " + std::to_wstring(error);
  }
  return FromWide(text);
}

// A rename over a large file frees the old file's space inside the rename: 20 ms for 100 MB on
// the disks we measured. Under Wine renames and truncations are carried out by the one server
// that every window of every program waits on, so all of them would stall. A second name keeps
// the old file alive through the rename; it is then cut down a megabyte at a time, each step a
// short wait for the others, and the empty file is removed. A file system without hard
// links just renames.
class ReleaseAfterwards {
 public:
  ReleaseAfterwards(const std::wstring& target, std::wstring second) : second_(std::move(second)) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool large = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data) &&
                       (data.nFileSizeHigh != 0 || data.nFileSizeLow >= kLargeFile);
    DeleteFileW(second_.c_str());
    linked_ = large && CreateHardLinkW(second_.c_str(), target.c_str(), nullptr);
  }
  ReleaseAfterwards(const ReleaseAfterwards&) = delete;
  ReleaseAfterwards& operator=(const ReleaseAfterwards&) = delete;
  ~ReleaseAfterwards() {
    if (!linked_) {
      return;
    }
    {
      const UniqueHandle file(CreateFileW(second_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
      LARGE_INTEGER size{};
      if (file.Valid() && GetFileSizeEx(file.Get(), &size)) {
        while (size.QuadPart > 0) {
          size.QuadPart = size.QuadPart > kCutStep ? size.QuadPart - kCutStep : 0;
          if (!SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN) ||
              !SetEndOfFile(file.Get())) {
            break;
          }
          Sleep(1);  // the others' turn between two steps
        }
      }
    }
    DeleteFileW(second_.c_str());
  }

 private:
  static constexpr DWORD kLargeFile = 4u << 20;
  static constexpr LONGLONG kCutStep = 1 << 20;
  std::wstring second_;
  bool linked_ = false;
};

}  // namespace

bool Win32FileSystem::Exists(const std::u16string& path) const {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string Win32FileSystem::ReadAll(const std::u16string& path) const {
  UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
    throw io::FileOpenError(path);
  }
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, content.size() - done));
    DWORD got = 0;
    if (!ReadFile(file.Get(), content.data() + done, want, &got, nullptr)) {
      throw io::FileOpenError(path);
    }
    if (got == 0) {
      content.resize(done);  // the file shrank while we read it
      break;
    }
    done += got;
  }
  return content;
}

void Win32FileSystem::WriteAll(const std::u16string& path, std::string_view bytes) const {
  bool given = false;
  WriteStream(path, [&]() -> std::string_view { return std::exchange(given, true) ? "" : bytes; });
}

void Win32FileSystem::WriteStream(const std::u16string& path, const Pieces& pieces) const {
  const std::wstring target = ToWide(path);
  const std::wstring temporary = ToWide(io::TemporaryPathFor(path, tag_));
  UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    throw io::FileCreateError(path, LastErrorText());
  }
  // Whatever goes wrong before the replace, the temporary file goes and the old one stays.
  struct Discard {
    UniqueHandle& file;
    const std::wstring& temporary;
    bool keep = false;
    ~Discard() {
      if (!keep) {
        file.Reset();
        DeleteFileW(temporary.c_str());
      }
    }
  } discard{file, temporary};
  bool ok = true;
  for (std::string_view piece = pieces(); ok && !piece.empty(); piece = pieces()) {
    for (std::size_t done = 0; ok && done < piece.size();) {
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, piece.size() - done));
      DWORD written = 0;
      ok = WriteFile(file.Get(), piece.data() + done, want, &written, nullptr) && written == want;
      done += written;
    }
  }
  ok = ok && FlushFileBuffers(file.Get()) && file.Close();
  const ReleaseAfterwards oldFile(target, ToWide(io::ReplacedPathFor(path, tag_)));
  ok = ok && ReplaceWithRetry(temporary, target);
  if (!ok) {
    throw io::FileCreateError(path, LastErrorText());
  }
  discard.keep = true;
}

std::vector<std::u16string> Win32FileSystem::FileNames(const std::u16string& dir) const {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found{};
  const FindHandle search(FindFirstFileW((ToWide(dir) + L"*").c_str(), &found));
  if (!search.Valid()) {
    return names;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.push_back(FromWide(found.cFileName));
    }
  } while (FindNextFileW(search.Get(), &found));
  return names;
}

bool Win32FileSystem::Remove(const std::u16string& path) const {
  return DeleteFileW(ToWide(path).c_str()) != 0;
}

bool Win32FileSystem::CreateFolder(const std::u16string& path) const {
  std::wstring folder = ToWide(path);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
    folder.pop_back();
  }
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  const std::size_t parent = folder.find_last_of(L"\\/");
  if (parent != std::wstring::npos && parent > 0 &&
      !CreateFolder(FromWide(folder.substr(0, parent)))) {
    return false;
  }
  return CreateDirectoryW(folder.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Win32FileSystem::Rename(const std::u16string& from, const std::u16string& to) const {
  const std::wstring source = ToWide(from);
  const std::wstring target = ToWide(to);
  const bool caseOnly = source != target && CompareStringOrdinal(source.c_str(), -1, target.c_str(),
                                                                 -1, TRUE) == CSTR_EQUAL;
  if (!caseOnly) {
    // Without MOVEFILE_REPLACE_EXISTING an existing target makes the call fail.
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  }
  // A change of letter case alone: Wine reports success for a rename onto the same file and
  // leaves the name as it was. Going through a name of its own renames the one file, on any
  // file system, without replacing another.
  const std::wstring step = source + ToWide(std::u16string(io::kRenamingSuffix));
  if (!MoveFileExW(source.c_str(), step.c_str(), MOVEFILE_WRITE_THROUGH)) {
    return false;
  }
  if (MoveFileExW(step.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  MoveFileExW(step.c_str(), source.c_str(), MOVEFILE_WRITE_THROUGH);
  return false;
}

std::optional<io::FileStamp> Win32FileSystem::Stat(const std::u16string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  const auto size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const auto time = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return io::FileStamp{size, static_cast<std::int64_t>(time)};
}

std::int64_t Win32FileSystem::StampNow() const {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                   now.dwLowDateTime);
}

bool Win32FileSystem::CreateExclusive(const std::u16string& path, std::string_view bytes) const {
  // CREATE_NEW is one step on a local disk and on a share alike: of two callers, one gets
  // ERROR_FILE_EXISTS.
  UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    return false;
  }
  DWORD written = 0;
  const bool ok =
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  file.Reset();
  if (!ok) {
    DeleteFileW(ToWide(path).c_str());
  }
  return ok;
}

}  // namespace pellix::win32
