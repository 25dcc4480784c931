#pragma once
// What the tray icon tells a newcomer: on the very first start (no settings file yet) a balloon
// names the hotkey that calls the list up and where it is changed; later starts say nothing.

#include <optional>
#include <string>

#include "core/app/hotkey.h"
#include "core/app/notice.h"

namespace pellix::app {

// The hotkey as the user presses it, "Ctrl+A", "Ctrl+Shift+B"; empty while there is none.
std::u16string HotkeyName(const Hotkey& hotkey);

std::optional<Notice> FirstStartNotice(bool settingsExisted, const Hotkey& hotkey);

}  // namespace pellix::app
