// The main window in the notification area: the tray icon and menu, the global hotkey, and
// showing and hiding the window.

#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include <array>

#include "core/text/codec.h"
#include "win32/app/control_ids.h"
#include "win32/app/error_reporter.h"
#include "win32/app/input_dialog.h"
#include "win32/app/main_window.h"
#include "win32/platform/wide_string.h"

namespace pellix::win32 {
namespace {

// The hotkey's identifier; WM_HOTKEY is handled the same whatever it carries.
constexpr int kHotkeyId = 1;
constexpr std::array<UINT, 5> kHotkeyMods = {MOD_CONTROL, MOD_SHIFT, MOD_ALT,
                                             MOD_CONTROL | MOD_SHIFT, MOD_CONTROL | MOD_ALT};

void ErrorBox(HWND owner, const wchar_t* text) {
  MessageBoxW(owner, text, kAppTitle, MB_OKCANCEL | MB_ICONERROR);
}

void TapControlKey() {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_CONTROL;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

void MainWindow::ShowMainWindow() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  // The hidden owner cannot take the foreground; the window it owns can, for the program.
  SetForegroundWindow(Handle());
  if (IsVisible()) {
    SetFocus(Handle());
  }
}

void MainWindow::HideMainWindow() {
  ShowWindow(Handle(), SW_HIDE);
  if (memo_ != nullptr) {
    ShowWindow(memo_, SW_HIDE);
  }
}

bool MainWindow::ApplicationActive() const {
  const HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  return foreground != nullptr && process == GetCurrentProcessId();
}

void MainWindow::OnTrayCallback(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    if (IsVisible()) {
      HideMainWindow();
    } else {
      ShowMainWindow();
    }
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    ShowTrayMenu();
  }
}

void MainWindow::ShowTrayMenu() {
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(Handle());
  const UINT command = trayMenu_.Track(Handle());
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (command != 0) {
    OnCommand(command);
  }
}

void MainWindow::OnHotkey() {
  if (!IsVisible()) {
    ShowMainWindow();
    // With Alt alone, the program in front would take the Alt release for its menu bar.
    if (state_.hotkeyMods == MOD_ALT) {
      TapControlKey();
    }
  } else if (ApplicationActive() && !state_.pastedSinceHotkey) {
    HideMainWindow();
  } else {
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    state_.pastedSinceHotkey = false;
  }
}

void MainWindow::ChangeHotkey(int position) {
  trayMenu_.CheckHotkeyItem(position);
  const std::wstring current =
      state_.hotkeyLetter != '\0'
          ? ToWide(text::Cp932ToUtf16(services_, std::string(1, state_.hotkeyLetter)))
          : std::wstring();
  const std::optional<std::wstring> entered =
      AskText(Handle(), L"Hotkey", L"使用するアルファベット（半角）", current);
  if (entered) {
    const std::string bytes = text::Utf16ToCp932(services_, FromWide(*entered));
    if (bytes.size() != 1) {
      ErrorBox(Handle(), L"無効な文字です");
      trayMenu_.CheckHotkeyItem(settings::HotkeyMenuPosition(state_.hotkeyMods));
    } else if (!UnregisterHotKey(Handle(), kHotkeyId)) {
      ErrorBox(Handle(), L"古いホットキーを削除できません");
    } else {
      const char letter =
          bytes[0] >= 'a' && bytes[0] <= 'z' ? static_cast<char>(bytes[0] - 32) : bytes[0];
      const UINT mods = kHotkeyMods[static_cast<std::size_t>(position)];
      const char oldLetter = state_.hotkeyLetter;
      state_.hotkeyLetter = '\0';
      if (RegisterHotKey(Handle(), kHotkeyId, mods, static_cast<unsigned char>(letter))) {
        MessageBoxW(Handle(), L"ホットキーを変更しました", kAppTitle, MB_OK);
        state_.hotkeyMods = mods;
        state_.hotkeyLetter = letter;
      } else {
        ErrorBox(Handle(), L"新しいホットキーを登録できません");
        if (RegisterHotKey(Handle(), kHotkeyId, state_.hotkeyMods,
                           static_cast<unsigned char>(oldLetter))) {
          state_.hotkeyLetter = oldLetter;
        }
      }
    }
  }
  WriteSettings();
}

void MainWindow::RegisterStartHotkey() {
  // Another program may hold the combination: then there is simply no hotkey until the user
  // picks another one.
  RegisterHotKey(Handle(), kHotkeyId, state_.hotkeyMods,
                 static_cast<unsigned char>(state_.hotkeyLetter));
}

void MainWindow::UnregisterStartHotkey() {
  UnregisterHotKey(Handle(), kHotkeyId);
}

bool MainWindow::OnCommand(UINT id) {
  if (id >= kCmdPasteOptionFirst && id < kCmdPasteOptionFirst + 10) {
    trayMenu_.SetPasteOption(static_cast<int>(id - kCmdPasteOptionFirst));
    return true;
  }
  if (id >= kCmdFullToHalfWidth && id <= kCmdToUpperCase) {
    // The list menu's four conversions, in the order of ItemConversion.
    ConvertFocusedItem(static_cast<lists::ItemConversion>(id - kCmdFullToHalfWidth));
    return true;
  }
  if (id >= kCmdHotkeyFirst && id < kCmdHotkeyFirst + kHotkeyMods.size()) {
    ChangeHotkey(static_cast<int>(id - kCmdHotkeyFirst));
    return true;
  }
  switch (id) {
    case kCmdRestoreChain:
      RestoreChain();
      return true;
    case kCmdTransparent:
      SetTransparent(!trayMenu_.Transparent());
      if (IsVisible()) {
        SetFocus(listBox_.Handle());
      }
      return true;
    case kCmdHelp:
      // Shown normally: a hidden browser window would look like nothing happened.
      ShellExecuteW(Handle(), L"open", L"pellixhelp.html", nullptr, state_.exeDir.c_str(),
                    SW_SHOWNORMAL);
      return true;
    case kCmdVersionItem:
      return true;
    case kCmdExit:
      PostMessageW(Handle(), WM_CLOSE, 0, 0);
      return true;
    case kCmdSendCopy:
      SendCopy();
      return true;
    case kCmdTabMode:
      SetTabMode(!state_.sendTabFlag);
      return true;
    default:
      return false;
  }
}

}  // namespace pellix::win32
