#include "win32/shell/main_window.h"

#include <commctrl.h>

#include "core/app/startup.h"
#include "core/capture/filter_engine.h"
#include "core/io/leftovers.h"
#include "core/platform_services.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/error_reporter.h"
#include "win32/ui/fonts.h"
#include "win32/ui/tooltips.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"MainWindow";

// Design layout at 96 dpi.
constexpr POINT kWindowPosition{621, 140};
constexpr SIZE kClientSize{241, 169};
constexpr int kListTop = 20;

}  // namespace

MainWindow::MainWindow(ErrorSink& errors, ModalLoops& loops, app::Model& model, app::Saver& saver,
                       const io::AppFolder& folder, const io::FileSystem& files,
                       app::BackgroundWriter& writer, HWND owner, const std::wstring& exeDir)
    : Window(errors),
      loops_(loops),
      model_(model),
      saver_(saver),
      folder_(folder),
      files_(files),
      services_(PlatformTextServices()),
      exeDir_(exeDir),
      owner_(owner),
      lists_(model, services_, errors),
      capture_(model, lists_, services_),
      paste_(model, lists_, services_),
      tray_(TrayController::Context{model, saver, loops, commands_, services_,
                                    [this] { lists_.FocusShownList(); }}),
      view_(model, lists_, loops),
      editing_(ListEditing::Context{
          model, lists_, [this](const std::u16string& text) { paste_.PasteText(text); },
          [this](const std::u16string& text) { paste_.PutOnClipboard(text); }, loops, services_,
          [this](bool on) { view_.SetLock(on); }}),
      intake_(model, lists_, loops, services_, files),
      autoSave_(model, folder, writer, kMsgFileNotice),
      exitSave_(ExitSave::Context{model, saver, loops, files, folder}) {
  dpi_ = SystemDpi();
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const SIZE frame =
      FrameAround(SIZE{Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)}, style, 0, dpi_);
  const int left = Scale(kWindowPosition.x, dpi_);
  const int top = Scale(kWindowPosition.y, dpi_);
  CreateOf(kClassName, kAppTitle, style, 0, RECT{left, top, left + frame.cx, top + frame.cy},
           owner);
  SetClientSize(Handle(), SIZE{Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)});
  TrackPlacement();
  CreateControls();
  capture_.Attach(Handle());
  paste_.Attach(Handle(), topRow_.TabBox());
  tray_.Attach(Handle(), owner_, exeDir_);
  view_.Attach(Handle(), topRow_.WideBox());
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
  // Gone for whatever reason (a failure while the program starts, too), the window first
  // leaves the viewer chain and gives its hotkey back, while it can still be named; the
  // controllers, which would do it in their own destructors, go only after the window.
  capture_.Leave();
  tray_.Remove();
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

  topRow_.Create(self, lists_.Selector());
  lists_.SetSelectorWidth(topRow_.SetDpi(dpi_, windowFont_.Get()));

  tooltips_ = CreateTooltips(self);
  AddTooltip(tooltips_, self, topRow_.ToolButton(), L"ツールボタン");
  AddTooltip(tooltips_, self, topRow_.TabBox(), L"懸賞入力");
  if (DpiOf(self) != dpi_) {
    SetDpi(DpiOf(self));
  }
}

void MainWindow::SetDpi(int dpi) {
  dpi_ = dpi;
  // The controls take the new font before the old one is freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi_);
  lists_.SetDpi(dpi_, font.Get());
  lists_.SetSelectorWidth(topRow_.SetDpi(dpi_, font.Get()));
  windowFont_ = std::move(font);
  lists_.Layout(ListBounds());
}

void MainWindow::AddFrameCommands() {
  const auto openFilterSettings = [this] {
    openFilterList_();
    if (IsWindowVisible(Handle())) {
      tray_.OnMinimize();  // hidden as the tray hides it, memo and all
    }
  };
  const auto dialogAttached = [this] { return static_cast<bool>(openFilterList_); };
  commands_.Bind(kCmdFilterSettings, openFilterSettings, dialogAttached);
  const auto openSearch = [this] {
    if (!IsWindowVisible(Handle())) {
      tray_.Show();  // from the tray menu: the window comes up with the field open
    }
    lists_.OpenSearch();
  };
  commands_.Bind(kCmdSearch, openSearch);
}

RECT MainWindow::ListBounds() const {
  // The lists end at the client area's edges: reaching past them would hide part of their
  // scroll bars, which the user needs once a list overflows.
  RECT client{};
  GetClientRect(Handle(), &client);
  return RECT{0, Scale(kListTop, dpi_), client.right, client.bottom};
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
  const io::FileSystem& files = files_;
  // A save that a crash cut short left its temporary file; the file it was to replace is whole.
  io::CleanUpLeftovers(files, folder_.Dir());
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
  tray_.Greet(plan.has_value());
  paste_.Start();
  autoSave_.Start(Handle());
  if (std::optional<std::u16string> recovered = exitSave_.TakeRecoveryNotice()) {
    QueueNotice(std::move(*recovered));
  }
  TellFileNotices();
}

