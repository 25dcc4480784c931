#pragma once
// Reading the clipboard: one opening per change, and every read bounded by the size of the data.
// Throws io::ClipboardError when the clipboard stays held.

#include <windows.h>

#include <optional>
#include <string>

#include "core/app/window_rules.h"
#include "core/text/text_services.h"

namespace pellix::win32 {

using ClipboardText = app::ClipboardContent;

ClipboardText ReadClipboardText(HWND owner, const text::TextServices& services);

}  // namespace pellix::win32
