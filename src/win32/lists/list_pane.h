#pragma once
// The lists as the main window shows them: the selector, the ANSI list, the Unicode list over it
// and the hidden list of names, all drawn from the model. Which list is shown is the store's
// business, never a control's visibility.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/lists/item_conversion.h"
#include "core/lists/list_selector.h"
#include "core/lists/view_state.h"
#include "core/search/list_search.h"
#include "core/text/text_services.h"
#include "win32/lists/search_field.h"
#include "win32/lists/virtual_list_view.h"
#include "win32/platform/gdi.h"
#include "win32/ui/command_table.h"
#include "win32/ui/list_views.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class ListPane final : public ListViews {
 public:
  struct Actions {
    std::function<void()> pasteFromKey;                   // Enter or Space in a list
    std::function<void()> sendCopy;                       // a double click on an item
    std::function<void()> switched;                       // another list is shown
    std::function<void(std::size_t list)> droppedOnName;  // a name picked in the shown dropbox
    std::function<void(int item)> beginDrag;              // an item of the ordinary list dragged
  };

  ListPane(app::Model& model, const text::TextServices& services, ErrorSink& errors)
      : model_(model), services_(services), errors_(errors), field_(errors) {}

  void Create(HWND parent, int dpi, HFONT selectorFont, const RECT& listBounds, Actions actions);
  void Layout(const RECT& listBounds);
  void AddCommands(CommandTable& commands);

  // Fills the selector and the list of names from the store and shows its current list.
  void ShowStore();
  void SwitchList(std::size_t index);
  // Lists were added, renamed, moved or removed: the names follow the store, and the list shown
  // only when the current one went (a moved or renamed list goes on showing as it was).
  void FollowStore(bool currentChanged, bool ansiViewEmptied);

  // True when the message was one of the pane's.
  bool OnSelectorCommand(HWND from, int code);
  std::optional<LRESULT> OnNotify(const NMHDR& header);
  // The menu of the list a WM_CONTEXTMENU came from (nothing for another window), after the
  // right-click's own steps: the item under the pointer that is not selected becomes the only
  // selection, and the ordinary list's menu entries are enabled by what was clicked.
  std::optional<UniqueMenu> ContextMenu(HWND from, LPARAM screenPoint,
                                        const CommandTable& commands);
  // Where it opens: at the pointer, or under the focused item when it came from the keyboard.
  POINT ContextMenuPoint(HWND from, LPARAM screenPoint) const;

  // The eight list commands are off while the window is hidden and while the keys belong to a
  // field elsewhere (the edit box's, the memo); showing or activating the window turns them on.
  void EnableListCommands(bool on) {
    listCommandsEnabled_ = on;
    if (on) {
      SetMenuState(true, true);
    }
  }
  bool ListCommandsEnabled() const override { return listCommandsEnabled_; }

  // What a right-click found: the first entries of the list menu work only on an item, クリアー
  // only on a list with items. Showing the window makes all of them work again.
  void SetMenuState(bool onItem, bool hasItems) {
    menuOnItem_ = onItem;
    menuHasItems_ = hasItems;
  }
  bool MenuOnItem() const { return menuOnItem_; }
  bool MenuHasItems() const { return menuHasItems_; }

  bool UnicodeShown() const override;
  VirtualListView& ListBox() { return listBox_; }
  VirtualListView& TntListBox1() { return tntListBox1_; }
  VirtualListView& Shown() { return UnicodeShown() ? tntListBox1_ : listBox_; }
  // The keyboard focus to the list in use, when the main window is visible.
  void FocusShownList() override;

  // After a drop on the selector: the names, for the user to pick where the item goes.
  void ShowDropbox();
  HWND Selector() const { return comboBox_; }

  // The items of the list a command changed: the view takes their count and width anew.
  void ItemsChanged(bool unicode);
  // What a list view shows, as the list commands read it; and a command's result shown.
  static lists::ViewState ReadView(const VirtualListView& view);
  void ShowEdit(bool unicode, const lists::EditResult& result) override;

  // The search of the shown list (Ctrl+F, 検索): the field opens over the list, and while words
  // are typed the list shows only the items that hold them all.
  void OpenSearch();
  // Esc: the field closes and the whole list is shown again, the same item current.
  void EndSearch();
  // Words are typed: the rows show only some items, and commands that work by position are off.
  bool Searching() const { return search_.Active(); }
  bool FieldTakesKey(const MSG& message) const { return field_.TakesKey(message); }
  HWND SearchFieldHandle() const { return field_.Handle(); }
  // The views' rows as items of their list: the same numbers unless a search shows only some.
  std::optional<std::size_t> ItemAt(bool unicode, int row) const;
  std::vector<std::size_t> SelectedItems(bool unicode) const override;
  std::optional<std::size_t> FocusedItem(bool unicode) const override;
  lists::ViewState ReadItems(bool unicode) const override;
  const search::ListSearch& Search() const { return search_; }

  // The views follow captures made into the store.
  void ShowInsertions(const std::vector<std::size_t>& inserted) override;
  void ShowUnicodeInsertion() override;
  void WithCurrentSelected(const std::function<void()>& paste) override;

  // Fonts and places of the selector and the lists' fonts for another dpi; the lists' bounds
  // are the window's to give (Layout).
  void SetDpi(int dpi, HFONT selectorFont);
  // The selector gives up width to its neighbours on the right when their captions need it.
  void SetSelectorWidth(int width);
  void SetListFont(int points);
  void SetListFont(UniqueFont font);
  void SetListColor(std::uint32_t color);

 private:
  static LRESULT CALLBACK SelectorSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK DropboxSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK ListSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  // The pointer moved over a list: the tooltip shows the text of the item under it.
  void OnListMouseMove(HWND list, LPARAM point);
  std::wstring TooltipText(HWND list, std::size_t row) const;
  void OnDropboxRelease(UINT message, LPARAM point);
  void ConvertFocusedItem(lists::ItemConversion conversion);
  void FillNames();
  void FitSelectorHeight();
  void FitAnsiColumn();
  void FitUnicodeColumn();
  std::wstring AnsiItemText(std::size_t index) const;
  void OnSearchChanged();
  // The search follows the list now shown, or the store's changes of it.
  void SearchShownList();
  bool SearchShows(bool unicode) const;
  std::size_t RowCount(bool unicode) const;
  std::optional<lists::ListId> ShownListId() const;
  // Items went in at the top of the searched list: the rows are found again, and the items the
  // user had selected and current stay so.
  void FollowSearchInsertion(bool unicode, std::size_t inserted);

  app::Model& model_;
  const text::TextServices& services_;
  ErrorSink& errors_;
  Actions actions_;
  lists::ListSelectorKeys selectorKeys_;
  HWND parent_ = nullptr;
  int dpi_ = 96;
  HWND comboBox_ = nullptr;
  HWND dropbox_ = nullptr;
  HWND tooltip_ = nullptr;
  int hoverIndex_ = 0;  // the item whose text the tooltip shows
  // Declared before the views, so the font outlives the control that draws with it.
  UniqueFont listFont_;
  VirtualListView listBox_;
  VirtualListView tntListBox1_;
  SearchField field_;
  search::ListSearch search_;
  RECT listBounds_{};
  bool listCommandsEnabled_ = true;
  bool menuOnItem_ = true;
  bool menuHasItems_ = true;
  std::size_t ansiWidest_ = 0;     // bytes of the longest item the ANSI view is sized for
  std::size_t unicodeWidest_ = 0;  // likewise, in UTF-16 units
};

}  // namespace pellix::win32
