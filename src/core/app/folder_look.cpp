#include "core/app/folder_look.h"

#include <map>

#include "core/io/errors.h"
#include "core/sync/conflict_copies.h"
#include "core/sync/key_merge.h"

namespace pellix::app {
namespace {

io::FileSystem::Pieces OnePiece(const std::string& bytes) {
  return [&bytes, given = false]() mutable -> std::string_view {
    return std::exchange(given, true) ? std::string_view() : std::string_view(bytes);
  };
}

// The conflict copies in the folder, by the name of the file they are copies of.
std::map<std::u16string, std::vector<std::u16string>> CopiesIn(
    const std::vector<std::u16string>& names, const std::vector<std::u16string>& ownNames) {
  std::map<std::u16string, std::vector<std::u16string>> copies;
  for (const std::u16string& name : names) {
    if (std::optional<std::u16string> own = sync::ConflictCopyOf(name, ownNames, names)) {
      copies[*own].push_back(name);
    }
  }
  return copies;
}

// `whole`: the found list is kept whole too, for a list here that may take it over as it is.
ListFound Compared(const text::TextServices& services, const LookRequest::List& list,
                   const std::vector<sync::ItemKey>& base, sync::FoundFile found, bool whole) {
  ListFound result;
  result.path = list.path;
  result.unicode = list.unicode;
  result.from = list.from;
  result.found = found.known;
  if (list.unicode) {
    lists::WideItems items = lists::ParseUnicodeListFile(services, found.content);
    result.wide = sync::CompareLists(base, items);
    if (whole || !result.wide.simple) {
      result.wideItems = std::move(items);
    }
  } else {
    lists::Items items = lists::ParseListFile(found.content);
    result.ansi = sync::CompareLists(base, items);
    if (whole || !result.ansi.simple) {
      result.ansiItems = std::move(items);
    }
  }
  return result;
}

void LookAtList(const io::FileSystem& files, const text::TextServices& services,
                const LookRequest::List& list, const std::vector<std::u16string>& copies,
                const std::u16string& dir, LookResult& result) {
  // The version's keys are made only when something is to be measured against them.
  std::optional<std::vector<sync::ItemKey>> keys;
  const auto base = [&]() -> const std::vector<sync::ItemKey>& {
    if (!keys) {
      keys = list.keys();
    }
    return *keys;
  };
  if (!sync::StillAsKnown(files, list.path, list.from)) {
    sync::FoundFile found = sync::ReadFound(files, list.path);
    // A list file gone is no list emptied: the list was removed elsewhere, and goes from the
    // settings at the next start. Until then it is kept here, and written again.
    if (found.known.stamp) {
      // Beside a copy of a conflict, the file may be the other side's version that replaced
      // this one's: what it lacks may only be what it never saw. Then the list here may hold
      // the same texts in another order, and takes the file's, so that the two sides agree.
      ListFound changed = Compared(services, list, base(), std::move(found), !copies.empty());
      changed.mode = copies.empty() ? sync::MergeMode::kBoth : sync::MergeMode::kAddOnly;
      result.lists.push_back(std::move(changed));
    }
  }
  for (const std::u16string& copy : copies) {
    ListFound copied = Compared(services, list, base(), sync::ReadFound(files, dir + copy), false);
    copied.mode = sync::MergeMode::kAddOnly;
    copied.copy = dir + copy;
    result.lists.push_back(std::move(copied));
  }
}

void LookAtLines(const io::FileSystem& files, const LookRequest::Lines& lines,
                 const std::vector<std::u16string>& copies, const std::u16string& dir,
                 const sync::LockSettings& lock, const std::function<std::u16string()>& timestamp,
                 LookResult& result) {
  std::string current = lines.content;
  std::string before = lines.previous;
  sync::KnownFile known = lines.from;
  std::optional<std::size_t> reported;
  if (!sync::StillAsKnown(files, lines.path, lines.from)) {
    sync::FoundFile found = sync::ReadFound(files, lines.path);
    if (!found.known.stamp) {
      return;  // removed elsewhere: written again by this instance when it saves
    }
    before = std::exchange(current, found.content);
    known = found.known;
    reported = result.lines.size();
    result.lines.push_back(
        LinesFound{lines.path, lines.kind, lines.from, found.known, std::move(found.content)});
  }
  for (const std::u16string& name : copies) {
    const std::u16string copy = dir + name;
    const std::string copied = files.ReadAll(copy);
    if (lines.kind == sync::SharedKind::kMemo) {
      // Free text does not merge: unless it holds what is known already, it is kept under a
      // name that says what it is.
      if (copied == current || copied == lines.content) {
        files.Remove(copy);
      } else {
        const std::u16string kept = sync::KeptMemoPath(files, dir, timestamp());
        if (files.Rename(copy, kept)) {
          result.keptMemos.push_back(kept);
        }
      }
      continue;
    }
    // The copy's own changes, measured from where it most likely started, go into the file.
    std::string merged = sync::MergeKeyLines(current, before, copied);
    if (merged != current) {
      const std::optional<sync::KnownFile> written =
          sync::ReplaceIfUnchanged(files, lines.path, known, OnePiece(merged), lock);
      if (!written) {
        return;  // changed meanwhile: the next look takes it from there
      }
      known = *written;
      current = merged;
      LinesFound now{lines.path, lines.kind, lines.from, known, std::move(merged)};
      if (reported) {
        result.lines[*reported] = std::move(now);
      } else {
        reported = result.lines.size();
        result.lines.push_back(std::move(now));
      }
    }
    files.Remove(copy);
  }
}

}  // namespace

LookResult LookAt(const io::FileSystem& files, const text::TextServices& services,
                  const LookRequest& request, const sync::LockSettings& lock,
                  const std::function<std::u16string()>& timestamp) {
  const std::u16string& dir = request.dir;
  std::vector<std::u16string> ownNames = request.otherOwnNames;
  for (const LookRequest::List& list : request.lists) {
    ownNames.push_back(list.path.substr(dir.size()));
  }
  for (const LookRequest::Lines& lines : request.lines) {
    ownNames.push_back(lines.path.substr(dir.size()));
  }
  const std::map<std::u16string, std::vector<std::u16string>> copies =
      CopiesIn(files.FileNames(dir), ownNames);
  const auto copiesOf = [&](const std::u16string& path) {
    const auto found = copies.find(path.substr(dir.size()));
    return found == copies.end() ? std::vector<std::u16string>() : found->second;
  };
  LookResult result;
  // A file that cannot be read now (held, gone between two looks) is looked at next time.
  for (const LookRequest::List& list : request.lists) {
    try {
      LookAtList(files, services, list, copiesOf(list.path), dir, result);
    } catch (const io::AppError&) {
    }
  }
  for (const LookRequest::Lines& lines : request.lines) {
    try {
      LookAtLines(files, lines, copiesOf(lines.path), dir, lock, timestamp, result);
    } catch (const io::AppError&) {
    }
  }
  return result;
}

}  // namespace pellix::app
