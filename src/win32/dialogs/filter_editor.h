#pragma once
// The filter editor: one list's filter in its fields, stored with OK, dropped with the title
// bar. It is made when it first opens, and from then on lives for the whole run and is only
// shown and hidden; its fields keep what they showed last, which a new filter starts from.

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/list_admin/editor_fields.h"
#include "core/text/text_services.h"
#include "win32/platform/gdi.h"
#include "win32/ui/kept_focus.h"
#include "win32/ui/modal_loops.h"
#include "win32/ui/scaled_layout.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class FilterEditor final : public Window {
 public:
  struct Context {
    app::Model& model;
    ModalLoops& loops;
    const io::FileSystem& files;
    const io::AppFolder& folder;
    const text::TextServices& services;
  };
  struct Actions {
    std::function<void(std::size_t row)> committed;  // after OK: the list stored there
    std::function<void()> cancelled;                 // closed by the title bar
  };

  FilterEditor(ErrorSink& errors, Context context, HWND owner);
  void SetActions(Actions actions) { actions_ = std::move(actions); }

  // A new list: the fields start afresh but for the options and replacements shown last.
  void OpenNew(const RECT& listDialog);
  void OpenList(std::size_t index, const RECT& listDialog);
  // Whether the editor is open on the filter of list `slot`.
  bool Editing(std::size_t slot) const { return IsVisible() && editIndex_ == slot; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Make();
  void CreateControls();
  void SetDpi(int dpi);
  void OnDpiChanged(int dpi) override { SetDpi(dpi); }
  void Show(const RECT& listDialog);
  void ShowFields(const list_admin::EditorFields& fields);
  list_admin::EditorFields ReadFields() const;
  void Commit();
  void Cancel();

  Context context_;
  HWND owner_ = nullptr;
  Actions actions_;
  std::size_t editIndex_ = 0;
  int dpi_ = 96;
  UniqueFont font_;
  ScaledLayout layout_;
  std::vector<std::pair<HWND, HWND>> arrows_;  // up-down arrows and their field
  KeptFocus keptFocus_;
  HWND name_ = nullptr;
  HWND type_ = nullptr;
  HWND perLine_ = nullptr;
  HWND astring_ = nullptr;
  HWND acount_ = nullptr;
  HWND bstring_ = nullptr;
  HWND bcount_ = nullptr;
  HWND cstring_ = nullptr;
  HWND zen_ = nullptr;
  HWND caps_ = nullptr;
  HWND small_ = nullptr;
  std::vector<HWND> exfrom_;
  std::vector<HWND> exto_;
};

}  // namespace pellix::win32
