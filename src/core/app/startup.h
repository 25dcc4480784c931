#pragma once
// The start-up's part that is about data: which lists are added, which one is shown, what the
// capture's repeat check starts from, the options and the hotkey.

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/app/background_task.h"
#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/settings/settings_file.h"
#include "core/text/text_services.h"

namespace pellix::app {

// A list whose file is read while the program already runs: a large list would hold up the
// window's first showing. The read starts when asked to (once the window shows), on a thread of
// its own, which is joined when this goes.
class ListRead {
 public:
  ListRead(std::size_t slot, std::function<lists::LoadedList()> read, std::function<void()> onRead)
      : slot_(slot), task_(std::move(read), std::move(onRead)) {}

  std::size_t Slot() const { return slot_; }
  // `onThreadStart` runs first on the read's thread (the program lowers its priority there).
  void Start(const std::function<void()>& onThreadStart) { task_.Start(onThreadStart); }
  bool Ready() const { return task_.Ready(); }
  // The list read; waits for it, or reads it here when it was not started. Throws what the
  // read threw.
  lists::LoadedList Take() { return task_.Take(); }

 private:
  std::size_t slot_;
  BackgroundTask<lists::LoadedList> task_;
};

// Lists larger than this are read while the program runs, the shown one only when larger than
// the second: a usable window comes first, and the shown list with it where it can. Lists not
// shown wait for nothing the user sees, so only the small ones, which cost less than the thread
// a later read takes, are read at start.
inline constexpr std::uint64_t kReadAtStartBytes = 64u << 10;
inline constexpr std::uint64_t kShownReadAtStartBytes = 16u << 20;

// Fills a fresh model from the settings file's plan, or, without a settings file (nullopt) or
// when it names no list, with the three lists of a first start. Every list name is checked
// before any file is read: a name that is no plain file name would reach files outside the
// program's folder, so it throws before the store changes. A list whose files cannot be read
// throws too. Afterwards the list named by the plan's view is current (none when the view lies
// outside the lists), and when that is an ordinary list with items, its first item is the
// capture's last text.
//
// Large lists (see kReadAtStartBytes) join the store empty and Loading; their reads are returned
// and go on in the background, each calling `onRead` (on its own thread) when it is done. Their
// files are read with `files`, which must outlive the reads.
std::vector<ListRead> LoadModel(Model& model, const std::optional<settings::SettingsPlan>& plan,
                                const io::FileSystem& files, const io::AppFolder& folder,
                                const text::TextServices& services,
                                const std::function<void()>& onRead = {});

// The start from the program's folder: the leftovers of a save a crash cut short are cleaned up
// (the file it was to replace is whole; `tag` tells this installation's own), pellix.ini is read
// when there is one, and the model loaded as LoadModel does. True when pellix.ini existed; a
// first start has none.
struct FolderLoad {
  bool settingsExisted = false;
  std::vector<ListRead> reads;  // the large lists, still being read
};
FolderLoad LoadFromFolder(Model& model, const io::FileSystem& files, const io::AppFolder& folder,
                          const text::TextServices& services, std::u16string_view tag,
                          const std::function<void()>& onRead = {});

}  // namespace pellix::app
