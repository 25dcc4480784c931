#pragma once
// The two list views, the ordinary (ANSI) list and the Unicode list over it, drawn from the
// model: what they show, select and scroll to, through a search that shows only some items
// too. The one implementation of the port the controllers see.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/lists/item_conversion.h"
#include "core/lists/list_store.h"
#include "core/search/list_search.h"
#include "core/text/text_services.h"
#include "win32/lists/search_key_fold.h"
#include "win32/lists/virtual_list_view.h"
#include "win32/platform/gdi.h"
#include "win32/ui/list_views.h"

namespace pellix::win32 {

class ShownLists final : public ListViews {
 public:
  struct Actions {
    std::function<void()> pasteFromKey;       // Enter or Space in a list
    std::function<void()> sendCopy;           // a double click on an item
    std::function<void(int item)> beginDrag;  // an item of the ordinary list dragged
    std::function<void()> escape;             // Esc in a list
    std::function<HWND()> openField;          // the search field, while it is open
  };

  ShownLists(app::Model& model, const text::TextServices& services)
      : model_(model), services_(services) {}

  void Create(HWND parent, int dpi, const RECT& bounds, HFONT unicodeFont, Actions actions);
  void Move(const RECT& bounds);

  // The port.
  bool UnicodeShown() const override;
  bool ListCommandsEnabled() const override { return listCommandsEnabled_; }
  std::vector<std::size_t> SelectedItems(bool unicode) const override;
  std::optional<std::size_t> FocusedItem(bool unicode) const override;
  lists::ViewState ReadItems(bool unicode) const override;
  void ShowInsertions(const std::vector<std::size_t>& inserted) override;
  void ShowUnicodeInsertion() override;
  void ShowEdit(bool unicode, const lists::EditResult& result) override;
  void ShowTakenIn(bool unicode, const lists::ViewState& view) override;
  void FocusShownList() override;
  void WithCurrentSelected(const std::function<void()>& paste) override;

  void EnableListCommands(bool on) { listCommandsEnabled_ = on; }

  // The store switched lists as `plan` says: the view of the new one shows and the other hides.
  void Switch(const lists::SwitchPlan& plan);
  // The ordinary list's slot went: its view is covered until another list is shown.
  void ForgetAnsiList() { listBox_.SetCount(0); }
  // The items of the list a command changed: the view takes their count and width anew.
  void ItemsChanged(bool unicode);
  void ConvertFocusedItem(lists::ItemConversion conversion);

  // The shown list searched for `query` (an empty one: every item), the same item current
  // where it can be; and the search ended, the whole list shown again.
  void SearchFor(const std::u16string& query);
  void EndSearch();
  // The search field opened: a long list's keys start folding while the user types.
  void PrepareSearch();
  // kMsgSearchKeysFolded: a fold is done; the search waiting for it shows its rows.
  void OnKeysFolded();
  bool Searching() const { return search_.Active(); }
  const search::ListSearch& Search() const { return search_; }

  // The views' rows as items of their list: the same numbers unless a search shows only some.
  std::optional<std::size_t> ItemAt(bool unicode, int row) const;
  // The whole text of the item a row of `list` shows, for its tooltip.
  std::wstring RowText(HWND list, std::size_t row) const;
  std::optional<LRESULT> OnNotify(const NMHDR& header);

  VirtualListView& ListBox() { return listBox_; }
  VirtualListView& TntListBox1() { return tntListBox1_; }
  VirtualListView& Shown() { return UnicodeShown() ? tntListBox1_ : listBox_; }

  void SetDpi(int dpi, HFONT unicodeFont);
  void SetListFont(int points);
  void SetListFont(UniqueFont font);
  void SetListColor(std::uint32_t color);

 private:
  VirtualListView& View(bool unicode) { return unicode ? tntListBox1_ : listBox_; }
  const VirtualListView& View(bool unicode) const { return unicode ? tntListBox1_ : listBox_; }
  static lists::ViewState ReadRows(const VirtualListView& view);
  void SearchShownList(const std::u16string& query);
  // Starts folding the searched list's keys when the search waits for them.
  void FoldWhenWaiting();
  bool SearchShows(bool unicode) const;
  std::size_t RowCount(bool unicode) const;
  std::optional<lists::ListId> ShownListId() const;
  void FollowSearchInsertion(bool unicode, std::size_t inserted);
  void FitAnsiColumn();
  void FitUnicodeColumn();
  std::wstring AnsiItemText(std::size_t index) const;

  app::Model& model_;
  const text::TextServices& services_;
  Actions actions_;
  HWND parent_ = nullptr;
  int dpi_ = 96;
  // Declared before the views, so the font outlives the control that draws with it.
  UniqueFont listFont_;
  VirtualListView listBox_;
  VirtualListView tntListBox1_;
  search::ListSearch search_;
  SearchKeyFold keyFold_;
  std::u16string query_;
  bool listCommandsEnabled_ = true;
  std::size_t ansiWidest_ = 0;     // bytes of the longest item the ANSI view is sized for
  std::size_t unicodeWidest_ = 0;  // likewise, in UTF-16 units
};

}  // namespace pellix::win32
