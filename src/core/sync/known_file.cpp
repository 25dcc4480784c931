#include "core/sync/known_file.h"

#include "core/io/errors.h"
#include "core/sync/content_hash.h"

namespace pellix::sync {

bool StillAsKnown(const io::FileSystem& files, const std::u16string& path, const KnownFile& known) {
  const std::optional<io::FileStamp> now = files.Stat(path);
  if (now != known.stamp || !now) {
    // Gone is no version another instance made: the file (or what stands in its way) is
    // written as if it were as known, and fails or not on its own.
    return !now;
  }
  // Only a version written within the last seconds can share its stamp with a later one.
  const std::int64_t age = files.StampNow() - now->writeTime;
  if (now->size >= kCompareContentBelow || age > kCoarseTimes * io::kStampTicksPerSecond) {
    return true;
  }
  try {
    return HashBytes(files.ReadAll(path)) == known.contentHash;
  } catch (const io::AppError&) {
    return false;  // gone or held between the two looks: changed
  }
}

FoundFile ReadFound(const io::FileSystem& files, const std::u16string& path) {
  // A write can land between the stamp and the read: the two are taken again until they agree.
  for (int attempt = 0;; ++attempt) {
    const std::optional<io::FileStamp> before = files.Stat(path);
    if (!before) {
      return FoundFile{};
    }
    std::string content = files.ReadAll(path);
    const std::optional<io::FileStamp> after = files.Stat(path);
    if ((after == before && content.size() == before->size) || attempt == 3) {
      const std::uint64_t hash = HashBytes(content);
      return FoundFile{KnownFile{after, hash}, std::move(content)};
    }
  }
}

std::optional<KnownFile> ReplaceIfUnchanged(const io::FileSystem& files, const std::u16string& path,
                                            const KnownFile& known,
                                            const io::FileSystem::Pieces& pieces,
                                            const LockSettings& lock) {
  const std::optional<FileLock> held = FileLock::Take(files, path, lock.owner, lock.timing);
  if (!held) {
    throw io::FileCreateError(path, u"ほかの pellix がこのファイルを使用中です");
  }
  if (!StillAsKnown(files, path, known)) {
    return std::nullopt;
  }
  StreamHash hash;
  files.WriteStream(path, [&pieces, &hash]() -> std::string_view {
    const std::string_view piece = pieces();
    hash.Add(piece);
    return piece;
  });
  return KnownFile{files.Stat(path), hash.Value()};
}

}  // namespace pellix::sync
