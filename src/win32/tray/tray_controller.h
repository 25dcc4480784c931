#pragma once
// The program in the notification area: the tray icon and its menu, the global hotkey and its
// change, and showing and hiding the main window.

#include <windows.h>

#include <functional>
#include <optional>

#include "core/app/model.h"
#include "core/app/saver.h"
#include "core/text/text_services.h"
#include "win32/memo/memo_window.h"
#include "win32/tray/start_with_windows.h"
#include "win32/tray/tray_icon.h"
#include "win32/ui/command_table.h"
#include "win32/ui/modal_loops.h"
#include "win32/ui/tray_notices.h"

namespace pellix::win32 {

class TrayController final : public TrayNotices {
 public:
  struct Context {
    app::Model& model;
    app::Saver& saver;
    ModalLoops& loops;
    const CommandTable& commands;
    const text::TextServices& services;
    std::function<void()> restoreFocus;  // the keys where the user left them in the window
  };

  explicit TrayController(Context context) : context_(std::move(context)) {}
  // However the window goes, the hotkey goes with it.
  ~TrayController() { Remove(); }

  void Attach(HWND window, HWND owner, const std::wstring& exeDir);
  // `showAbout` opens the about box (バージョン情報).
  void AttachWindows(MemoWindow* memo, std::function<void()> showAbout);
  void AddCommands(CommandTable& commands);

  void AddIcon();
  // The balloon of a first start, when there is one to show.
  void Greet(bool settingsExisted);
  // A balloon of the icon: told without a question, the user's work goes on.
  void Notify(const std::u16string& title, const std::u16string& text);
  void Warn(const std::u16string& title, const std::u16string& text) override;
  void ShowInTip(const std::u16string& tip) override;
  void OnTaskbarCreated() { icon_.AddAgain(); }
  // The hotkey of the model, at start; the hotkey menu's check goes to its modifiers.
  void RegisterHotkey();
  // The end of the program: no hotkey, no icon.
  void Remove();

  void OnTrayCallback(LPARAM mouseMessage);
  void OnHotkey();
  void OnMinimize() { HideMainWindow(); }
  void Show() { ShowMainWindow(); }
  // A submenu of the tray menu opens: バージョン情報 shows the about box.
  void OnInitMenuPopup(HMENU menu);
  // The tray menu at the mouse pointer; the tool button opens it too.
  void ShowTrayMenu();

 private:
  void ShowMainWindow();
  void HideMainWindow();
  bool ApplicationActive() const;
  void ChangeHotkey(int position);
  void OpenHelp();
  void ErrorBox(const wchar_t* text);

  Context context_;
  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  MemoWindow* memo_ = nullptr;
  std::function<void()> showAbout_;
  std::wstring exeDir_;
  TrayIcon icon_;
  StartWithWindows startWithWindows_;
  bool hotkeyRegistered_ = false;  // at start, for the first start's balloon
  // Where the hotkey menu's check mark stands: it may differ from the modifiers in force while
  // the user is asked for a letter, and after a cancelled question.
  std::optional<int> hotkeyCheck_ = 0;
};

}  // namespace pellix::win32
