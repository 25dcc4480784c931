#include "win32/app/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "core/capture/capture_rules.h"
#include "core/capture/filter_engine.h"
#include "core/lists/default_lists.h"
#include "core/platform_services.h"
#include "core/settings/settings_file.h"
#include "core/text/ascii.h"
#include "core/text/codec.h"
#include "win32/app/control_ids.h"
#include "win32/app/error_reporter.h"
#include "win32/app/fonts.h"
#include "win32/app/resource_ids.h"
#include "win32/capture/clipboard.h"
#include "win32/platform/wide_string.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"MainWindow";

// Design layout at 96 dpi.
constexpr POINT kWindowPosition{621, 140};
constexpr SIZE kClientSize{241, 169};
constexpr int kListTop = 20;
constexpr int kListOverhangRight = 8;
constexpr int kListOverhangBottom = 4;
constexpr int kItemHeight = 12;
constexpr int kSelectorVisibleItems = 12;
// Posted when the window has become visible, so the showing steps run after the show itself.
constexpr UINT kMsgShown = WM_APP + 1;
// A change whose clipboard another program holds is read again a little later, for up to 5 s:
// the capture must neither be lost nor keep the window waiting.
constexpr UINT_PTR kTimerCaptureRetry = 1;
constexpr UINT kCaptureRetryMs = 100;
constexpr int kCaptureRetries = 50;
// Samples the window pastes go to.
constexpr UINT_PTR kTimer1 = 2;
constexpr UINT kTimer1Ms = 1000;

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 RECT bounds, int dpi) {
  return CreateWindowExW(
      0, className, text, WS_CHILD | style, Scale(bounds.left, dpi), Scale(bounds.top, dpi),
      Scale(bounds.right - bounds.left, dpi), Scale(bounds.bottom - bounds.top, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void AddTooltip(HWND tooltips, HWND parent, HWND control, const wchar_t* text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

MainWindow::MainWindow(ErrorSink& errors, HWND owner, const std::wstring& exeDir)
    : Window(errors),
      files_(PlatformFileSystem()),
      services_(PlatformTextServices()),
      folder_(FromWide(exeDir), services_),
      owner_(owner) {
  state_.exeDir = exeDir;
  dpi_ = SystemDpi();
  RECT frame{0, 0, Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)};
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int left = Scale(kWindowPosition.x, dpi_);
  const int top = Scale(kWindowPosition.y, dpi_);
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconApp));
  CreateOf(kClassName, kAppTitle, style, 0,
           RECT{left, top, left + frame.right - frame.left, top + frame.bottom - frame.top}, owner,
           icon);
  CreateControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
  const HWND self = Handle();
  windowFont_ = CreateUiFont(kProportionalGothic, -12, dpi_);
  listFont_ = CreateUiFont(kFixedGothic, -12, dpi_);

  const int selectorHeight = kListTop + kSelectorVisibleItems * kItemHeight + 2;
  comboBox_ =
      CreateChild(self, WC_COMBOBOXW, L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                  kIdComboBox, RECT{0, 0, 100, selectorHeight}, dpi_);
  SetWindowSubclass(comboBox_, &MainWindow::SelectorSubclass, 1, reinterpret_cast<DWORD_PTR>(this));

  bitBtn1_ = CreateChild(self, WC_BUTTONW, L"", WS_VISIBLE | BS_PUSHBUTTON | BS_ICON, kIdBitBtn1,
                         RECT{101, 1, 119, 19}, dpi_);
  toolsIcon_.Reset(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconTools),
                                    IMAGE_ICON, Scale(16, dpi_), Scale(16, dpi_), 0)));
  SendMessageW(bitBtn1_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(toolsIcon_.Get()));

  const DWORD checkStyle = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
  tabbox_ =
      CreateChild(self, WC_BUTTONW, L"tab", checkStyle, kIdTabBox, RECT{122, 1, 156, 19}, dpi_);
  widebox_ =
      CreateChild(self, WC_BUTTONW, L"wide", checkStyle, kIdWideBox, RECT{159, 1, 200, 19}, dpi_);
  mbox_ = CreateChild(self, WC_BUTTONW, L"mm", checkStyle, kIdMBox, RECT{203, 1, 241, 19}, dpi_);

  const RECT listBounds = ListBounds();
  listBox_.Create(self, kIdListBox, listBounds, true);
  tntListBox1_.Create(self, kIdTntListBox1, listBounds, false);
  SetWindowTextW(listBox_.Handle(), L"ListBox");
  SetWindowTextW(tntListBox1_.Handle(), L"TntListBox1");

  dropbox_ = CreateChild(self, WC_LISTBOXW, L"", LBS_NOINTEGRALHEIGHT | WS_VSCROLL, kIdDropBox,
                         RECT{0, 20, 84, 108}, dpi_);

  for (const HWND control : {comboBox_, tabbox_, widebox_, mbox_, dropbox_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.Get()), FALSE);
  }
  SendMessageW(comboBox_, CB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi_));
  SendMessageW(comboBox_, CB_SETMINVISIBLE, kSelectorVisibleItems, 0);
  listBox_.SetFont(listFont_.Get());
  tntListBox1_.SetFont(windowFont_.Get());

  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, self,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  AddTooltip(tooltips_, self, bitBtn1_, L"ツールボタン");
  AddTooltip(tooltips_, self, tabbox_, L"懸賞入力");

  listMenu_.Reset(CreatePopupMenu());
  AppendMenuW(listMenu_.Get(), MF_STRING, kCmdSendCopy, L"コピー（他アプリへの貼り付け）\tCtrl+C");
  const HMENU conversions = CreatePopupMenu();
  AppendMenuW(conversions, MF_STRING, kCmdFullToHalfWidth, L"全角英数字を半角に");
  AppendMenuW(conversions, MF_STRING, kCmdToFullWidth, L"半角文字を全角に");
  AppendMenuW(conversions, MF_STRING, kCmdToLowerCase, L"大文字を小文字に");
  AppendMenuW(conversions, MF_STRING, kCmdToUpperCase, L"小文字を大文字に");
  AppendMenuW(listMenu_.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(conversions), L"変換");
  Layout();
}

