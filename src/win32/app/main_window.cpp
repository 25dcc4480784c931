#include "win32/app/main_window.h"

#include <commctrl.h>

#include "core/app/startup.h"
#include "core/capture/filter_engine.h"
#include "core/platform_services.h"
#include "win32/app/control_ids.h"
#include "win32/app/error_reporter.h"
#include "win32/app/fonts.h"
#include "win32/app/resource_ids.h"
#include "win32/app/tooltips.h"
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
// Posted when the window has become visible, so the showing steps run after the show itself.
constexpr UINT kMsgShown = WM_APP + 1;

HWND CreateButton(HWND parent, const wchar_t* text, DWORD style, int id, RECT bounds, int dpi) {
  return CreateWindowExW(
      0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | style, Scale(bounds.left, dpi),
      Scale(bounds.top, dpi), Scale(bounds.right - bounds.left, dpi),
      Scale(bounds.bottom - bounds.top, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

MainWindow::MainWindow(ErrorSink& errors, ModalLoops& loops, app::Model& model, app::Saver& saver,
                       const io::AppFolder& folder, HWND owner, const std::wstring& exeDir)
    : Window(errors),
      loops_(loops),
      model_(model),
      saver_(saver),
      folder_(folder),
      services_(PlatformTextServices()),
      exeDir_(exeDir),
      owner_(owner),
      lists_(model, services_, errors),
      capture_(model, lists_, services_),
      paste_(model, lists_, services_),
      tray_(TrayController::Context{model, saver, loops, commands_, services_,
                                    [this] { lists_.FocusShownList(); }}),
      view_(model, lists_, loops),
      editing_(ListEditing::Context{model, lists_, paste_, loops, services_,
                                    [this](bool on) { view_.SetLock(on); }}),
      intake_(model, lists_, loops, services_, PlatformFileSystem()) {
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
  TrackPlacement();
  CreateControls();
  capture_.Attach(Handle());
  paste_.Attach(Handle(), tabbox_);
  tray_.Attach(Handle(), owner_, exeDir_);
  view_.Attach(Handle(), widebox_);
  editing_.Attach(Handle());
  intake_.Attach(Handle());
  lists_.AddCommands(commands_);
  capture_.AddCommands(commands_);
  paste_.AddCommands(commands_);
  tray_.AddCommands(commands_);
  view_.AddCommands(commands_);
  editing_.AddCommands(commands_);
  intake_.AddCommands(commands_);
  AddFrameCommands();
  accelerators_ = commands_.BuildAccelerators();
}

MainWindow::~MainWindow() {
  // The controls go before the fonts and brushes they draw with.
  Destroy();
}

void MainWindow::CreateControls() {
  const HWND self = Handle();
  windowFont_ = CreateUiFont(kProportionalGothic, -12, dpi_);
  const auto wideAgain = [this] {
    if (model_.view.wide) {
      view_.ApplyWideMode();
    }
  };
  lists_.Create(
      self, dpi_, windowFont_.Get(), ListBounds(),
      ListPane::Actions{[this] { paste_.PasteFromKey(); }, [this] { paste_.SendCopy(); }, wideAgain,
                        [this](std::size_t list) { editing_.MoveDraggedTo(list); },
                        [this](int item) { editing_.OnBeginDrag(item); }});

  bitBtn1_ =
      CreateButton(self, L"", BS_PUSHBUTTON | BS_ICON, kIdBitBtn1, RECT{101, 1, 119, 19}, dpi_);
  toolsIcon_.Reset(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconTools),
                                    IMAGE_ICON, Scale(16, dpi_), Scale(16, dpi_), 0)));
  SendMessageW(bitBtn1_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(toolsIcon_.Get()));
  const DWORD checkStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
  tabbox_ = CreateButton(self, L"tab", checkStyle, kIdTabBox, RECT{122, 1, 156, 19}, dpi_);
  widebox_ = CreateButton(self, L"wide", checkStyle, kIdWideBox, RECT{159, 1, 200, 19}, dpi_);
  mbox_ = CreateButton(self, L"mm", checkStyle, kIdMBox, RECT{203, 1, 241, 19}, dpi_);
  for (const HWND control : {tabbox_, widebox_, mbox_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.Get()), FALSE);
  }

  tooltips_ = CreateTooltips(self);
  AddTooltip(tooltips_, self, bitBtn1_, L"ツールボタン");
  AddTooltip(tooltips_, self, tabbox_, L"懸賞入力");
}

