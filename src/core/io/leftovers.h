#pragma once
// What a save or a rename that a crash or a kill cut short left in the program's folder. The
// folder may be one the user keeps other things in (Downloads, the desktop), so only files that
// are plainly this program's own are touched.

#include <string>
#include <string_view>

#include "core/io/file_system.h"

namespace pellix::io {

// Whether `name` (a file name without folder) is one this program writes: a list, a filter, a
// copy kept of a list, the settings or the memo.
bool IsOwnFileName(std::u16string_view name);

// Removes the temporary files of writes cut short (the files they were to replace are whole)
// and puts back under its name a file caught between the two moves of a rename of letter case,
// where the start would otherwise miss it. `dir` ends with its separator.
//
// Other instances may share the folder (two PCs) and be writing right now: only what carries
// this installation's `tag` is its own ("履歴.dat.<tag>.saving", a lock file it holds); files
// without a tag (an earlier version's) count as left over only once they are a minute old.
void CleanUpLeftovers(const FileSystem& files, const std::u16string& dir, std::u16string_view tag);

}  // namespace pellix::io
