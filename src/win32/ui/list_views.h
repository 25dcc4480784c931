#pragma once
// The lists as the controllers outside the list pane see them: what the shown views hold and
// select, and the results they are to show. The list pane is the one implementation; the capture,
// the text intake and the paste reach the views only through this.

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "core/lists/view_state.h"

namespace pellix::win32 {

class ListViews {
 public:
  ListViews() = default;
  ListViews(const ListViews&) = delete;
  ListViews& operator=(const ListViews&) = delete;

  // Whether the Unicode list is the one shown (its view lies over the ordinary list's).
  virtual bool UnicodeShown() const = 0;
  // The list commands are off while the window is hidden or the keys belong to a field elsewhere.
  virtual bool ListCommandsEnabled() const = 0;
  // The items (not rows: a search shows only some) selected, and the current one, of a view.
  virtual std::vector<std::size_t> SelectedItems(bool unicode) const = 0;
  virtual std::optional<std::size_t> FocusedItem(bool unicode) const = 0;
  virtual lists::ViewState ReadItems(bool unicode) const = 0;

  // Captures went into the store: the views show them.
  virtual void ShowInsertions(const std::vector<std::size_t>& inserted) = 0;
  virtual void ShowUnicodeInsertion() = 0;
  // A command's result (an import, a drop) shown in the view of its list.
  virtual void ShowEdit(bool unicode, const lists::EditResult& result) = 0;
  // Another instance's change, taken into the list the view shows: its items changed, and the
  // view shows `view` without scrolling to the current item, which the user may have left.
  virtual void ShowTakenIn(bool unicode, const lists::ViewState& view) = 0;
  // The keyboard focus to the list in use, when the main window is visible.
  virtual void FocusShownList() = 0;
  // Enter or Space in the ordinary list: its current item joins the selection while `paste`
  // runs, and the list is left as the user had it: the same item topmost, the current one still
  // current and selected.
  virtual void WithCurrentSelected(const std::function<void()>& paste) = 0;

 protected:
  ~ListViews() = default;
};

}  // namespace pellix::win32
