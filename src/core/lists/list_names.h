#pragma once
// A list's name is also the base name of its two files, so it must be a plain file name.

#include <string>
#include <string_view>

#include "core/text/text_services.h"

namespace pellix::lists {

// Judged on the UTF-16 name the file system is given, not on the bytes: a lead byte followed
// by '/' or ':' is no two-byte character but a broken one (U+FFFD) and then that separator.
// False for the empty name, "." and "..", a name holding a character that did not decode
// (U+FFFD), a path separator, a character Windows forbids in file names or a control
// character, a name ending in a dot or a space (Windows would drop them and open another
// file), and a device name such as CON or COM1, which stays a device with any extension.
bool IsPlainFileName(const text::TextServices& services, std::string_view name);

// What a list name is to a file system that ignores letter case, as Windows' are: two names
// with the same key name the same files. Windows upper-cases each UTF-16 character of both
// names through one table (the one case-blind ordinal comparison uses) and that table holds
// the full-width letters, Greek, Cyrillic and the Roman numerals too, not only ASCII. So the
// name is upper-cased in code page 932, where every one of those letters has its other case,
// and then decoded, which also makes one of the two byte forms that some characters have (the
// NEC-selected copies) equal to the other: they are the same UTF-16 file name.
std::u16string ListNameKey(const text::TextServices& services, std::string_view name);

inline bool SameListName(const text::TextServices& services, std::string_view a,
                         std::string_view b) {
  return ListNameKey(services, a) == ListNameKey(services, b);
}

}  // namespace pellix::lists
