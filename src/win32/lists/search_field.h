#pragma once
// The one-line field over the top of the list area where the user types words to find items.
// It reports its text when the user has finished changing it: several changes that arrive
// together (the characters an input method commits at once) are reported once, and nothing is
// reported while a composition is still open.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "win32/ui/window.h"

namespace pellix::win32 {

class SearchField {
 public:
  struct Actions {
    std::function<void(const std::wstring& text)> changed;
    std::function<void(WPARAM key)> moveInList;  // Up, Down, Page Up, Page Down
    std::function<void()> paste;                 // Enter, or Space in an empty field
    std::function<void()> close;                 // Esc
  };

  explicit SearchField(ErrorSink& errors) : errors_(errors) {}

  void Create(HWND parent, int id, HFONT font, Actions actions);
  HWND Handle() const { return hwnd_; }
  bool IsOpen() const { return open_; }

  // Where the field goes when open, at the top of the list's bounds; returns what is left for
  // the list.
  RECT Place(const RECT& listBounds, int clientRight, int dpi) const;
  void Open();
  // Hides the field and empties it, without reporting the change.
  void Close();

  // The field's EN_CHANGE, as its parent receives it.
  void OnEditChange();
  std::wstring Text() const;

  // The keys the field keeps for itself even though the main window has shortcuts on them:
  // Del and Backspace edit what is typed here.
  bool TakesKey(const MSG& message) const;

 private:
  static LRESULT CALLBACK Subclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam);
  void ReportLater();
  void Report();

  ErrorSink& errors_;
  Actions actions_;
  HWND hwnd_ = nullptr;
  bool open_ = false;
  bool composing_ = false;  // an input method's composition is open
  bool reportPosted_ = false;
  std::wstring reported_;
};

}  // namespace pellix::win32
