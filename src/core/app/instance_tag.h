#pragma once
// The name this installation of the program gives the temporary and lock files it leaves in its
// folder, so that several instances sharing one folder (two PCs) tell their own leftovers from
// the files another instance is writing right now. It is made once, at random, and kept under
// the user's local application data; where that cannot be kept, one is made for this run.

#include <cstdint>
#include <string>

#include "core/io/file_system.h"

namespace pellix::app {

// `dir` is the folder to keep it in ("…\pellix\", with its separator; empty: none). `random`
// gives the bits of a new one.
std::u16string InstanceTag(const io::FileSystem& files, const std::u16string& dir,
                           std::uint64_t random);

// Whether `tag` has the shape InstanceTag gives (eight lower-case hexadecimal digits).
bool IsInstanceTag(std::u16string_view tag);

}  // namespace pellix::app