void MainWindow::QueueNotice(std::u16string notice) {
  notices_.push_back(std::move(notice));
  PostMessageW(Handle(), kMsgFileNotice, 0, 0);
}

void MainWindow::TellFileNotices() {
  for (const lists::PartlyRead& read : model_.lists.TakePartlyRead()) {
    QueueNotice(
        u"ファイル " + read.path +
        u" は最後まで読み込めませんでした。\r\n読み込めたところまでを開き、元のファイルを " +
        read.kept + u" として残しました。");
  }
}

void MainWindow::ApplyModelToControls() {
  const app::Placement& placement = model_.placement;
  MoveWindow(Handle(), placement.left, placement.top, placement.width, placement.height, FALSE);
  lists_.SetListFont(model_.view.fontSize);
  lists_.SetListColor(model_.view.fontColor);
  paste_.SetTabMode(model_.sendTabFlag);
  SendMessageW(topRow_.MemoBox(), BM_SETCHECK, model_.view.memo ? BST_CHECKED : BST_UNCHECKED, 0);
  view_.ApplyModel();
  lists_.ShowStore();
}

void MainWindow::AttachWindows(const OtherWindows& windows) {
  memo_ = windows.memo;
  paste_.SetPasteableWindows(memo_->Handle(), {windows.filterList, windows.filterEditor});
  view_.AttachMemo(memo_->Handle());
  editing_.AttachEditBox(windows.editBox);
  editing_.AttachMemo(
      ListEditing::MemoDrop{[this] { return memo_->DropField(); },
                            [this](std::string_view dropText) { memo_->InsertAtTop(dropText); }});
  exitSave_.AttachMemo(memo_);
  tray_.AttachWindows(memo_, [about = windows.about] { about->Show(); });
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

void MainWindow::TearDown() {
  closed_ = true;
  paste_.Stop();
  tray_.Remove();
  capture_.Leave();
  model_.lists.Clear();
}

void MainWindow::OnCloseRequest() {
  if (loops_.Active()) {
    // A question is open: it is ended first, and the close comes back once it has returned.
    loops_.CloseWhenDone(Handle());
    return;
  }
  if (!closed_) {
    // The background writes end first, so none of them can land after the final ones.
    autoSave_.Stop();
    std::vector<std::u16string> unwritten;
    const ExitSave::Outcome outcome = exitSave_.SaveBeforeClose(Handle(), &unwritten);
    if (closed_) {
      // The session ended while the question was open, and saved what it could.
    } else if (outcome == ExitSave::Outcome::kCalledOff) {
      autoSave_.Resume(unwritten);
      return;
    } else {
      TearDown();
    }
  }
  DestroyWindow(Handle());
}

void MainWindow::OnSessionEnd() {
  if (closed_) {
    return;
  }
  autoSave_.Stop();
  exitSave_.SaveForSessionEnd();
  TearDown();
}

std::optional<LRESULT> MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const auto from = reinterpret_cast<HWND>(lParam);
  const int code = HIWORD(wParam);
  if (lists_.OnSelectorCommand(from, code)) {
    return 0;
  }
  if (from == topRow_.ToolButton() && code == BN_CLICKED) {
    tray_.ShowTrayMenu();
    return 0;
  }
  if (from == topRow_.TabBox() && code == BN_CLICKED) {
    paste_.OnTabBoxClicked();
    return 0;
  }
  if (from == topRow_.WideBox() && code == BN_CLICKED) {
    view_.OnWideBoxClicked();
    return 0;
  }
  if (from == topRow_.MemoBox() && code == BN_CLICKED) {
    model_.view.memo = SendMessageW(from, BM_GETCHECK, 0, 0) == BST_CHECKED;
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

// Another monitor: the same layout at its dpi. The new size is no resize by the user, so the
// wide mode stays as it is.
void MainWindow::MoveForDpi(const DpiChange& change) {
  movingForDpi_ = true;
  MoveToSuggested(Handle(), change, dpi_);
  movingForDpi_ = false;
}

void MainWindow::OnDpiChanged(int dpi) {
  SetDpi(dpi);
  view_.DockMemoWindow();
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
      if (!movingForDpi_) {
        view_.OnResized();
      }
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
      if (autoSave_.OnTimer(wParam)) {
        TellFileNotices();  // a list the filter dialogs loaded may have been read in part
        return 0;
      }
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
      exitSave_.SaveForSessionEnd();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != 0) {
        // The process may be ended as soon as this returns: the work is done here, even while a
        // question is open (the model holds nothing half-made).
        OnSessionEnd();
        OnCloseRequest();
      }
      return 0;
    case kMsgFileNotice:
      if (const std::optional<std::u16string> notice = autoSave_.TakeNotice()) {
        ShowBox(loops_, Handle(), ToWide(*notice).c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
      } else if (!notices_.empty()) {
        const std::u16string notice = std::move(notices_.front());
        notices_.erase(notices_.begin());
        ShowBox(loops_, Handle(), ToWide(notice).c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
      }
      return 0;
    case WM_DESTROY:
      capture_.Leave();
      tray_.Remove();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
