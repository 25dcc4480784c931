#pragma once
// Reading the clipboard: one opening per change, retried briefly while another program holds
// the clipboard, and every read bounded by the size of the data.

#include <windows.h>

#include <optional>
#include <string>

#include "core/io/errors.h"
#include "core/text/text_services.h"

namespace pellix::win32 {

// Every clipboard error's message holds the word クリップボード; that is how they are told from
// the errors that matter to the user.
class ClipboardError : public io::AppError {
 public:
  ClipboardError() : io::AppError(u"クリップボードを開くことができません") {}
};

bool IsClipboardError(const std::exception_ptr& error);

// Holds the clipboard open for one scope.
class ClipboardOpening {
 public:
  // Retries for a short while (well under what a user notices) when another program holds the
  // clipboard, then throws ClipboardError.
  explicit ClipboardOpening(HWND owner);
  ClipboardOpening(const ClipboardOpening&) = delete;
  ClipboardOpening& operator=(const ClipboardOpening&) = delete;
  ~ClipboardOpening() { CloseClipboard(); }
};

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
