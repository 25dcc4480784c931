#pragma once
// Writing the model back: the settings file and the list files, each replaced whole.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"

namespace pellix::app {

// A file that could not be written, with what was to go in it, so that nothing of it is lost
// while the user decides (or, at the end of a session, so it can be kept elsewhere).
struct SaveFailure {
  std::u16string path;
  std::u16string message;
  std::string content;
};

class Saver {
 public:
  Saver(const io::FileSystem& files, const io::AppFolder& folder)
      : files_(&files), folder_(&folder) {}

  // Writes the settings file now, whatever was written before. Throws FileCreateError.
  void WriteSettings(const Model& model);

  // Writes the settings and the lists unless they are as this saver last wrote them, so the end
  // of a session that was saved when it was announced writes nothing twice. A file that cannot
  // be written does not stop the others; every failure is returned, and those files are written
  // again by the next call. A list file another instance changed is handed to `takeIn`, which
  // takes the change into the list, and written again.
  std::vector<SaveFailure> SaveChanges(
      const Model& model, const std::function<void(const std::u16string& path)>& takeIn = {});

 private:
  const io::FileSystem* files_;
  const io::AppFolder* folder_;
  std::optional<std::string> settingsWritten_;
  std::optional<std::uint64_t> listsWritten_;
};

std::u16string SettingsPath(const io::AppFolder& folder);

// Every list's file as the store holds it now: the ordinary lists in their order, then the
// Unicode list when it has a file to write.
template <typename OnFile>
void ForEachListFile(const lists::ListStore& store, const io::AppFolder& folder, OnFile&& onFile) {
  for (std::size_t index = 0; index < store.Count(); ++index) {
    const lists::ListSlot& slot = store.Slot(index);
    // A list still being read would write what it has read so far over its file.
    if (!lists::IsUnicodeListName(slot.name) && !slot.loading) {
      onFile(lists::ListFilePath(folder, slot.name),
             [&slot] { return lists::FormatListFileFrom(slot.items.Take()); });
    }
  }
  if (store.UnicodeFileToWrite()) {
    onFile(lists::ListFilePath(folder, lists::kUnicodeListName),
           [&store] { return lists::FormatUnicodeListFile(*store.UnicodeItems().Take()); });
  }
}

}  // namespace pellix::app
