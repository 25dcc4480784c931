#pragma once
// Holding the clipboard open for one scope, retried briefly while another program holds it.

#include <windows.h>

namespace pellix::win32 {

class ClipboardOpening {
 public:
  // Retries for a short while (well under what a user notices) when another program holds the
  // clipboard, then throws io::ClipboardError.
  explicit ClipboardOpening(HWND owner);
  ClipboardOpening(const ClipboardOpening&) = delete;
  ClipboardOpening& operator=(const ClipboardOpening&) = delete;
  ~ClipboardOpening() { CloseClipboard(); }
};

}  // namespace pellix::win32
