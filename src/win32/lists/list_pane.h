#pragma once
// The lists as the main window shows them: the selector with its drop box of names, the two list
// views and the search bar over them, made and laid out together and kept in step with the
// store. Which list is shown is the store's business, never a control's visibility.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/text/text_services.h"
#include "win32/lists/item_tooltip.h"
#include "win32/lists/list_chooser.h"
#include "win32/lists/search_field.h"
#include "win32/lists/shown_lists.h"
#include "win32/platform/gdi.h"
#include "win32/ui/command_table.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class ListPane {
 public:
  struct Actions {
    std::function<void()> pasteFromKey;                   // Enter or Space in a list
    std::function<void()> sendCopy;                       // a double click on an item
    std::function<void()> switched;                       // another list is shown
    std::function<void(std::size_t list)> droppedOnName;  // a name picked in the shown dropbox
    std::function<void(int item)> beginDrag;              // an item of the ordinary list dragged
    std::function<void(std::size_t list)> read;           // a list still being read is to be shown
  };

  ListPane(app::Model& model, const text::TextServices& services, ErrorSink& errors)
      : model_(model),
        services_(services),
        views_(model, services),
        chooser_(errors),
        field_(errors),
        tooltip_(errors) {}

  void Create(HWND parent, int dpi, HFONT selectorFont, const RECT& listBounds, Actions actions);
  void Layout(const RECT& listBounds);
  void AddCommands(CommandTable& commands);

  // The views as the controllers see them.
  ShownLists& Views() { return views_; }
  const ShownLists& Views() const { return views_; }

  // Fills the selector and the list of names from the store and shows its current list.
  void ShowStore();
  void SwitchList(std::size_t index);
  // Lists were added, renamed, moved or removed: the names follow the store, and the list shown
  // only when the current one went (a moved or renamed list goes on showing as it was).
  void FollowStore(bool currentChanged, bool ansiViewEmptied);

  // True when the message was one of the pane's.
  bool OnSelectorCommand(HWND from, int code);
  std::optional<LRESULT> OnNotify(const NMHDR& header) { return views_.OnNotify(header); }
  // The menu of the list a WM_CONTEXTMENU came from (nothing for another window), after the
  // right-click's own steps: the item under the pointer that is not selected becomes the only
  // selection, and the ordinary list's menu entries are enabled by what was clicked.
  std::optional<UniqueMenu> ContextMenu(HWND from, LPARAM screenPoint,
                                        const CommandTable& commands);
  // Where it opens: at the pointer, or under the focused item when it came from the keyboard.
  POINT ContextMenuPoint(HWND from, LPARAM screenPoint) const;

  // The main window activated or left. Left, the control with the keyboard focus is kept in
  // mind; activated, the list commands work again and the keys go where the user left them
  // (RestoreFocus). True when the activation was handled.
  bool OnActivate(bool active);
  // While the search field is open, the keys go back to the control that had them when the
  // window was last left; otherwise to the shown list.
  void RestoreFocus();

  // The list commands are off while the window is hidden and while the keys belong to a field
  // elsewhere (the edit box's, the memo); showing or activating the window turns them on.
  void EnableListCommands(bool on) {
    views_.EnableListCommands(on);
    if (on) {
      SetMenuState(true, true);
    }
  }
  bool ListCommandsEnabled() const { return views_.ListCommandsEnabled(); }

  // What a right-click found: the first entries of the list menu work only on an item, クリアー
  // only on a list with items. Showing the window makes all of them work again.
  void SetMenuState(bool onItem, bool hasItems) {
    menuOnItem_ = onItem;
    menuHasItems_ = hasItems;
  }
  bool MenuOnItem() const { return menuOnItem_; }
  bool MenuHasItems() const { return menuHasItems_; }

  // After a drop on the selector: the names, for the user to pick where the item goes.
  void ShowDropbox() { chooser_.ShowDropbox(); }
  HWND Selector() const { return chooser_.Selector(); }
  // The tooltip window over the lists, the program's one.
  HWND Tooltips() const { return tooltip_.Handle(); }

  // The search of the shown list (Ctrl+F, 検索): the field opens over the list, and while words
  // are typed the list shows only the items that hold them all.
  void OpenSearch();
  // Esc: the field closes and the whole list is shown again, the same item current.
  void EndSearch();
  // kMsgSearchKeysFolded.
  void OnKeysFolded();
  bool FieldTakesKey(const MSG& message) const { return field_.TakesKey(message); }
  HWND SearchFieldHandle() const { return field_.Handle(); }

  // Fonts and places of the selector and the lists' fonts for another dpi; the lists' bounds
  // are the window's to give (Layout).
  void SetDpi(int dpi, HFONT selectorFont);
  void SetSelectorWidth(int width) { chooser_.SetWidth(width); }

 private:
  void OnSearchChanged();

  app::Model& model_;
  const text::TextServices& services_;
  Actions actions_;
  HWND parent_ = nullptr;
  int dpi_ = 96;
  ShownLists views_;
  ListChooser chooser_;
  SearchField field_;
  ItemTooltip tooltip_;
  RECT listBounds_{};
  HWND lastFocus_ = nullptr;  // when the window was last left
  bool menuOnItem_ = true;
  bool menuHasItems_ = true;
};

}  // namespace pellix::win32
