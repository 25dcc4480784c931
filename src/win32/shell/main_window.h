#pragma once
// The list window: a thin frame that creates the controls, hands each message to the controller
// that owns it, and starts and ends the program's work. The state lives in the model.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/background_writer.h"
#include "core/app/model.h"
#include "core/app/saver.h"
#include "core/app/startup.h"
#include "core/io/app_folder.h"
#include "core/sync/shared_files.h"
#include "win32/capture/capture_controller.h"
#include "win32/capture/text_intake.h"
#include "win32/lists/list_editing.h"
#include "win32/lists/list_pane.h"
#include "win32/paste/paste_controller.h"
#include "win32/platform/gdi.h"
#include "win32/shell/auto_save.h"
#include "win32/shell/closing.h"
#include "win32/shell/exit_save.h"
#include "win32/shell/file_notices.h"
#include "win32/shell/later_windows.h"
#include "win32/shell/list_reads.h"
#include "win32/shell/shared_folder.h"
#include "win32/shell/top_row.h"
#include "win32/shell/view_controller.h"
#include "win32/tray/tray_controller.h"
#include "win32/ui/command_table.h"
#include "win32/ui/modal_loops.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

// The program's folder as this instance shares it with others (two PCs).
struct FolderSharing {
  sync::SharedFiles& shared;
  const io::FileSystem& platformFiles;  // under the shared files
  const sync::LockSettings& lock;
  std::u16string tag;  // this installation's, in its temporary and lock files' names
};

class MainWindow final : public Window {
 public:
  // Reads the settings and the lists, and throws when a file is bad, before anything has been
  // written. `files` are the program's files as the window uses them, in step with `writer`,
  // which saves changed lists in the background.
  MainWindow(ErrorSink& errors, ModalLoops& loops, app::Model& model, app::Saver& saver,
             const io::AppFolder& folder, const io::FileSystem& files,
             app::BackgroundWriter& writer, const FolderSharing& sharing, HWND owner,
             const std::wstring& exeDir);
  ~MainWindow() override;

  // Shows the first list in the controls (the lists too large to wait for go on being read) and
  // joins the desktop: hotkey, viewer chain, tray icon.
  void Start();
  // The windows beside this one, which it shows, hides and pastes into.
  void AttachWindows(LaterWindows& windows);

  // The filter dialogs changed the set of lists.
  void FollowListStore(bool currentChanged, bool ansiViewEmptied) {
    lists_.FollowStore(currentChanged, ansiViewEmptied);
  }

  // The tooltip window that every control's hint shows in.
  HWND Tooltips() const { return lists_.Tooltips(); }
  // Shortcuts of the main window's commands, for the message loop.
  HACCEL Accelerators() const { return accelerators_.Get(); }
  // A key that edits the search field rather than running a shortcut.
  bool FieldTakesKey(const MSG& message) const { return lists_.FieldTakesKey(message); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::optional<LRESULT> OnCommand(WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void SetDpi(int dpi);
  void MoveForDpi(const DpiChange& change) override;
  void OnDpiChanged(int dpi) override;
  void AddFrameCommands();
  RECT ListBounds() const;
  void TrackPlacement();
  void ApplyModelToControls();
  bool ShowListMenu(HWND from, LPARAM screenPoint);
  void OnShown();

  // The end of the program's work, once everything is saved: the desktop is left and the lists
  // released.
  void TearDown();

  ModalLoops& loops_;
  app::Model& model_;
  app::Saver& saver_;
  const io::AppFolder& folder_;
  const io::FileSystem& files_;
  const text::TextServices& services_;
  std::wstring exeDir_;
  std::u16string tag_;
  HWND owner_ = nullptr;
  MemoWindow* memo_ = nullptr;
  UINT taskbarCreatedMsg_ = 0;

  int dpi_ = 96;
  // Declared before the controllers, so the fonts outlive the controls that draw with them.
  UniqueFont windowFont_;
  TopRow topRow_;
  bool movingForDpi_ = false;
  bool settingsExisted_ = false;           // not a first start: the tray greets only a first one
  std::vector<app::ListRead> laterReads_;  // until Start hands them on

  CommandTable commands_;
  UniqueAccelerators accelerators_;
  ListPane lists_;
  CaptureController capture_;
  PasteController paste_;
  TrayController tray_;
  ViewController view_;
  ListEditing editing_;
  TextIntake intake_;
  ListReads reads_;
  AutoSave autoSave_;
  SharedFolder sharedFolder_;
  ExitSave exitSave_;
  FileNotices notices_;
  Closing closing_;
};

}  // namespace pellix::win32
