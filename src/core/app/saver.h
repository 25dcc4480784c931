#pragma once
// Writing the model back: the settings file and the list files, each replaced whole.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"

namespace pellix::app {

class Saver {
 public:
  Saver(const io::FileSystem& files, const io::AppFolder& folder)
      : files_(&files), folder_(&folder) {}

  // Writes the settings file now, whatever was written before. Throws FileCreateError.
  void WriteSettings(const Model& model);

  // Writes the settings and the lists unless they are as this saver last wrote them, so the end
  // of a session that was saved when it was announced writes nothing twice. A file that cannot
  // be written does not stop the others; the messages of every failure are returned.
  std::vector<std::u16string> SaveChanges(const Model& model);

 private:
  const io::FileSystem* files_;
  const io::AppFolder* folder_;
  std::optional<std::string> settingsWritten_;
  std::optional<std::uint64_t> listsWritten_;
};

std::u16string SettingsPath(const io::AppFolder& folder);

}  // namespace pellix::app
