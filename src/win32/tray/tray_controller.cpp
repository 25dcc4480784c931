#include "win32/tray/tray_controller.h"

#include <shellapi.h>

#include "core/app/first_start.h"
#include "core/app/hotkey.h"
#include "core/app/window_rules.h"
#include "core/text/codec.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/error_reporter.h"
#include "win32/ui/input_dialog.h"
#include "win32/ui/resource_ids.h"

namespace pellix::win32 {
namespace {

// The hotkey's identifier; WM_HOTKEY is handled the same whatever it carries.
constexpr int kHotkeyId = 1;

void TapControlKey() {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_CONTROL;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

void TrayController::Attach(HWND window, HWND owner, const std::wstring& exeDir) {
  window_ = window;
  owner_ = owner;
  exeDir_ = exeDir;
}

void TrayController::AttachWindows(MemoWindow* memo, std::function<void()> showAbout) {
  memo_ = memo;
  showAbout_ = std::move(showAbout);
}

void TrayController::AddCommands(CommandTable& commands) {
  app::Model& model = context_.model;
  for (const MenuEntry& entry : kPasteOptionsMenu) {
    if (entry.command == 0) {
      continue;
    }
    const int option = static_cast<int>(entry.command - kCmdPasteOptionFirst);
    commands.Bind(
        entry.command, [&model, option] { model.view.pasteOption = option; }, {},
        [&model, option] { return model.view.pasteOption == option; });
  }
  for (const MenuEntry& entry : kHotkeyMenu) {
    const int item = static_cast<int>(entry.command - kCmdHotkeyFirst);
    commands.Bind(
        entry.command, [this, item] { ChangeHotkey(item); }, {},
        [this, item] { return hotkeyCheck_ == item; });
  }
  commands.Bind(kCmdHelp, [this] { OpenHelp(); });
  commands.Bind(kCmdVersionItem, [] {});
  commands.Bind(
      kCmdStartWithWindows, [this] { startWithWindows_.Toggle(window_, context_.loops); }, {},
      [this] { return startWithWindows_.On(); });
  commands.Bind(kCmdExit, [this] { PostMessageW(window_, WM_CLOSE, 0, 0); });
}

void TrayController::OpenHelp() {
  // By its full path: a bare name would be looked for on the search path too, where another
  // program's page of that name could be opened instead. Shown normally: a hidden browser
  // would look like nothing happened.
  const std::wstring page = exeDir_ + L"pellixhelp.html";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_, L"open", page.c_str(), nullptr, exeDir_.c_str(), SW_SHOWNORMAL));
  // A missing page stays silent, as it always has; a page that nothing can open is named, so
  // the user can open it by hand.
  if (result > 32 || result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND) {
    return;
  }
  const std::wstring text =
      L"ヘルプのページを開くプログラムが見つかりません。"
      L"次のファイルをブラウザーで開いてください。\r\n\r\n" +
      page;
  ShowBox(context_.loops, window_, text.c_str(), kAppTitle, MB_OK | MB_ICONINFORMATION);
}

void TrayController::AddIcon() {
  icon_.Add(window_, static_cast<UINT>(reinterpret_cast<UINT_PTR>(owner_)), kIconApp);
}

void TrayController::Greet(bool settingsExisted) {
  // A combination another program holds is no hotkey of ours: the balloon must not promise it.
  app::Hotkey hotkey = context_.model.hotkey;
  if (!hotkeyRegistered_) {
    hotkey.letter = '\0';
  }
  if (const std::optional<app::Notice> notice = app::FirstStartNotice(settingsExisted, hotkey)) {
    icon_.ShowBalloon(ToWide(notice->title), ToWide(notice->text));
  }
}

void TrayController::Notify(const std::u16string& title, const std::u16string& text) {
  icon_.ShowBalloon(ToWide(title), ToWide(text));
}

void TrayController::Warn(const std::u16string& title, const std::u16string& text) {
  icon_.ShowBalloon(ToWide(title), ToWide(text), true);
}

void TrayController::ShowInTip(const std::u16string& tip) {
  icon_.SetTip(ToWide(tip));
}

void TrayController::RegisterHotkey() {
  hotkeyCheck_ = app::HotkeyMenuPosition(context_.model.hotkey.mods);
  // Another program may hold the combination: then there is simply no hotkey until the user
  // picks another one.
  hotkeyRegistered_ =
      RegisterHotKey(window_, kHotkeyId, context_.model.hotkey.mods,
                     static_cast<unsigned char>(context_.model.hotkey.letter)) != FALSE;
}

void TrayController::Remove() {
  if (hotkeyRegistered_) {
    UnregisterHotKey(window_, kHotkeyId);
    hotkeyRegistered_ = false;
  }
  icon_.Remove();
}

void TrayController::ShowMainWindow() {
  ShowWindow(window_, SW_SHOWNORMAL);
  // The hidden owner cannot take the foreground; the window it owns can, for the program.
  SetForegroundWindow(window_);
  if (memo_ != nullptr && context_.model.view.memo) {
    memo_->Show();
  }
  context_.restoreFocus();
}

void TrayController::HideMainWindow() {
  ShowWindow(window_, SW_HIDE);
  if (memo_ != nullptr) {
    memo_->Hide();
  }
}

bool TrayController::ApplicationActive() const {
  const HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  return foreground != nullptr && process == GetCurrentProcessId();
}

void TrayController::OnTrayCallback(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    if (IsWindowVisible(window_)) {
      HideMainWindow();
    } else {
      ShowMainWindow();
    }
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    ShowTrayMenu();
  }
}

