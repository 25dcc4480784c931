#pragma once
// Which of the files that hold the lists and the settings are out of date, handed out so that
// another thread can write them without looking at the model: formatted on the thread that owns
// the model, or, for the Unicode list, as a snapshot that the writer formats itself.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/app/background_writer.h"
#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/sync/shared_files.h"

namespace pellix::app {

class ChangedFiles {
 public:
  // With `shared`, a list's write tells in its outcome the version the file is then, so that the
  // list is known to be built on it.
  explicit ChangedFiles(const io::AppFolder& folder, const sync::SharedFiles* shared = nullptr)
      : folder_(&folder), shared_(shared) {}

  // Counts the lists the model holds now as written: the files they were just loaded from.
  void MarkWritten(const Model& model);

  // The files whose content changed since they were last marked or taken, each formatted now,
  // and counts them as written.
  std::vector<FileWrite> Take(const Model& model);

  // A write of `path` failed: the next Take hands the file out again.
  void Forget(const std::u16string& path);
  // The list file `path` holds the list as it is at `itemsStamp` (it took in what another
  // instance wrote, and nothing else changed): nothing to write.
  void MarkListWritten(const std::u16string& path, std::uint64_t itemsStamp) {
    stamps_[path] = itemsStamp;
  }
  // Every file is handed out again by the next Take.
  void ForgetAll() {
    stamps_.clear();
    settings_.reset();
  }

 private:
  void Visit(const Model& model, bool format, std::vector<FileWrite>* writes);

  const io::AppFolder* folder_;
  const sync::SharedFiles* shared_;
  std::map<std::u16string, std::uint64_t> stamps_;  // a list file's path: the stamp written
  std::optional<std::string> settings_;
};

}  // namespace pellix::app
