#pragma once
// Shortcut files (.lnk) through the shell's own link object, and the user's Startup folder.
// Each call brings COM up on the calling thread for its own length.

#include <optional>
#include <string>

namespace pellix::win32 {

// The folder whose shortcuts Windows opens when the user logs on; nullopt when the system has
// none. `create` makes it when it is missing.
std::optional<std::wstring> StartupFolder(bool create);

// The program a shortcut file starts, or nullopt when the file is no shortcut one can read.
std::optional<std::wstring> ShortcutTarget(const std::wstring& linkPath);

// Writes a shortcut to `target`, started in `workingDir`; false when the shell refuses.
bool WriteShortcut(const std::wstring& linkPath, const std::wstring& target,
                   const std::wstring& workingDir, const std::wstring& description);

}  // namespace pellix::win32
