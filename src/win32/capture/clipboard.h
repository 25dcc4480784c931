#pragma once
// Reading the clipboard: one opening per change, and every read bounded by the size of the data.
// Throws io::ClipboardError when the clipboard stays held.

#include <windows.h>

#include <optional>
#include <string>

#include "core/text/text_services.h"

namespace pellix::win32 {

struct ClipboardText {
  // The source marked the text as not to be recorded (a password manager, say).
  bool secret = false;
  // CF_UNICODETEXT, or the ANSI text widened when that is missing; empty when there is no text.
  std::u16string wide;
  // The text in code page 932; nullopt when the clipboard holds no text at all.
  std::optional<std::string> ansi;
};

ClipboardText ReadClipboardText(HWND owner, const text::TextServices& services);

}  // namespace pellix::win32
