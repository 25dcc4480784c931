#pragma once
// A list's name is also the base name of its two files, so it must be a plain file name.

#include <string_view>

namespace pellix::lists {

// False for the empty name, "." and "..", a name with a path separator, a character Windows
// forbids in file names or a control character, a name ending in a dot or a space (Windows
// would drop them and open another file), and a device name such as CON or COM1, which
// stays a device with any extension.
bool IsPlainFileName(std::string_view name);

}  // namespace pellix::lists
