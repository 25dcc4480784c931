#include "core/app/folder_sync.h"

#include <set>

#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/lists/list_file.h"

namespace pellix::app {
namespace {

// The names of the files of the lists a settings file names ("list3=name").
std::vector<std::u16string> ListFileNames(const std::string& settings,
                                          const io::AppFolder& folder) {
  std::vector<std::u16string> names;
  std::size_t start = 0;
  while (start < settings.size()) {
    std::size_t end = settings.find_first_of("\r\n", start);
    end = end == std::string::npos ? settings.size() : end;
    const std::string_view line = std::string_view(settings).substr(start, end - start);
    const std::size_t equals = line.find('=');
    std::string key(line.substr(0, std::min(equals, line.size())));
    for (char& ch : key) {
      ch = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
    }
    if (equals != std::string_view::npos && key.size() > 4 && key.starts_with("list") &&
        key.find_first_not_of("0123456789", 4) == std::string::npos && equals + 1 < line.size()) {
      const std::string_view name = line.substr(equals + 1);
      for (const std::u16string_view extension : {u".dat", u".flt"}) {
        names.push_back(folder.PathFor(name, extension).substr(folder.Dir().size()));
      }
    }
    start = end + 1;
  }
  return names;
}

// Whether the two lists hold the same texts, each as often, in any order.
template <typename Items, typename Found>
bool SameTexts(const Items& here, const Found& found) {
  if (here.size() != found.size() || found.empty()) {
    return false;
  }
  return sync::SortedKeys(here) == sync::SortedKeys(found);
}

}  // namespace

std::optional<lists::ListId> FolderSync::ListAt(const std::u16string& path) const {
  const lists::ListStore& store = model_.lists;
  for (std::size_t index = 0; index < store.Count(); ++index) {
    const std::string& name = store.Slot(index).name;
    if (lists::ListFilePath(folder_, name) == path) {
      return lists::IsUnicodeListName(name) ? lists::ListId::Unicode() : lists::ListId::Ansi(index);
    }
  }
  if (store.UnicodeCapture() && lists::ListFilePath(folder_, lists::kUnicodeListName) == path) {
    return lists::ListId::Unicode();
  }
  return std::nullopt;
}

std::optional<std::size_t> FolderSync::FilterAt(const std::u16string& path) const {
  const lists::ListStore& store = model_.lists;
  for (std::size_t index = 0; index < store.Count(); ++index) {
    if (filters::FilterFilePath(folder_, store.Slot(index).name) == path) {
      return index;
    }
  }
  return std::nullopt;
}

LookRequest FolderSync::Request() const {
  LookRequest request;
  request.dir = folder_.Dir();
  const lists::ListStore& store = model_.lists;
  const auto addList = [&](lists::ListId id, const std::u16string& path) {
    const sync::ListVersion& version = store.Synced(id);
    if (shared_.Known(path).value_or(sync::KnownFile{}) == version.file) {
      request.lists.push_back(LookRequest::List{path, id.unicode, version.file, version.keys});
    }
  };
  for (std::size_t index = 0; index < store.Count(); ++index) {
    const std::string& name = store.Slot(index).name;
    if (!lists::IsUnicodeListName(name) && !store.Slot(index).loading) {
      addList(lists::ListId::Ansi(index), lists::ListFilePath(folder_, name));
    }
  }
  if (store.UnicodeCapture()) {
    addList(lists::ListId::Unicode(), lists::ListFilePath(folder_, lists::kUnicodeListName));
  }
  for (const std::u16string& path : shared_.KnownPaths()) {
    const sync::SharedKind kind = shared_.KindOf(path);
    if (kind == sync::SharedKind::kList || kind == sync::SharedKind::kNone) {
      continue;
    }
    request.lines.push_back(LookRequest::Lines{path, kind, *shared_.Known(path),
                                               shared_.KnownContent(path),
                                               shared_.PreviousContent(path)});
    if (kind == sync::SharedKind::kSettings) {
      request.otherOwnNames = ListFileNames(request.lines.back().content, folder_);
    }
  }
  return request;
}

TakenIn FolderSync::TakeIn(LookResult result, const std::function<bool(std::size_t)>& editing,
                           ChangedFiles& changed) {
  TakenIn taken;
  // A file and its conflict copies were compared with one version: the copies are taken in
  // after the file, on top of what it brought.
  std::set<std::u16string> moved;
  for (ListFound& found : result.lists) {
    const std::u16string path = found.path;
    const bool copy = found.copy.has_value();
    if (TakeInList(std::move(found), moved.contains(path), changed, taken) && !copy) {
      moved.insert(path);
    }
  }
  for (LinesFound& found : result.lines) {
    TakeInLines(std::move(found), editing, taken);
  }
  taken.keptMemos = std::move(result.keptMemos);
  return taken;
}

bool FolderSync::TakeInList(ListFound found, bool continuing, ChangedFiles& changed,
                            TakenIn& taken) {
  const std::optional<lists::ListId> id = ListAt(found.path);
  if (!id) {
    return false;  // no longer loaded here
  }
  lists::ListStore& store = model_.lists;
  const sync::ListVersion& version = store.Synced(*id);
  if (!continuing && (version.file != found.from ||
                      shared_.Known(found.path).value_or(sync::KnownFile{}) != found.from)) {
    taken.lookAgain = true;  // written or taken in since the look began
    return false;
  }
  const bool unchangedHere = store.ItemsStamp(*id) == version.itemsStamp;
  const bool simple = id->unicode ? found.wide.simple : found.ansi.simple;
  const std::vector<sync::ItemKey>& lost = id->unicode ? found.wide.lost : found.ansi.lost;
  std::vector<sync::ItemKey> foundKeys =
      id->unicode ? std::move(found.wide.foundKeys) : std::move(found.ansi.foundKeys);
  const sync::MergePlan plan = id->unicode ? sync::PlanMerge(found.wide, store.UnicodeItems(),
                                                             found.mode, version.removedLately)
                                           : sync::PlanMerge(found.ansi, store.Slot(id->slot).items,
                                                             found.mode, version.removedLately);
  ListTakenIn list{*id, plan.removeAscending, plan.addTopFirst.size(), false};
  // Two sides that took in each other's conflicting versions hold the same texts, each in its
  // own order: the one whose version lost takes the file's order and writes nothing, instead of
  // making yet another conflict with it.
  const bool sameTexts = !found.copy && plan.Empty() && found.mode == sync::MergeMode::kAddOnly &&
                         (id->unicode ? SameTexts(store.UnicodeItems(), found.wideItems)
                                      : SameTexts(store.Slot(id->slot).items, found.ansiItems));
  if (sameTexts ||
      (!found.copy && unchangedHere && found.mode == sync::MergeMode::kBoth && !simple)) {
    // Nothing changed here: the list becomes the other's exactly, moves and edits included.
    list.replaced = true;
    if (id->unicode) {
      store.SetUnicodeItems(std::move(found.wideItems));
    } else {
      store.SetItems(id->slot, std::move(found.ansiItems));
    }
  } else if (!plan.Empty()) {
    store.RemoveItems(*id, plan.removeAscending);
    if (id->unicode) {
      lists::WideItems texts;
      for (const std::size_t k : plan.addTopFirst) {
        texts.push_back(std::move(found.wide.added[k]));
      }
      store.InsertUnicodeItems(0, std::move(texts));
    } else {
      lists::Items texts;
      for (const std::size_t k : plan.addTopFirst) {
        texts.push_back(std::move(found.ansi.added[k]));
      }
      store.InsertItems(id->slot, 0, std::move(texts));
    }
  }
  if (list.replaced || !plan.Empty()) {
    taken.lists.push_back(std::move(list));
  }
  if (found.copy) {
    // The copy goes once the list is saved with what it brought; at once when it brought
    // nothing and the list is saved.
    if (plan.Empty() && unchangedHere) {
      done_.push_back(*found.copy);
    } else {
      pending_.push_back(PendingCopy{found.path, *found.copy, store.ItemsStamp(*id)});
      changed.Forget(found.path);  // written even when the copy brought nothing new
    }
    return true;
  }
  const sync::KnownFile from = shared_.Known(found.path).value_or(sync::KnownFile{});
  shared_.Adopt(found.path, from, found.found, {}, true);
  sync::ListVersion next;
  next.file = found.found;
  next.keys = sync::KeysMade(std::move(foundKeys));
  // Unchanged here, the list is now exactly the file; otherwise it holds changes of its own
  // and is written again.
  const bool sameAsFile = sameTexts || (unchangedHere && (simple || list.replaced) &&
                                        found.mode == sync::MergeMode::kBoth);
  next.itemsStamp = sameAsFile ? store.ItemsStamp(*id) : 0;
  store.SetSynced(*id, std::move(next), lost);
  if (sameAsFile) {
    changed.MarkListWritten(found.path, store.ItemsStamp(*id));
  } else {
    // What this list holds beyond the file goes to the file, whether or not the change taken
    // in touched the list here.
    changed.Forget(found.path);
  }
  return true;
}

void FolderSync::TakeInLines(LinesFound found, const std::function<bool(std::size_t)>& editing,
                             TakenIn& taken) {
  switch (found.kind) {
    case sync::SharedKind::kSettings:
      // The running program keeps its own settings; what another instance changed stays in the
      // file (the next write merges it in) and takes effect at the next start.
      shared_.Adopt(found.path, found.from, found.found, std::move(found.content), false);
      return;
    case sync::SharedKind::kFilter: {
      const std::optional<std::size_t> slot = FilterAt(found.path);
      if (!slot || editing(*slot)) {
        return;  // the editor's OK merges it in, key by key
      }
      try {
        filters::FilterDef def =
            filters::ParseFilterFile(found.content, found.path.substr(folder_.Dir().size()));
        def.filname = model_.lists.Slot(*slot).name;
        model_.lists.SetFilter(*slot, std::move(def));
        taken.filtersRead.push_back(*slot);
        shared_.Adopt(found.path, found.from, found.found, std::move(found.content), true);
      } catch (const io::AppError&) {
        // Not a filter this version can read: the list keeps its own, and writes it merged.
        shared_.Adopt(found.path, found.from, found.found, std::move(found.content), false);
      }
      return;
    }
    case sync::SharedKind::kMemo:
      taken.memo = std::move(found);
      return;
    default:
      return;
  }
}

void FolderSync::Written(const WriteOutcome& outcome) {
  const std::optional<lists::ListId> id = ListAt(outcome.path);
  if (!id || !outcome.written || !outcome.keys) {
    return;
  }
  sync::ListVersion next;
  next.file = *outcome.written;
  next.keys = outcome.keys;
  next.itemsStamp = outcome.itemsStamp;
  model_.lists.SetSynced(*id, std::move(next), outcome.lost);
  std::erase_if(pending_, [&](const PendingCopy& copy) {
    if (copy.listPath != outcome.path || copy.itemsStamp > outcome.itemsStamp) {
      return false;
    }
    done_.push_back(copy.copy);
    return true;
  });
}

TakenIn FolderSync::TakeInNow(const io::FileSystem& files, const std::u16string& path,
                              ChangedFiles& changed) {
  LookRequest request = Request();
  std::erase_if(request.lists, [&](const LookRequest::List& list) { return list.path != path; });
  request.lines.clear();
  const sync::LockSettings unused{"", {}};
  return TakeIn(
      LookAt(files, services_, request, unused, [] { return std::u16string(); }),
      [](std::size_t) { return false; }, changed);
}

}  // namespace pellix::app
