#include "core/lists/list_store.h"

#include <algorithm>

#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/sync/known_file.h"

namespace pellix::lists {

LoadedList ReadList(const io::FileSystem& files, const io::AppFolder& folder,
                    const text::TextServices& services, std::string_view name) {
  LoadedList list;
  const bool unicode = IsUnicodeListName(name);
  const std::u16string path = ListFilePath(folder, name);
  // Read with the version it is, so that a change another instance makes later is found.
  sync::FoundFile found = sync::ReadFound(files, path);
  list.slot = ListSlot{std::string(name), {}, filters::ReadFilterFile(files, folder, name)};
  sync::ListVersion version;
  version.file = found.known;
  if (found.known.stamp) {
    const std::string& content = found.content;
    if (unicode ? UnicodeListFileReadInPart(content) : ListFileReadInPart(content)) {
      list.partlyRead = PartlyRead{path, KeepOriginal(files, path, content)};
    }
    if (unicode) {
      // Its keys come from the list once it joins the store (AddLoadedList).
      list.unicodeItems = ParseUnicodeListFile(services, content);
    } else {
      list.slot.items = ParseItemList(content);
      version.keys = [items = list.slot.items.Take()] { return FileItemKeys(items); };
    }
  }
  if (unicode) {
    list.unicodeSynced = std::move(version);
  } else {
    list.slot.synced = std::move(version);
  }
  return list;
}

void ListStore::AddListSlot(const io::FileSystem& files, const io::AppFolder& folder,
                            const text::TextServices& services, std::string_view name) {
  // Everything that may throw comes first, so a failure leaves the store as it was.
  AddLoadedList(ReadList(files, folder, services, name));
}

void ListStore::AddLoadedList(LoadedList list) {
  const bool unicode = IsUnicodeListName(list.slot.name);
  if (list.partlyRead) {
    partlyRead_.push_back(std::move(*list.partlyRead));
  }
  slots_.push_back(std::move(list.slot));
  StampItems(ListId::Ansi(slots_.size() - 1));
  slots_.back().synced.itemsStamp = slots_.back().itemsStamp;
  if (unicode) {
    unicodeCapture_ = true;
    if (list.unicodeItems) {
      unicodeItems_ = SharedWideItems(std::move(*list.unicodeItems));
      opened_.Lost(ListId::Unicode());
      StampItems(ListId::Unicode());
      keys_.Unicode().Drop();
    }
    if (list.unicodeSynced) {
      unicodeSynced_ = std::move(*list.unicodeSynced);
      unicodeSynced_.itemsStamp = unicodeStamp_;
      unicodeSynced_.keys = [items = unicodeItems_.Take()] { return UnicodeFileItemKeys(*items); };
    }
  }
}

void ListStore::AddLoadingSlot(std::string name, filters::FilterDef filter) {
  ListSlot slot{std::move(name), {}, std::move(filter)};
  slot.loading = true;
  slots_.push_back(std::move(slot));
  StampItems(ListId::Ansi(slots_.size() - 1));
  slots_.back().synced.itemsStamp = slots_.back().itemsStamp;
}

bool ListStore::AnyLoading() const {
  return std::any_of(slots_.begin(), slots_.end(),
                     [](const ListSlot& slot) { return slot.loading; });
}

void ListStore::CompleteLoad(std::size_t index, LoadedList list) {
  ListSlot& slot = slots_.at(index);
  if (list.partlyRead) {
    partlyRead_.push_back(std::move(*list.partlyRead));
  }
  // What came in meanwhile (captures, an import) stays on top, the file's items below it.
  const bool untouched = slot.itemsStamp == slot.synced.itemsStamp;
  std::vector<std::string> meanwhile = slot.items.ToVector();
  slot.items = std::move(list.slot.items);
  slot.items.Insert(0, meanwhile);
  slot.synced = std::move(list.slot.synced);
  slot.loading = false;
  keys_.For(ListId::Ansi(index), [](auto& keys) { keys.Drop(); });
  StampItems(ListId::Ansi(index));
  // Unchanged meanwhile, the list is exactly its file.
  slot.synced.itemsStamp = untouched ? slot.itemsStamp : 0;
}

void ListStore::AddSlot(ListSlot slot) {
  unicodeCapture_ = unicodeCapture_ || IsUnicodeListName(slot.name);
  slots_.push_back(std::move(slot));
  StampItems(ListId::Ansi(slots_.size() - 1));
}

SwitchPlan ListStore::SwitchList(std::size_t index) {
  const ListSlot& slot = slots_.at(index);
  current_ = index;
  if (IsUnicodeListName(slot.name)) {
    return SwitchPlan{true, !unicodeItems_.empty()};
  }
  ansiShown_ = index;
  return SwitchPlan{false, !slot.items.empty()};
}

void ListStore::SaveListFiles(const io::FileSystem& files, const io::AppFolder& folder) const {
  std::u16string failures;
  const auto attempt = [&failures](auto&& write) {
    try {
      write();
    } catch (const io::AppError& error) {
      failures += failures.empty() ? u"" : u"\r\n";
      failures += error.Message();
    }
  };
  for (const ListSlot& slot : slots_) {
    if (!IsUnicodeListName(slot.name) && !slot.loading) {
      attempt([&] {
        files.WriteAll(ListFilePath(folder, slot.name), FormatListFileFrom(slot.items.Take()));
      });
    }
  }
  if (UnicodeFileToWrite()) {
    attempt([&] {
      files.WriteAll(ListFilePath(folder, kUnicodeListName),
                     FormatUnicodeListFile(*unicodeItems_.Take()));
    });
  }
  if (!failures.empty()) {
    throw io::AppError(failures);
  }
}

void ListStore::Clear() {
  slots_.clear();
  ++revision_;
  current_.reset();
  ansiShown_.reset();
  opened_.Close();
  keys_.Clear();
}

}  // namespace pellix::lists
