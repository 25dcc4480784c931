#pragma once
// The last resort for what cannot be written in the program's folder when the session ends and
// there is no time left to ask: the same files, under the same names and in the same formats,
// go to a folder of their own under the user's local application data, and the next start of
// the program from that folder says once where they are.

#include <optional>
#include <string>
#include <vector>

#include "core/app/saver.h"
#include "core/io/file_system.h"

namespace pellix::app {

// `root` is the recovery folder ("…\pellix\recovery\", with its separator), `occasion` names
// this occasion's subfolder (a time stamp). Returns the subfolder the files went to, or nothing
// when not even that could be written.
std::optional<std::u16string> KeepForRecovery(const io::FileSystem& files,
                                              const std::u16string& root,
                                              const std::u16string& exeDir,
                                              const std::u16string& occasion,
                                              const std::vector<SaveFailure>& failures);

// The subfolders kept for the program in `exeDir` that it has not told of yet, oldest first;
// after this call they count as told.
std::vector<std::u16string> TakeRecoveryNotes(const io::FileSystem& files,
                                              const std::u16string& root,
                                              const std::u16string& exeDir);

// What the user is told at the start.
std::u16string RecoveryMessage(const std::vector<std::u16string>& folders);

}  // namespace pellix::app
