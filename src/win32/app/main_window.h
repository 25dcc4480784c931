#pragma once
// The list window: the hub that owns the lists and every program-wide flag.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/io/app_folder.h"
#include "core/lists/item_conversion.h"
#include "core/lists/list_selector.h"
#include "core/lists/list_store.h"
#include "core/settings/settings_file.h"
#include "win32/app/about_box.h"
#include "win32/app/tray_icon.h"
#include "win32/app/tray_menu.h"
#include "win32/app/window.h"
#include "win32/capture/viewer_chain.h"
#include "win32/lists/virtual_list_view.h"
#include "win32/platform/gdi.h"

namespace pellix::win32 {

// The program-wide state the main window carries besides its controls.
struct MainState {
  std::wstring exeDir;  // with its trailing separator
  std::wstring iniPath;
  std::wstring memoPath;
  UINT taskbarCreatedMsg = 0;
  std::string lastText;   // code page 932: the text last handed to the filters
  bool ownWrite = false;  // we wrote the clipboard ourselves: the next notice is not captured
  UINT hotkeyMods = MOD_CONTROL;
  char hotkeyLetter = 'A';
  bool pastedSinceHotkey = false;
  bool sendTabFlag = false;
  bool lockFlag = false;
  HWND pasteTarget = nullptr;
  int hoverIndex = 0;
  int dragIndex = 0;
};

class MainWindow final : public Window {
 public:
  MainWindow(ErrorSink& errors, HWND owner, const std::wstring& exeDir);
  ~MainWindow() override;

  // The creation handler: reads the settings and the lists and shows the first. Throws when a
  // file is bad, before anything has been written.
  void Start();

  // The windows created after this one, which the main window shows, hides and leaves out of
  // the paste target.
  void AttachWindows(HWND editBox, HWND memo, AboutBox* about);

  const lists::ListStore& Store() const { return store_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void CreateControls();
  void Layout();
  RECT ListBounds() const;

  void FillSelector();
  void SwitchList(std::size_t index);
  void OnSelectorNotice(int code);
  static LRESULT CALLBACK SelectorSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  LRESULT OnNotify(const NMHDR& header);
  void ShowListMenu(LPARAM screenPoint);
  void ConvertFocusedItem(lists::ItemConversion conversion);

  void OnDrawClipboard(WPARAM wParam, LPARAM lParam);
  // Hands a clipboard text to the filters unless it is empty, a bare line break or a repeat.
  void CaptureClipboardText(const std::optional<std::string>& text);
  void CaptureUnicode(const std::u16string& text);
  // Takes in what the clipboard holds now; false when another program still holds it open.
  bool TryCapture();
  void OnCaptureRetry();
  void ShowInsertions(const std::vector<std::size_t>& inserted);
  // Puts us back at the front of the viewer chain when another viewer displaced us.
  void RestoreChain();
  // A clipboard error shows nothing; it only costs our place in the chain, which is restored.
  void RecoverFromClipboardError();
  void OnShown();

  // Settings: applied at start, written at the end and after the hotkey menu.
  void ReadSettings(const settings::SettingsPlan& plan);
  void ShowFirstList(std::optional<std::size_t> view);
  void WriteSettings();
  void ApplyListFont(std::optional<int> points, std::optional<std::uint32_t> color);
  void SetLock(bool on);
  void SetTransparent(bool on);

  // The tray icon, the tray menu and the hotkey.
  void ShowMainWindow();
  void HideMainWindow();
  void OnTrayCallback(LPARAM mouseMessage);
  void OnHotkey();
  void ChangeHotkey(int position);
  void RegisterStartHotkey();
  void UnregisterStartHotkey();
  void ShowTrayMenu();
  bool ApplicationActive() const;
  bool OnCommand(UINT id);

  // Pasting.
  void OnTimerTick();
  void SendCopy();
  void PasteFromKey();
  void SetTabMode(bool on);

  // Saves what a closing or an ending session must not lose; reports a failure and goes on.
  void SaveEverything();
  // The close handler: saves once, then releases the lists.
  void Close();

  std::wstring AnsiItemText(std::size_t index) const;

  const io::FileSystem& files_;
  const text::TextServices& services_;
  io::AppFolder folder_;
  MainState state_;
  lists::ListStore store_;
  lists::ListSelectorKeys selectorKeys_;
  ViewerChain chain_;
  int captureRetries_ = 0;  // left for a change whose clipboard was held by another program
  TrayIcon trayIcon_;
  TrayMenu trayMenu_;
  HWND owner_ = nullptr;
  HWND editBox_ = nullptr;
  HWND memo_ = nullptr;
  AboutBox* about_ = nullptr;
  UniqueBrush background_;  // button face, or red while the lists are locked
  int listFontPoints_ = 9;
  std::uint32_t listFontColor_ = 0x80000008;  // the window text colour
  bool savedForSessionEnd_ = false;
  bool closed_ = false;

  int dpi_ = 96;
  UniqueFont windowFont_;
  UniqueFont listFont_;
  UniqueIcon toolsIcon_;
  UniqueMenu listMenu_;
  HWND comboBox_ = nullptr;
  HWND bitBtn1_ = nullptr;
  HWND tabbox_ = nullptr;
  HWND widebox_ = nullptr;
  HWND mbox_ = nullptr;
  HWND dropbox_ = nullptr;
  HWND tooltips_ = nullptr;
  VirtualListView listBox_;
  VirtualListView tntListBox1_;
};

}  // namespace pellix::win32
