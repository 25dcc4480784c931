#pragma once
// Text that comes in other than through the clipboard: a text file the user imports (sorted
// through the filters, or its lines put into the shown list) and files dropped on the window
// (their path names sorted through the filters).

#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include <optional>
#include <string>

#include "core/app/model.h"
#include "core/io/file_system.h"
#include "core/text/text_services.h"
#include "win32/ui/command_table.h"
#include "win32/ui/list_views.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

class TextIntake {
 public:
  TextIntake(app::Model& model, ListViews& lists, ModalLoops& loops,
             const text::TextServices& services, const io::FileSystem& files)
      : model_(model), lists_(lists), loops_(loops), services_(services), files_(files) {}

  void Attach(HWND window);
  void AddCommands(CommandTable& commands);

  // テキストの取り込み: asks whether to sort, then for the file.
  void ImportText();
  // WM_DROPFILES; the drop is always released.
  void OnDropFiles(HDROP drop);

 private:
  std::optional<std::wstring> AskForFile();

  app::Model& model_;
  ListViews& lists_;
  ModalLoops& loops_;
  const text::TextServices& services_;
  const io::FileSystem& files_;
  HWND window_ = nullptr;
};

}  // namespace pellix::win32
