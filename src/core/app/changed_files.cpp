#include "core/app/changed_files.h"

#include "core/app/saver.h"
#include "core/lists/list_file.h"

namespace pellix::app {
namespace {

// Fills in a list write's outcome on the writer's thread: hashing a large list's items is work
// the window must not wait for.
// Only a list that lost items since its version is hashed, to tell what it lost.
std::function<void(WriteOutcome&)> ListVersionAfterWrite(const sync::SharedFiles* shared,
                                                         std::u16string path,
                                                         const sync::ListVersion& version,
                                                         std::uint64_t itemsStamp,
                                                         sync::KeysOf written) {
  return [=, base = version.keys, removed = version.removedSince](WriteOutcome& outcome) {
    if (removed) {
      std::vector<sync::ItemKey> before = base();
      std::vector<sync::ItemKey> after = written();
      std::sort(before.begin(), before.end());
      std::sort(after.begin(), after.end());
      outcome.lost = sync::KeysLost(before, after);
    }
    outcome.keys = written;
    outcome.itemsStamp = itemsStamp;
    outcome.written = shared != nullptr ? shared->Known(path) : std::nullopt;
  };
}

}  // namespace

void ChangedFiles::MarkWritten(const Model& model) {
  Visit(model, false, nullptr);
}

std::vector<FileWrite> ChangedFiles::Take(const Model& model) {
  std::vector<FileWrite> writes;
  Visit(model, true, &writes);
  return writes;
}

void ChangedFiles::Forget(const std::u16string& path) {
  stamps_.erase(path);
  if (path == SettingsPath(*folder_)) {
    settings_.reset();
  }
}

void ChangedFiles::Visit(const Model& model, bool format, std::vector<FileWrite>* writes) {
  const lists::ListStore& store = model.lists;
  const auto visit = [&](const std::u16string& path, std::uint64_t stamp, auto&& content) {
    const auto known = stamps_.find(path);
    if (known != stamps_.end() && known->second == stamp) {
      return;
    }
    stamps_[path] = stamp;
    if (format) {
      writes->push_back(content(path));
    }
  };
  for (std::size_t index = 0; index < store.Count(); ++index) {
    const lists::ListSlot& slot = store.Slot(index);
    // A list still being read would write what it has read so far over its file.
    if (!lists::IsUnicodeListName(slot.name) && !slot.loading) {
      visit(lists::ListFilePath(*folder_, slot.name), slot.itemsStamp,
            [&](const std::u16string& path) {
              // Formatted on the writer's thread from a snapshot: a list of any size costs the
              // window the chunks' pointers, never the formatting.
              const lists::ItemList::Snapshot items = slot.items.Take();
              FileWrite write(path, lists::ListFilePieces(items));
              write.afterWrite =
                  ListVersionAfterWrite(shared_, path, slot.synced, slot.itemsStamp,
                                        [items] { return lists::FileItemKeys(items); });
              return write;
            });
    }
  }
  if (store.UnicodeFileToWrite()) {
    // Kept whole, the Unicode list can hold hundreds of megabytes: it is formatted on the
    // writer's thread from a snapshot, which shares the texts instead of copying them.
    visit(lists::ListFilePath(*folder_, lists::kUnicodeListName),
          store.ItemsStamp(lists::ListId::Unicode()), [&](const std::u16string& path) {
            lists::SharedWideItems::Snapshot items = store.UnicodeItems().Take();
            FileWrite write(path, lists::UnicodeListFilePieces(items));
            write.afterWrite =
                ListVersionAfterWrite(shared_, path, store.Synced(lists::ListId::Unicode()),
                                      store.ItemsStamp(lists::ListId::Unicode()),
                                      [items] { return lists::UnicodeFileItemKeys(*items); });
            return write;
          });
  }
  // The settings are handed out once in any case: they may never have been written (a first
  // start), and they name the lists a crash must find again.
  if (!format) {
    return;
  }
  std::string settings = settings::FormatSettings(SettingsFromModel(model));
  if (settings != settings_) {
    writes->push_back(FileWrite(SettingsPath(*folder_), settings));
    settings_ = std::move(settings);
  }
}

}  // namespace pellix::app
