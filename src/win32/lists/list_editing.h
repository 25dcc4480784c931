#pragma once
// The list commands: the ordinary list's (削除, クリアー, moving, 展開, ソート, 一括置換, the
// drags, the lock, the selector's drop-down), the Unicode list's own, and the edit box that
// changes one item. Each reads the view, runs the core command on the store and shows the result.

#include <windows.h>

#include <functional>

#include "core/app/model.h"
#include "core/lists/view_state.h"
#include "core/text/text_services.h"
#include "win32/app/command_table.h"
#include "win32/app/modal_loops.h"
#include "win32/lists/edit_box.h"
#include "win32/lists/list_drag.h"
#include "win32/lists/list_pane.h"
#include "win32/memo/memo_window.h"
#include "win32/paste/paste_controller.h"

namespace pellix::win32 {

class ListEditing {
 public:
  struct Context {
    app::Model& model;
    ListPane& lists;
    PasteController& paste;
    ModalLoops& loops;
    const text::TextServices& services;
    std::function<void(bool)> setLock;
  };

  explicit ListEditing(Context context) : context_(std::move(context)) {}

  void Attach(HWND window);
  void AttachEditBox(EditBox* editBox);
  void AttachMemo(MemoWindow* memo) { memo_ = memo; }
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
  MemoWindow* memo_ = nullptr;
  ListDrag drag_;
  int dragged_ = -1;  // the item dropped on the selector, waiting for a name
};

}  // namespace pellix::win32
