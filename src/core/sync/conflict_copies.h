#pragma once
// The copies a sync service leaves when two machines changed one file before either saw the
// other's change: the one version keeps the name, the other is put beside it under a name of
// the service's making. They are found for every file the program keeps, merged, and removed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::sync {

// The file among `ownNames` whose conflict copy `name` is, if it is one:
//   "履歴.sync-conflict-20261209-153012-ABCDEF1.dat"           (one service's way),
//   "履歴 (pc-a's conflicted copy 2026-12-09).dat",
//   "履歴 (pc-a's conflicted copy 2026-12-09 (1)).dat"          (another's),
//   "履歴-DESKTOP7.dat", "履歴-DESKTOP7-2.dat"                    (a third's: the machine's name,
//                                                               which is upper case).
// A name that is itself one of `ownNames` is no copy, nor is a list file named like the third
// kind whose list has its filter file among `folderNames` (a list of that name, made elsewhere).
// Letter case is ignored, as Windows does.
std::optional<std::u16string> ConflictCopyOf(std::u16string_view name,
                                             const std::vector<std::u16string>& ownNames,
                                             const std::vector<std::u16string>& folderNames);

}  // namespace pellix::sync
