#include "win32/shell/later_windows.h"

#include "core/platform_services.h"

namespace pellix::win32 {

LaterWindows::LaterWindows(Context context)
    : editBox_(context.errors, context.mainWindow, context.tooltips),
      filterList_(
          context.errors,
          FilterListDialog::Context{context.model, context.saver, context.loops, context.files,
                                    context.folder, PlatformTextServices(), context.exeDir,
                                    context.mainWindow, std::move(context.listsChanged)}),
      filterEditor_(context.errors,
                    FilterEditor::Context{context.model, context.loops, context.files,
                                          context.folder, PlatformTextServices()},
                    context.mainWindow),
      memo_(context.errors, context.mainWindow,
            MemoWindow::Files{context.files, context.folder, PlatformTextServices()}),
      about_(context.errors, context.mainWindow) {
  filterList_.AttachEditor(filterEditor_);
}

void LaterWindows::OnMade(const std::function<void()>& made) {
  filterList_.OnMade(made);
  filterEditor_.OnMade(made);
  memo_.OnMade(made);
}

std::vector<HWND> LaterWindows::FilterDialogs() const {
  std::vector<HWND> made;
  for (const HWND dialog : {filterList_.Handle(), filterEditor_.Handle()}) {
    if (dialog != nullptr) {
      made.push_back(dialog);
    }
  }
  return made;
}

bool LaterWindows::TakeDialogMessage(MSG& message) const {
  for (const HWND window :
       {about_.Handle(), filterList_.Handle(), filterEditor_.Handle(), editBox_.Handle()}) {
    if (window != nullptr && IsDialogMessageW(window, &message)) {
      return true;
    }
  }
  return false;
}

}  // namespace pellix::win32