RECT MainWindow::ListBounds() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  return RECT{0, Scale(kListTop, dpi_), client.right + Scale(kListOverhangRight, dpi_),
              client.bottom + Scale(kListOverhangBottom, dpi_)};
}

void MainWindow::Layout() {
  if (listBox_.Handle() == nullptr) {
    return;
  }
  const RECT bounds = ListBounds();
  listBox_.Move(bounds);
  tntListBox1_.Move(bounds);
}

void MainWindow::Start() {
  state_.taskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");
  state_.iniPath = state_.exeDir + L"pellix.ini";
  state_.memoPath = state_.exeDir + L"memo.txt";
  state_.hotkeyMods = MOD_CONTROL;
  state_.hotkeyLetter = 'A';
  SetLock(false);

  const std::u16string iniPath = folder_.Dir() + u"pellix.ini";
  if (files_.Exists(iniPath)) {
    ReadSettings(settings::ParseSettings(files_.ReadAll(iniPath)));
  } else {
    lists::AddDefaultLists(store_, files_, folder_, services_);
    FillSelector();
    ShowFirstList(0);
  }

  RegisterStartHotkey();
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  for (std::size_t i = 0; i < store_.Count(); ++i) {
    if (text::EqualsIgnoringAsciiCase(store_.Slot(i).name, lists::kUnicodeListName)) {
      store_.EnableUnicodeCapture();
    }
  }
  chain_.Attach(Handle());
  chain_.Join();
  trayIcon_.Add(Handle(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(owner_)),
                LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconApp)));
  SetTimer(Handle(), kTimer1, kTimer1Ms, nullptr);
}

void MainWindow::AttachWindows(HWND editBox, HWND memo, AboutBox* about) {
  editBox_ = editBox;
  memo_ = memo;
  about_ = about;
}

