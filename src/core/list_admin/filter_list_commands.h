#pragma once
// The filter list dialog's commands on the list store and the lists' files. Each returns what
// the dialog and the main window must show; a refusal changes nothing. The dialog's rows, the
// selector and the drop list are drawn from the store, so they stay in step with it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/list_admin/refusal.h"
#include "core/lists/list_store.h"
#include "core/text/text_services.h"

namespace pellix::list_admin {

inline constexpr std::u16string_view kAlreadyLoadedMessage = u"すでにロードされています！";
inline constexpr std::u16string_view kRenameTakenMessage = u"すでにその名前のフィルターがあります";

struct LoadOutcome {
  std::optional<Refusal> refusal;
  std::optional<std::size_t> added;  // the new list's index, the last one

  friend bool operator==(const LoadOutcome&, const LoadOutcome&) = default;
};

// 読み込み of the file at `chosenPath`: only its name counts. The list named after it (without
// folder and extension) is added from the files of that name in the program's folder, wherever
// the chosen file lies. A filter file missing there throws FileOpenError, and the store stays
// as it was.
LoadOutcome LoadList(lists::ListStore& store, const io::FileSystem& files,
                     const io::AppFolder& folder, const text::TextServices& services,
                     std::u16string_view chosenPath);

struct RenameOutcome {
  std::optional<Refusal> refusal;
  bool renamed = false;  // row `index` shows the new name; the current list is still current

  friend bool operator==(const RenameOutcome&, const RenameOutcome&) = default;
};

// 名前変更 of list `index` to `newName` (code page 932; the old name when the box was
// cancelled). The list's filter file gets the new name in its filname line and then the new
// name, and its list file the new name too; a file that cannot be renamed keeps its old name,
// and no file is ever renamed over another. A filter file that cannot be read or written
// throws, and then nothing has changed.
RenameOutcome RenameList(lists::ListStore& store, const io::FileSystem& files,
                         const io::AppFolder& folder, const text::TextServices& services,
                         std::size_t index, std::string_view newName);

struct DeleteOutcome {
  // The current list went: the main window shows `current` now, as `plan` says (the Unicode
  // view or the ANSI one), or no list when `current` is nullopt.
  bool currentChanged = false;
  std::optional<std::size_t> current;
  lists::SwitchPlan plan;
  // The list under the ANSI view went: that view is empty until another list is shown.
  bool ansiViewEmptied = false;
};

// 削除 of list `index`. Its files stay, so that loading its filter file brings it back.
DeleteOutcome DeleteList(lists::ListStore& store, std::size_t index);

enum class Direction { kUp, kDown };

// ↑ and ↓: exchanges list `index` with its neighbour and returns the moved list's new index
// (the row to select); nullopt at the top or the bottom. No file changes.
std::optional<std::size_t> MoveList(lists::ListStore& store, std::size_t index,
                                    Direction direction);

}  // namespace pellix::list_admin
