#include "posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/io/errors.h"
#include "core/text/utf.h"

namespace pellix::posix {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close itself worked (it may report a late write error).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteFully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Seconds from 1601, where Windows counts from, to 1970.
constexpr std::int64_t kEpochDifference = 11'644'473'600;

std::int64_t Ticks(const timespec& time) {
  return (static_cast<std::int64_t>(time.tv_sec) + kEpochDifference) * io::kStampTicksPerSecond +
         time.tv_nsec / 100;
}

}  // namespace

bool PosixFileSystem::Exists(const std::u16string& path) const {
  struct stat info {};
  return ::stat(text::Utf16ToUtf8(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string PosixFileSystem::ReadAll(const std::u16string& path) const {
  Fd fd(::open(text::Utf16ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    throw io::FileOpenError(path);
  }
  std::string content;
  content.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      throw io::FileOpenError(path);
    }
    if (got == 0) {
      return content;
    }
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

void PosixFileSystem::WriteAll(const std::u16string& path, std::string_view bytes) const {
  const std::string target = text::Utf16ToUtf8(path);
  const std::string temporary = text::Utf16ToUtf8(io::TemporaryPathFor(path));
  Fd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.Valid()) {
    throw io::FileCreateError(path, text::Utf8ToUtf16(std::strerror(errno)));
  }
  const bool written = WriteFully(fd.Get(), bytes) && ::fsync(fd.Get()) == 0 && fd.Close();
  if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
    const std::u16string reason = text::Utf8ToUtf16(std::strerror(errno));
    ::unlink(temporary.c_str());
    throw io::FileCreateError(path, reason);
  }
}

std::vector<std::u16string> PosixFileSystem::FileNames(const std::u16string& dir) const {
  std::vector<std::u16string> names;
  const std::string folder = text::Utf16ToUtf8(dir);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) {
    return names;
  }
  while (const dirent* entry = ::readdir(listing)) {
    struct stat info {};
    if (::stat((folder + entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
      names.push_back(text::Utf8ToUtf16(entry->d_name));
    }
  }
  ::closedir(listing);
  return names;
}

bool PosixFileSystem::Remove(const std::u16string& path) const {
  return ::unlink(text::Utf16ToUtf8(path).c_str()) == 0;
}

bool PosixFileSystem::CreateFolder(const std::u16string& path) const {
  std::string folder = text::Utf16ToUtf8(path);
  while (folder.size() > 1 && folder.back() == '/') {
    folder.pop_back();
  }
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) {
    return S_ISDIR(info.st_mode);
  }
  const std::size_t parent = folder.find_last_of('/');
  if (parent != std::string::npos && parent > 0 &&
      !CreateFolder(text::Utf8ToUtf16(folder.substr(0, parent)))) {
    return false;
  }
  return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

bool PosixFileSystem::Rename(const std::u16string& from, const std::u16string& to) const {
  const std::string source = text::Utf16ToUtf8(from);
  const std::string target = text::Utf16ToUtf8(to);
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) {
    return false;
  }
  // A file system without the no-replace rename: a hard link cannot replace anything either.
  if (::link(source.c_str(), target.c_str()) != 0) {
    return false;
  }
  ::unlink(source.c_str());
  return true;
}

std::optional<io::FileStamp> PosixFileSystem::Stat(const std::u16string& path) const {
  struct stat info {};
  if (::stat(text::Utf16ToUtf8(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return io::FileStamp{static_cast<std::uint64_t>(info.st_size), Ticks(info.st_mtim)};
}

std::int64_t PosixFileSystem::StampNow() const {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return Ticks(now);
}

bool PosixFileSystem::CreateExclusive(const std::u16string& path, std::string_view bytes) const {
  const std::string name = text::Utf16ToUtf8(path);
  Fd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!fd.Valid()) {
    return false;
  }
  if (!WriteFully(fd.Get(), bytes) || !fd.Close()) {
    ::unlink(name.c_str());
    return false;
  }
  return true;
}

}  // namespace pellix::posix
