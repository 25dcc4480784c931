#pragma once
// The windows beside the list window: the edit box, the filter list dialog and its editor, the
// memo and the about box. Each is made when it is first needed (opened, shown, dropped on), not
// at start, where it would only delay the list window; from then on it lives for the whole run.
// The memo's text is read at start all the same, so a memo.txt that cannot be read still stops
// the program before anything is written.

#include <functional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/app/saver.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "win32/dialogs/filter_editor.h"
#include "win32/dialogs/filter_list_dialog.h"
#include "win32/lists/edit_box.h"
#include "win32/memo/memo_window.h"
#include "win32/shell/about_box.h"
#include "win32/ui/modal_loops.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class LaterWindows {
 public:
  struct Context {
    ErrorSink& errors;
    app::Model& model;
    app::Saver& saver;
    ModalLoops& loops;
    const io::FileSystem& files;
    const io::AppFolder& folder;
    std::wstring exeDir;
    HWND mainWindow;  // their owner
    HWND tooltips;    // the program's one tooltip window
    // The filter dialogs changed the set of lists.
    std::function<void(bool currentChanged, bool ansiViewEmptied)> listsChanged;
  };

  // Reads memo.txt; throws when it is there but cannot be read. Makes no window.
  explicit LaterWindows(Context context);
  LaterWindows(const LaterWindows&) = delete;
  LaterWindows& operator=(const LaterWindows&) = delete;

  EditBox& Edit() { return editBox_; }
  const EditBox& Edit() const { return editBox_; }
  FilterListDialog& FilterList() { return filterList_; }
  FilterEditor& Editor() { return filterEditor_; }
  MemoWindow& Memo() { return memo_; }
  AboutBox& About() { return about_; }

  // Runs each time one of the memo and the filter dialogs has been made.
  void OnMade(const std::function<void()>& made);
  // The filter dialogs made so far.
  std::vector<HWND> FilterDialogs() const;
  // Gives the message to the dialog manager of the window it belongs to (Tab between controls,
  // Enter and Esc), among the windows made so far; true when it took the message.
  bool TakeDialogMessage(MSG& message) const;

 private:
  EditBox editBox_;
  FilterListDialog filterList_;
  FilterEditor filterEditor_;
  MemoWindow memo_;
  AboutBox about_;
};

}  // namespace pellix::win32
