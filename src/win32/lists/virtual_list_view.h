#pragma once
// A list view that holds no strings: it knows only how many items there are and asks its owner
// for the text of each one it draws (or that a screen reader asks for). It scales to any count
// and keeps every item's text available to assistive technology.

#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace pellix::win32 {

class VirtualListView {
 public:
  void Create(HWND parent, int id, const RECT& bounds, bool visible);
  HWND Handle() const { return hwnd_; }

  void SetCount(std::size_t count);
  int Count() const;
  void SetFont(HFONT font);
  void Move(const RECT& bounds);
  void Show(bool visible);

  int FocusedIndex() const;
  std::vector<int> SelectedIndices() const;
  void ClearSelection();
  // Selects `index`, gives it the focus rectangle and scrolls it into view.
  void SelectOnly(int index);
  void SetItemSelected(int index, bool selected);
  void RedrawItem(int index);

  // Shows this selection, this item current (none: no focus mark) and `top` topmost, keeping
  // the current item in view unless `revealCaret` is off (the user scrolled away from it).
  void ShowState(const std::vector<std::size_t>& selected, std::optional<std::size_t> caret,
                 std::size_t top, bool revealCaret = true);
  int TopIndex() const;

  // The list grew to `count` by `inserted` items at its top: the selected and focused items
  // move down with the rest, as they would in a list that held its own items.
  void InsertedAtTop(std::size_t count, std::size_t inserted);

  // The column is as wide as the list's client area, or as this text where that is wider, so a
  // horizontal scroll bar appears only for an item that does not fit.
  void SetWidestText(const std::wstring& text);

  // Copies `text` into the request of an LVN_GETDISPINFO notice, cut to the requester's buffer.
  static void AnswerTextRequest(NMLVDISPINFOW& request, const std::wstring& text);

 private:
  void FitColumn();
  void Deselect(const std::vector<int>& selected);
  // Gives `index` the focus mark; -1 takes it from whichever item has it.
  void SetFocusedItem(int index);

  HWND hwnd_ = nullptr;
  std::wstring widestText_;
  int widestWidth_ = 0;
};

}  // namespace pellix::win32
