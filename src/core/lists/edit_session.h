#pragma once
// The edit box's hold on one item. The item is opened from the list the window shows (the
// Unicode list's own items while it is shown) and the edited text goes back to that same item
// wherever captures, deletions, moves or a sort have put it meanwhile, whichever list is shown
// by then. Once the item is gone, the text goes to the top of the list it was opened in.

#include <cstddef>
#include <optional>
#include <string>

#include "core/lists/list_id.h"
#include "core/lists/list_store.h"
#include "core/text/text_services.h"

namespace pellix::lists {

// Opens item `focused` of the shown list and returns its text for the edit box; nullopt (and
// nothing opened) when there is no such item, which the window reports as "編集できません(;_;)".
std::optional<std::u16string> OpenFocusedItem(ListStore& store, std::optional<std::size_t> focused,
                                              const text::TextServices& services);

struct WriteBack {
  ItemPlace place;        // where the text is now
  bool inserted = false;  // it went in as a new item at the top of its list

  friend bool operator==(const WriteBack&, const WriteBack&) = default;
};

// 更新: writes `text` (unchanged, also when empty) into the opened item and closes it. In an
// ordinary list a character that code page 932 cannot hold becomes '?'. nullopt when nothing
// was open or the list it came from no longer exists.
std::optional<WriteBack> WriteOpenedItem(ListStore& store, const std::u16string& text,
                                         const text::TextServices& services);

// キャンセル (or the title bar): the item is left as it is.
inline void CancelOpenedItem(ListStore& store) {
  store.CloseItem();
}

}  // namespace pellix::lists