void MainWindow::AddFrameCommands() {
  const auto openFilterSettings = [this] {
    openFilterList_();
    if (IsWindowVisible(Handle())) {
      tray_.OnMinimize();  // hidden as the tray hides it, memo and all
    }
  };
  const auto dialogAttached = [this] { return static_cast<bool>(openFilterList_); };
  commands_.Add(
      Command{kCmdFilterSettings, L"フィルター設定", {}, openFilterSettings, dialogAttached, {}});
  const auto openSearch = [this] {
    if (!IsWindowVisible(Handle())) {
      tray_.Show();  // from the tray menu: the window comes up with the field open
    }
    lists_.OpenSearch();
  };
  commands_.Add(Command{kCmdSearch, L"検索", Shortcut{'F', true}, openSearch, {}, {}});
}

RECT MainWindow::ListBounds() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  return RECT{0, Scale(kListTop, dpi_), client.right + Scale(kListOverhangRight, dpi_),
              client.bottom + Scale(kListOverhangBottom, dpi_)};
}

void MainWindow::TrackPlacement() {
  RECT window{};
  if (!IsIconic(Handle()) && GetWindowRect(Handle(), &window)) {
    model_.placement = app::Placement{window.left, window.top, window.right - window.left,
                                      window.bottom - window.top};
  }
}

void MainWindow::Start() {
  taskbarCreatedMsg_ = RegisterWindowMessageW(L"TaskbarCreated");
  const io::FileSystem& files = PlatformFileSystem();
  // A save that a crash cut short left its temporary file; the file it was to replace is whole.
  files.RemoveUnfinishedWrites(folder_.Dir());
  const std::u16string iniPath = app::SettingsPath(folder_);
  std::optional<settings::SettingsPlan> plan;
  if (files.Exists(iniPath)) {
    plan = settings::ParseSettings(files.ReadAll(iniPath));
  }
  app::LoadModel(model_, plan, files, folder_, services_);
  ApplyModelToControls();

  tray_.RegisterHotkey();
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  capture_.Join();
  tray_.AddIcon();
  paste_.Start();
}

void MainWindow::ApplyModelToControls() {
  const app::Placement& placement = model_.placement;
  MoveWindow(Handle(), placement.left, placement.top, placement.width, placement.height, FALSE);
  lists_.SetListFont(model_.view.fontSize);
  lists_.SetListColor(model_.view.fontColor);
  paste_.SetTabMode(model_.sendTabFlag);
  SendMessageW(mbox_, BM_SETCHECK, model_.view.memo ? BST_CHECKED : BST_UNCHECKED, 0);
  view_.ApplyModel();
  lists_.ShowStore();
}

void MainWindow::AttachWindows(const OtherWindows& windows) {
  memo_ = windows.memo;
  paste_.SetPasteableWindows(memo_->Handle(), {windows.filterList, windows.filterEditor});
  view_.AttachMemo(memo_->Handle());
  editing_.AttachEditBox(windows.editBox);
  editing_.AttachMemo(memo_);
  tray_.AttachWindows(memo_, windows.about);
  openFilterList_ = windows.openFilterList;
  // Typed keys belong to the memo while it is in front, not to the list commands.
  memo_->OnActivated([this] { lists_.EnableListCommands(false); });
  if (model_.view.memo) {
    memo_->Show();
  }
}

bool MainWindow::ShowListMenu(HWND from, LPARAM screenPoint) {
  const std::optional<UniqueMenu> menu = lists_.ContextMenu(from, screenPoint, commands_);
  if (!menu) {
    return false;
  }
  const POINT point = lists_.ContextMenuPoint(from, screenPoint);
  UINT command = 0;
  {
    const ModalLoops::Scope scope(loops_);
    command = static_cast<UINT>(
        TrackPopupMenu(menu->Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                       point.x, point.y, 0, Handle(), nullptr));
  }
  if (command != 0 && !loops_.Closing()) {
    commands_.Execute(command);
  }
  return true;
}

void MainWindow::OnShown() {
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  capture_.RestoreChain();
}

void MainWindow::SaveEverything() {
  if (memo_ != nullptr) {
    memo_->SaveIfModified();
  }
  for (const std::u16string& failure : saver_.SaveChanges(model_)) {
    const ModalLoops::Scope scope(loops_);
    ShowStopBox(Handle(), ToWide(failure));
  }
}

