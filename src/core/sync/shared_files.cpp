#include "core/sync/shared_files.h"

#include <utility>

#include "core/sync/content_hash.h"
#include "core/sync/key_merge.h"
#include "core/text/utf.h"

namespace pellix::sync {
namespace {

bool EndsWithIgnoringCase(std::u16string_view name, std::u16string_view end) {
  if (name.size() < end.size()) {
    return false;
  }
  const std::u16string_view tail = name.substr(name.size() - end.size());
  for (std::size_t i = 0; i < end.size(); ++i) {
    const char16_t a = tail[i] >= u'A' && tail[i] <= u'Z' ? tail[i] + 32 : tail[i];
    if (a != end[i]) {
      return false;
    }
  }
  return true;
}

std::string Joined(const io::FileSystem::Pieces& pieces) {
  std::string bytes;
  for (std::string_view piece = pieces(); !piece.empty(); piece = pieces()) {
    bytes.append(piece);
  }
  return bytes;
}

io::FileSystem::Pieces OnePiece(std::string_view bytes) {
  return [bytes, given = false]() mutable -> std::string_view {
    return std::exchange(given, true) ? std::string_view() : bytes;
  };
}

}  // namespace

ChangedElsewhere::ChangedElsewhere(const std::u16string& path)
    : io::AppError(u"ファイル " + path +
                   u" はほかの pellix が変更したため、取り込んでから保存します") {}

SharedKind SharedFiles::KindOf(const std::u16string& path) const {
  if (path.size() <= dir_.size() || path.compare(0, dir_.size(), dir_) != 0) {
    return SharedKind::kNone;
  }
  const std::u16string_view name = std::u16string_view(path).substr(dir_.size());
  if (name.find_first_of(u"\\/") != std::u16string_view::npos) {
    return SharedKind::kNone;
  }
  if (name.size() == 10 && EndsWithIgnoringCase(name, u"pellix.ini")) {
    return SharedKind::kSettings;
  }
  if (name.size() == 8 && EndsWithIgnoringCase(name, u"memo.txt")) {
    return SharedKind::kMemo;
  }
  if (name.size() > 4 && EndsWithIgnoringCase(name, u".flt")) {
    return SharedKind::kFilter;
  }
  if (name.size() > 4 && EndsWithIgnoringCase(name, u".dat")) {
    return SharedKind::kList;
  }
  return SharedKind::kNone;
}

std::optional<KnownFile> SharedFiles::Known(const std::u16string& path) const {
  const std::lock_guard guard(lock_);
  const auto found = entries_.find(path);
  return found == entries_.end() ? std::nullopt : std::optional<KnownFile>(found->second.known);
}

std::string SharedFiles::KnownContent(const std::u16string& path) const {
  const std::lock_guard guard(lock_);
  const auto found = entries_.find(path);
  return found == entries_.end() ? std::string() : found->second.content;
}

std::string SharedFiles::PreviousContent(const std::u16string& path) const {
  const std::lock_guard guard(lock_);
  const auto found = entries_.find(path);
  return found == entries_.end() ? std::string() : found->second.previous;
}

std::vector<std::u16string> SharedFiles::KnownPaths() const {
  const std::lock_guard guard(lock_);
  std::vector<std::u16string> paths;
  for (const auto& [path, entry] : entries_) {
    paths.push_back(path);
  }
  return paths;
}

bool SharedFiles::Adopt(const std::u16string& path, const KnownFile& from, const KnownFile& to,
                        std::string content, bool taken) {
  const std::lock_guard guard(lock_);
  // A file never read nor written here was known as missing.
  Entry& entry = entries_[path];
  if (entry.known != from) {
    return false;
  }
  entry.known = to;
  entry.previous = std::exchange(entry.content, std::move(content));
  entry.written = entry.written && !taken;
  return true;
}

std::vector<std::u16string> SharedFiles::TakeKeptMemos() {
  const std::lock_guard guard(lock_);
  return std::exchange(keptMemos_, {});
}

std::string SharedFiles::ReadAll(const std::u16string& path) const {
  const SharedKind kind = KindOf(path);
  if (kind == SharedKind::kNone) {
    return files_.ReadAll(path);
  }
  FoundFile found = ReadFound(files_, path);
  if (!found.known.stamp) {
    throw io::FileOpenError(path);
  }
  const std::lock_guard guard(lock_);
  Entry& entry = entries_[path];
  entry.known = found.known;
  if (kind != SharedKind::kList) {
    entry.previous = std::exchange(entry.content, found.content);
  }
  entry.written = false;
  return std::move(found.content);
}

void SharedFiles::WriteAll(const std::u16string& path, std::string_view bytes) const {
  WriteStream(path, OnePiece(bytes));
}

void SharedFiles::WriteStream(const std::u16string& path, const Pieces& pieces) const {
  const SharedKind kind = KindOf(path);
  if (kind == SharedKind::kNone) {
    files_.WriteStream(path, pieces);
    return;
  }
  if (kind != SharedKind::kList) {
    WriteLines(path, kind, Joined(pieces));
    return;
  }
  // A list this instance never read must not be there yet: it is a new list's.
  const KnownFile over = Known(path).value_or(KnownFile{});
  const KnownFile written = Replace(path, over, pieces);
  const std::lock_guard guard(lock_);
  entries_[path].known = written;
}

KnownFile SharedFiles::Replace(const std::u16string& path, const KnownFile& over,
                               const Pieces& pieces) const {
  std::optional<KnownFile> written = ReplaceIfUnchanged(files_, path, over, pieces, options_.lock);
  if (!written) {
    throw ChangedElsewhere(path);
  }
  return *written;
}

void SharedFiles::WriteLines(const std::u16string& path, SharedKind kind, std::string mine) const {
  const std::optional<FileLock> held =
      FileLock::Take(files_, path, options_.lock.owner, options_.lock.timing);
  if (!held) {
    throw io::FileCreateError(path, u"ほかの pellix がこのファイルを使用中です");
  }
  Entry entry;
  {
    const std::lock_guard guard(lock_);
    entry = entries_[path];
  }
  const std::string& before = entry.written ? entry.mine : entry.content;
  std::string content;
  if (StillAsKnown(files_, path, entry.known)) {
    content = kind == SharedKind::kMemo ? mine : MergeKeyLines(entry.content, before, mine);
  } else {
    const FoundFile found = ReadFound(files_, path);
    if (kind != SharedKind::kMemo) {
      content = MergeKeyLines(found.content, before, mine);
    } else {
      // Free text does not merge: the other machine's memo is kept whole beside this one's.
      if (found.known.stamp && found.content != mine && found.content != entry.content) {
        const std::u16string kept = KeptMemoPath(files_, dir_, options_.timestamp());
        files_.WriteAll(kept, found.content);
        const std::lock_guard guard(lock_);
        keptMemos_.push_back(kept);
      }
      content = mine;
    }
  }
  files_.WriteAll(path, content);
  const KnownFile written{files_.Stat(path), HashBytes(content)};
  const std::lock_guard guard(lock_);
  entries_[path] =
      Entry{written, std::move(content), std::move(entry.content), std::move(mine), true};
}

std::u16string KeptMemoPath(const io::FileSystem& files, const std::u16string& dir,
                            const std::u16string& timestamp) {
  const std::u16string stem = dir + u"memo-" + timestamp;
  std::u16string path = stem + u".txt";
  for (int n = 2; files.Exists(path); ++n) {
    path = stem + u"-" + text::Utf8ToUtf16(std::to_string(n)) + u".txt";
  }
  return path;
}

bool SharedFiles::Remove(const std::u16string& path) const {
  if (!files_.Remove(path)) {
    return false;
  }
  const std::lock_guard guard(lock_);
  entries_.erase(path);
  return true;
}

bool SharedFiles::Rename(const std::u16string& from, const std::u16string& to) const {
  if (!files_.Rename(from, to)) {
    return false;
  }
  const std::lock_guard guard(lock_);
  const auto found = entries_.find(from);
  if (found != entries_.end()) {
    Entry moved = std::move(found->second);
    entries_.erase(found);
    if (KindOf(to) != SharedKind::kNone) {
      entries_[to] = std::move(moved);
    }
  }
  return true;
}

}  // namespace pellix::sync