void TrayController::ShowTrayMenu() {
  const UniqueMenu menu = context_.commands.BuildMenu(kTrayMenu);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(window_);
  POINT pointer{};
  GetCursorPos(&pointer);
  UINT command = 0;
  {
    const ModalLoops::Scope scope(context_.loops);
    command = static_cast<UINT>(TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                               pointer.x, pointer.y, 0, window_, nullptr));
  }
  PostMessageW(window_, WM_NULL, 0, 0);
  if (command != 0 && !context_.loops.Closing()) {
    context_.commands.Execute(command);
  }
}

void TrayController::OnInitMenuPopup(HMENU menu) {
  if (CommandTable::TagOf(menu) == kTagVersion && showAbout_) {
    showAbout_();
  }
}

void TrayController::OnHotkey() {
  switch (app::AnswerHotkey(context_.model, IsWindowVisible(window_), ApplicationActive())) {
    case app::HotkeyAnswer::kShow:
      ShowMainWindow();
      // With Alt alone, the program in front would take the Alt release for its menu bar.
      if (context_.model.hotkey.mods == app::kModAlt) {
        TapControlKey();
      }
      break;
    case app::HotkeyAnswer::kHide:
      HideMainWindow();
      break;
    case app::HotkeyAnswer::kBringForward:
      SetForegroundWindow(window_);
      context_.restoreFocus();
      break;
  }
}

void TrayController::ErrorBox(const wchar_t* text) {
  ShowBox(context_.loops, window_, text, kAppTitle, MB_OKCANCEL | MB_ICONERROR);
}

void TrayController::ChangeHotkey(int position) {
  app::Hotkey& hotkey = context_.model.hotkey;
  hotkeyCheck_ = position;
  const std::wstring current =
      hotkey.letter != '\0'
          ? ToWide(text::Cp932ToUtf16(context_.services, std::string(1, hotkey.letter)))
          : std::wstring();
  std::optional<std::wstring> entered;
  {
    const ModalLoops::Scope scope(context_.loops);
    entered = AskText(window_, L"Hotkey", L"使用するアルファベット（半角）", current);
  }
  if (context_.loops.Closing()) {
    return;  // the program is closing; it saves what the model holds
  }
  // Every change is committed before its box opens: a close while the box is up must find the
  // hotkey as it is, never half changed.
  if (entered) {
    const std::optional<char> letter =
        app::HotkeyLetterFromEntry(text::Utf16ToCp932(context_.services, FromWide(*entered)));
    if (!letter) {
      hotkeyCheck_ = app::HotkeyMenuPosition(hotkey.mods);
      ErrorBox(L"無効な文字です");
    } else if (!UnregisterHotKey(window_, kHotkeyId)) {
      ErrorBox(L"古いホットキーを削除できません");
    } else {
      const std::uint32_t mods = app::kHotkeyModsByMenuPosition[static_cast<std::size_t>(position)];
      hotkeyRegistered_ =
          RegisterHotKey(window_, kHotkeyId, mods, static_cast<unsigned char>(*letter)) != FALSE;
      if (hotkeyRegistered_) {
        hotkey = app::Hotkey{mods, *letter};
        ShowBox(context_.loops, window_, L"ホットキーを変更しました", kAppTitle, MB_OK);
      } else {
        // The old combination comes back; when even that fails there is no hotkey at all.
        hotkeyRegistered_ = RegisterHotKey(window_, kHotkeyId, hotkey.mods,
                                           static_cast<unsigned char>(hotkey.letter)) != FALSE;
        if (!hotkeyRegistered_) {
          hotkey.letter = '\0';
        }
        ErrorBox(L"新しいホットキーを登録できません");
      }
    }
  }
  if (context_.loops.Closing()) {
    return;
  }
  context_.saver.WriteSettings(context_.model);
}

}  // namespace pellix::win32