void MainWindow::Close() {
  if (closed_) {
    return;
  }
  closed_ = true;
  paste_.Stop();
  tray_.Remove();
  capture_.Leave();
  SaveEverything();
  model_.lists.Clear();
}

void MainWindow::OnCloseRequest() {
  if (loops_.Active()) {
    // A question is open: it is ended first, and the close comes back once it has returned.
    loops_.CloseWhenDone(Handle());
    return;
  }
  Close();
  DestroyWindow(Handle());
}

std::optional<LRESULT> MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const auto from = reinterpret_cast<HWND>(lParam);
  const int code = HIWORD(wParam);
  if (lists_.OnSelectorCommand(from, code)) {
    return 0;
  }
  if (from == bitBtn1_ && code == BN_CLICKED) {
    tray_.ShowTrayMenu();
    return 0;
  }
  if (from == tabbox_ && code == BN_CLICKED) {
    paste_.OnTabBoxClicked();
    return 0;
  }
  if (from == widebox_ && code == BN_CLICKED) {
    view_.OnWideBoxClicked();
    return 0;
  }
  if (from == mbox_ && code == BN_CLICKED) {
    model_.view.memo = SendMessageW(mbox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (memo_ != nullptr) {
      memo_->SetShown(model_.view.memo);
    }
    return 0;
  }
  if (from == nullptr && commands_.Execute(LOWORD(wParam))) {
    return 0;
  }
  return std::nullopt;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreatedMsg_ && message != 0) {
    tray_.OnTaskbarCreated();  // Explorer restarted: the icon must come back
    return 0;
  }
  switch (message) {
    case kTrayCallbackMessage:
      tray_.OnTrayCallback(lParam);
      return 0;
    case WM_HOTKEY:
      tray_.OnHotkey();
      return 0;
    case WM_ACTIVATE:
      // In front again, whatever brought it there: the keys go to the list in use.
      if (LOWORD(wParam) != WA_INACTIVE) {
        lists_.EnableListCommands(true);
        lists_.FocusShownList();
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        // Hidden rather than minimised, so it comes back where it was, as large as it was.
        tray_.OnMinimize();
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      tray_.OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      break;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, view_.Background());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(view_.Background());
    case WM_MOVE:
      TrackPlacement();
      view_.OnMoved();
      return 0;
    case WM_SIZE:
      TrackPlacement();
      lists_.Layout(ListBounds());
      view_.OnResized();
      return 0;
    case WM_DRAWCLIPBOARD:
      capture_.OnDrawClipboard(wParam, lParam);
      return 0;
    case WM_CHANGECBCHAIN:
      return capture_.OnChangeChain(wParam, lParam);
    case kMsgFilterFailed:
      ShowBox(loops_, Handle(), AsWide(capture::kFilterFailureMessage), kAppTitle, MB_OK);
      return 0;
    case WM_SHOWWINDOW:
      lists_.EnableListCommands(wParam != 0);
      if (wParam != 0) {
        PostMessageW(Handle(), kMsgShown, 0, 0);
      }
      break;
    case kMsgShown:
      OnShown();
      return 0;
    case WM_TIMER:
      if (capture_.OnTimer(wParam) || paste_.OnTimer(wParam)) {
        return 0;
      }
      break;
    case WM_COMMAND:
      if (const auto result = OnCommand(wParam, lParam)) {
        return *result;
      }
      break;
    case WM_NOTIFY:
      if (const auto result = lists_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam))) {
        return *result;
      }
      return 0;
    case WM_MOUSEMOVE:
      if (editing_.Drag().OnMouseMove()) {
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (editing_.Drag().OnButtonUp()) {
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      editing_.Drag().OnCaptureLost();
      break;
    case WM_CONTEXTMENU:
      if (ShowListMenu(reinterpret_cast<HWND>(wParam), lParam)) {
        return 0;
      }
      break;
    case WM_DROPFILES:
      intake_.OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
    case WM_QUERYENDSESSION:
      // Everything is written now: the session may end without another chance. The lists stay
      // in memory in case another program cancels the end of the session.
      SaveEverything();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != 0) {
        // The process may be ended as soon as this returns: the work is done here, even while a
        // question is open (the model holds nothing half-made).
        Close();
        OnCloseRequest();
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
