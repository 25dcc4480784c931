#pragma once
// The filter list dialog: the lists by name, to load, create, rename, edit, delete and reorder.
// Its rows are drawn from the store after every change, so they cannot drift from the main
// window's selector. It is made when it first opens, and from then on lives for the whole run
// and is only shown and hidden.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/app/model.h"
#include "core/app/saver.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/text/text_services.h"
#include "win32/dialogs/filter_editor.h"
#include "win32/platform/gdi.h"
#include "win32/ui/kept_focus.h"
#include "win32/ui/modal_loops.h"
#include "win32/ui/scaled_layout.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class FilterListDialog final : public Window {
 public:
  struct Context {
    app::Model& model;
    app::Saver& saver;
    ModalLoops& loops;
    const io::FileSystem& files;
    const io::AppFolder& folder;
    const text::TextServices& services;
    std::wstring exeDir;
    HWND mainWindow;
    // The set of lists changed: the main window's names follow, and its list too when the
    // current one went.
    std::function<void(bool currentChanged, bool ansiViewEmptied)> listsChanged;
  };

  FilterListDialog(ErrorSink& errors, Context context)
      : Window(errors), context_(std::move(context)) {}
  void AttachEditor(FilterEditor& editor);

  // Shown by the main window: top 20 pixels below its top, right edges in line, on top.
  void Open();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Make();
  void CreateControls();
  void SetDpi(int dpi);
  void OnDpiChanged(int dpi) override { SetDpi(dpi); }
  void ShowRows(std::optional<std::size_t> selected);
  std::optional<std::size_t> SelectedRow() const;
  void ShowAgain(std::optional<std::size_t> selected);
  void Hide();
  // A row named "unicode", in any letter case, starts the capture into the Unicode list.
  void NoteUnicodeRow();
  void CloseByTitleBar();

  void Load();
  void OpenEditor(bool newFilter);
  void Rename();
  void Delete();
  void Move(bool up);

  Context context_;
  FilterEditor* editor_ = nullptr;
  int dpi_ = 96;
  UniqueFont font_;
  ScaledLayout layout_;
  KeptFocus keptFocus_;
  HWND filterList_ = nullptr;
};

}  // namespace pellix::win32