void MainWindow::FillSelector() {
  SendMessageW(comboBox_, CB_RESETCONTENT, 0, 0);
  SendMessageW(dropbox_, LB_RESETCONTENT, 0, 0);
  for (std::size_t i = 0; i < store_.Count(); ++i) {
    const std::wstring name = ToWide(text::Cp932ToUtf16(services_, store_.Slot(i).name));
    SendMessageW(comboBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(dropbox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void MainWindow::SwitchList(std::size_t index) {
  const lists::SwitchPlan plan = store_.SwitchList(index);
  VirtualListView& shown = plan.unicode ? tntListBox1_ : listBox_;
  VirtualListView& other = plan.unicode ? listBox_ : tntListBox1_;
  if (!plan.unicode) {
    listBox_.SetCount(store_.Slot(index).items.size());
  } else {
    tntListBox1_.SetCount(store_.UnicodeItems().size());
  }
  // The two lists share one place; only the one in use is shown, so focus and screen readers
  // never land on the covered one.
  shown.Show(true);
  other.Show(false);
  state_.hoverIndex = -1;
  if (plan.hasItems) {
    if (IsVisible()) {
      SetFocus(shown.Handle());
    }
    shown.SelectOnly(0);
    state_.dragIndex = 0;
  }
}

LRESULT CALLBACK MainWindow::SelectorSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindow*>(data);
  try {
    if (message == WM_CHAR && wParam >= L' ') {
      return 0;  // no type-ahead: a letter must not jump to another list
    }
    if (message == WM_KEYDOWN && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0)) {
      if (self->selectorKeys_.KeyWhileDropped(wParam == VK_RETURN)) {
        const LRESULT highlighted = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
        if (highlighted >= 0) {
          self->SwitchList(static_cast<std::size_t>(highlighted));
        }
      }
    }
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &MainWindow::SelectorSubclass, 1);
    }
  } catch (...) {
    self->Errors().Report(std::current_exception());
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void MainWindow::OnSelectorNotice(int code) {
  if (code == CBN_SELCHANGE) {
    const LRESULT index = SendMessageW(comboBox_, CB_GETCURSEL, 0, 0);
    if (selectorKeys_.Changed() && index >= 0) {
      SwitchList(static_cast<std::size_t>(index));
    }
  } else if (code == CBN_CLOSEUP) {
    selectorKeys_.ClosedUp();
  }
}

std::wstring MainWindow::AnsiItemText(std::size_t index) const {
  const auto slot = store_.AnsiShown();
  if (!slot || index >= store_.Slot(*slot).items.size()) {
    return {};
  }
  return ToWide(text::Cp932ToUtf16(services_, store_.Slot(*slot).items[index]));
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.code == LVN_GETDISPINFOW) {
    auto& request = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
    const auto index = static_cast<std::size_t>(request.item.iItem);
    if (header.hwndFrom == listBox_.Handle()) {
      VirtualListView::AnswerTextRequest(request, AnsiItemText(index));
    } else if (header.hwndFrom == tntListBox1_.Handle() && index < store_.UnicodeItems().size()) {
      VirtualListView::AnswerTextRequest(request, ToWide(store_.UnicodeItems()[index]));
    }
    return 0;
  }
  if (header.code == LVN_ODFINDITEMW) {
    return -1;  // no type-ahead search in the lists
  }
  const bool fromList =
      header.hwndFrom == listBox_.Handle() || header.hwndFrom == tntListBox1_.Handle();
  if (fromList && header.code == NM_DBLCLK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    // A double click on the empty part of the ordinary list does nothing.
    if (header.hwndFrom == tntListBox1_.Handle() || click.iItem >= 0) {
      SendCopy();
    }
    return 0;
  }
  if (fromList && header.code == LVN_KEYDOWN) {
    const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (key.wVKey == VK_RETURN || (key.wVKey == VK_SPACE && !control)) {
      PasteFromKey();
    } else if (control && key.wVKey == 'C') {
      SendCopy();
    } else if (control && key.wVKey == 'T') {
      SetTabMode(!state_.sendTabFlag);
    }
    return 0;
  }
  return 0;
}

void MainWindow::ShowListMenu(LPARAM screenPoint) {
  POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (point.x == -1 && point.y == -1) {  // from the keyboard: under the focused item
    RECT item{};
    const int focused = listBox_.FocusedIndex();
    if (focused >= 0 && ListView_GetItemRect(listBox_.Handle(), focused, &item, LVIR_BOUNDS)) {
      point = POINT{item.left, item.bottom};
    }
    ClientToScreen(listBox_.Handle(), &point);
  }
  TrackPopupMenu(listMenu_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                 0, Handle(), nullptr);
}

void MainWindow::ConvertFocusedItem(lists::ItemConversion conversion) {
  const auto slot = store_.AnsiShown();
  if (!slot) {
    return;
  }
  const int focused = listBox_.FocusedIndex();
  if (lists::ConvertFocusedItem(store_.MutableItems(*slot), focused, conversion, services_)) {
    listBox_.RedrawItem(focused);
    ListView_SetItemState(listBox_.Handle(), focused, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void MainWindow::OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
  // The next viewer hears of every change, whatever happens to our own capture of it.
  struct ForwardOnExit {
    const ViewerChain& chain;
    WPARAM wParam;
    LPARAM lParam;
    ~ForwardOnExit() { chain.ForwardDraw(wParam, lParam); }
  } forward{chain_, wParam, lParam};

  // A newer change replaces one still waiting for the clipboard.
  KillTimer(Handle(), kTimerCaptureRetry);
  captureRetries_ = 0;
  if (state_.ownWrite) {
    state_.ownWrite = false;
    return;
  }
  if (!TryCapture()) {
    RecoverFromClipboardError();
    captureRetries_ = kCaptureRetries;
    SetTimer(Handle(), kTimerCaptureRetry, kCaptureRetryMs, nullptr);
  }
}

bool MainWindow::TryCapture() {
  ClipboardText clipboard;
  try {
    clipboard = ReadClipboardText(Handle(), services_);
  } catch (const ClipboardError&) {
    return false;
  }
  if (clipboard.secret) {
    return true;
  }
  if (store_.UnicodeCapture() && !clipboard.wide.empty()) {
    CaptureUnicode(clipboard.wide);
  }
  CaptureClipboardText(clipboard.ansi);
  return true;
}

void MainWindow::OnCaptureRetry() {
  if (TryCapture() || --captureRetries_ <= 0) {
    KillTimer(Handle(), kTimerCaptureRetry);
    captureRetries_ = 0;
  }
}

void MainWindow::CaptureUnicode(const std::u16string& text) {
  lists::WideItems& items = store_.MutableUnicodeItems();
  items.insert(items.begin(), text);
  const auto current = store_.Current();
  if (current && lists::IsUnicodeListName(store_.Slot(*current).name)) {
    tntListBox1_.InsertedAtTop(items.size(), 1);
  }
}

void MainWindow::CaptureClipboardText(const std::optional<std::string>& text) {
  if (!text) {
    return;
  }
  auto taken = capture::TextToCapture(*text, state_.lastText);
  if (!taken) {
    return;
  }
  state_.lastText = std::move(*taken);
  const capture::FilterRun run = capture::RunFilters(store_, state_.lastText, services_);
  ShowInsertions(run.inserted);
  if (run.failed) {
    MessageBoxW(Handle(), AsWide(capture::kFilterFailureMessage), kAppTitle, MB_OK);
  }
}

void MainWindow::ShowInsertions(const std::vector<std::size_t>& inserted) {
  const auto shown = store_.AnsiShown();
  if (shown && *shown < inserted.size() && inserted[*shown] > 0) {
    listBox_.InsertedAtTop(store_.Slot(*shown).items.size(), inserted[*shown]);
  }
}

void MainWindow::RestoreChain() {
  if (!chain_.IsFirst()) {
    chain_.Rejoin();
    try {
      CaptureClipboardText(ReadClipboardText(Handle(), services_).ansi);
    } catch (const ClipboardError&) {
      RecoverFromClipboardError();
    }
  }
  if (IsVisible() && listBox_.Handle() != nullptr && IsWindowVisible(listBox_.Handle())) {
    SetFocus(listBox_.Handle());
  }
}

void MainWindow::RecoverFromClipboardError() {
  if (!chain_.IsFirst()) {
    chain_.Rejoin();
  }
}

void MainWindow::OnShown() {
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RestoreChain();
}

void MainWindow::SaveEverything() {
  // Each file on its own: settings that cannot be written must not cost the lists.
  try {
    WriteSettings();
  } catch (...) {
    ShowStopBox(Handle(), ErrorMessage(std::current_exception()));
  }
  try {
    store_.SaveListFiles(files_, folder_);
  } catch (...) {
    ShowStopBox(Handle(), ErrorMessage(std::current_exception()));
  }
}

void MainWindow::Close() {
  if (closed_) {
    return;
  }
  closed_ = true;
  KillTimer(Handle(), kTimer1);
  UnregisterStartHotkey();
  trayIcon_.Remove();
  chain_.Leave();
  SaveEverything();
  store_.Clear();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == state_.taskbarCreatedMsg && message != 0) {
    trayIcon_.AddAgain();  // Explorer restarted: the icon must come back
    return 0;
  }
  switch (message) {
    case kTrayCallbackMessage:
      OnTrayCallback(lParam);
      return 0;
    case WM_ACTIVATE:
      // Back in front, the keys go to the shown list again, so Enter, Space and Ctrl+C work.
      if (LOWORD(wParam) != WA_INACTIVE && IsVisible()) {
        const HWND shown =
            IsWindowVisible(tntListBox1_.Handle()) ? tntListBox1_.Handle() : listBox_.Handle();
        if (GetFocus() != shown) {
          SetFocus(shown);
        }
        return 0;
      }
      break;
    case WM_HOTKEY:
      OnHotkey();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        // Hidden rather than minimised, so it comes back where it was, as large as it was.
        HideMainWindow();
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wParam) == trayMenu_.VersionMenu() && about_ != nullptr) {
        about_->Show();
      }
      break;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.Get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(background_.Get());
    case WM_SIZE:
      Layout();
      return 0;
    case WM_DRAWCLIPBOARD:
      OnDrawClipboard(wParam, lParam);
      return 0;
    case WM_CHANGECBCHAIN:
      return chain_.OnChangeChain(wParam, lParam);
    case WM_SHOWWINDOW:
      if (wParam != 0) {
        PostMessageW(Handle(), kMsgShown, 0, 0);
      }
      break;
    case kMsgShown:
      OnShown();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerCaptureRetry) {
        OnCaptureRetry();
        return 0;
      }
      if (wParam == kTimer1) {
        OnTimerTick();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == comboBox_) {
        OnSelectorNotice(HIWORD(wParam));
        return 0;
      }
      if (reinterpret_cast<HWND>(lParam) == bitBtn1_ && HIWORD(wParam) == BN_CLICKED) {
        ShowTrayMenu();
        return 0;
      }
      if (reinterpret_cast<HWND>(lParam) == tabbox_ && HIWORD(wParam) == BN_CLICKED) {
        state_.sendTabFlag = SendMessageW(tabbox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (IsVisible()) {
          SetFocus(listBox_.Handle());
        }
        return 0;
      }
      if (lParam == 0 && OnCommand(LOWORD(wParam))) {
        return 0;
      }
      break;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == listBox_.Handle()) {
        ShowListMenu(lParam);
        return 0;
      }
      break;
    case WM_CLOSE:
      Close();
      DestroyWindow(Handle());
      return 0;
    case WM_QUERYENDSESSION:
      // Write everything now: the session may end without another chance. The lists stay in
      // memory in case another program cancels the end of the session.
      SaveEverything();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != 0) {
        Close();
        DestroyWindow(Handle());
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
