#include "core/app/changed_files.h"

#include "core/app/saver.h"
#include "core/lists/list_file.h"

namespace pellix::app {

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
    if (!lists::IsUnicodeListName(slot.name)) {
      visit(lists::ListFilePath(*folder_, slot.name), slot.itemsStamp,
            [&](const std::u16string& path) {
              return FileWrite(path, lists::FormatListFile(slot.items));
            });
    }
  }
  if (store.UnicodeFileToWrite()) {
    // Kept whole, the Unicode list can hold hundreds of megabytes: it is formatted on the
    // writer's thread from a snapshot, which shares the texts instead of copying them.
    visit(lists::ListFilePath(*folder_, lists::kUnicodeListName),
          store.ItemsStamp(lists::ListId::Unicode()), [&](const std::u16string& path) {
            return FileWrite(path, lists::UnicodeListFilePieces(store.UnicodeItems().Take()));
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
