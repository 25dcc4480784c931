#pragma once
// Where the program keeps what belongs to this machine and user rather than to its folder (the
// folder may be shared with other PCs): "%LOCALAPPDATA%\pellix\", and the time as the names of
// the files it keeps there and in its folder show it.

#include <string>

namespace pellix::win32 {

// With its separator; empty when the system has no such folder.
std::u16string LocalProgramFolder();

// "20261209-153012", the local time now.
std::u16string LocalTimestamp();

}  // namespace pellix::win32
