#pragma once
// The list commands: the ordinary list's (削除, クリアー, moving, 展開, ソート, 一括置換, the
// drags, the lock, the selector's drop-down), the Unicode list's own, and the edit box that
// changes one item. Each reads the view, runs the core command on the store and shows the result.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "core/app/model.h"
#include "core/lists/view_state.h"
#include "core/text/text_services.h"
#include "win32/lists/edit_box.h"
#include "win32/lists/list_drag.h"
#include "win32/lists/list_pane.h"
#include "win32/ui/command_table.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

class ListEditing {
 public:
  struct Context {
    app::Model& model;
    ListPane& lists;
    // The edit box's コピー (pasted into the target) and カット (only put on the clipboard).
    std::function<void(const std::u16string&)> pasteText;
    std::function<void(const std::u16string&)> putOnClipboard;
    ModalLoops& loops;
    const text::TextServices& services;
    std::function<void(bool)> setLock;
  };

  explicit ListEditing(Context context) : context_(std::move(context)) {}

  void Attach(HWND window);
  void AttachEditBox(EditBox* editBox);
  // Where a drag of items ends in the memo: its field while it is shown, and the drop's text
  // going in at its top.
  struct MemoDrop {
    std::function<HWND()> field;
    std::function<void(std::string_view dropText)> insertAtTop;
  };
  void AttachMemo(MemoDrop memo) { memo_ = std::move(memo); }
  void AddCommands(CommandTable& commands);

  // The drag of an item of the ordinary list; the main window holds the mouse meanwhile.
  ListDrag& Drag() { return drag_; }
  void OnBeginDrag(int pressed) { drag_.Begin(pressed); }
  // A name picked in the dropbox after a drop on the selector.
  void MoveDraggedTo(std::size_t list);

 private:
  using AnsiCommand =
      std::function<lists::EditResult(lists::ListStore&, std::size_t, const lists::ViewState&)>;
  using UnicodeCommand =
      std::function<lists::EditResult(lists::ListStore&, const lists::ViewState&)>;

  void RunOnAnsi(const AnsiCommand& command);
  void RunOnUnicode(const UnicodeCommand& command);
  // クリアー while searching: only the items shown go.
  void ClearShown();
  // Del and Ctrl+Del belong to whichever list has the keyboard.
  bool UnicodeHasFocus() const;
  void Replace();
  void DropSelector();
  void OpenEditBox();
  void WriteBack(const std::wstring& text);
  void DropOnMemo();
  bool CommandsOn() const { return context_.lists.ListCommandsEnabled(); }

  Context context_;
  HWND window_ = nullptr;
  EditBox* editBox_ = nullptr;
  MemoDrop memo_;
  ListDrag drag_;
  int dragged_ = -1;  // the item dropped on the selector, waiting for a name
};

}  // namespace pellix::win32
