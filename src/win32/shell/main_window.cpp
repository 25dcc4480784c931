#include "win32/shell/main_window.h"

#include <commctrl.h>

#include "core/app/startup.h"
#include "core/capture/filter_engine.h"
#include "core/platform_services.h"
#include "win32/platform/local_folders.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/error_reporter.h"
#include "win32/ui/fonts.h"
#include "win32/ui/popup_menu.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"MainWindow";

// Design layout at 96 dpi.
constexpr POINT kWindowPosition{621, 140};
constexpr SIZE kClientSize{241, 169};

}  // namespace

MainWindow::MainWindow(ErrorSink& errors, ModalLoops& loops, app::Model& model, app::Saver& saver,
                       const io::AppFolder& folder, const io::FileSystem& files,
                       app::BackgroundWriter& writer, const FolderSharing& sharing, HWND owner,
                       const std::wstring& exeDir)
    : Window(errors),
      loops_(loops),
      model_(model),
      saver_(saver),
      folder_(folder),
      files_(files),
      services_(PlatformTextServices()),
      exeDir_(exeDir),
      tag_(sharing.tag),
      owner_(owner),
      lists_(model, services_, errors),
      capture_(model, lists_.Views(), services_),
      paste_(model, lists_.Views(), services_),
      tray_(TrayController::Context{model, saver, loops, commands_, services_,
                                    [this] { lists_.RestoreFocus(); }}),
      view_(model, lists_.Views(), loops),
      editing_(ListEditing::Context{
          model, lists_, [this](const std::u16string& text) { paste_.PasteText(text); },
          [this](const std::u16string& text) { paste_.PutOnClipboard(text); }, loops, services_,
          [this](bool on) { view_.SetLock(on); }}),
      intake_(model, lists_.Views(), loops, services_, files),
      reads_(model, lists_, errors),
      autoSave_(model, folder, sharing.shared, writer, kMsgFileNotice),
      sharedFolder_(SharedFolder::Context{model, sharing.shared, sharing.platformFiles, folder,
                                          writer, services_, sharing.lock, LocalTimestamp,
                                          lists_.Views(), autoSave_}),
      exitSave_(
          ExitSave::Context{model, saver, loops, files, folder,
                            [this](const std::u16string& path) { sharedFolder_.TakeInNow(path); },
                            [this] { reads_.FinishAll(); }}),
      notices_(loops, autoSave_),
      closing_(Closing::Context{loops, autoSave_, exitSave_, [this] { TearDown(); }}) {
  dpi_ = SystemDpi();
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const SIZE designedClient{Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)};
  const SIZE designedFrame = FrameAround(designedClient, style, 0, dpi_);
  // Where a first start puts the window, and what a settings file without a size keeps.
  model_.placement = app::Placement{Scale(kWindowPosition.x, dpi_), Scale(kWindowPosition.y, dpi_),
                                    designedFrame.cx, designedFrame.cy};
  // The files come before the window, so that it is made where the settings put it and its
  // controls are laid out once, at their size.
  app::FolderLoad load = app::LoadFromFolder(model_, files_, folder_, services_, tag_, [this] {
    PostMessageW(Handle(), kMsgListRead, 0, 0);
  });
  settingsExisted_ = load.settingsExisted;
  laterReads_ = std::move(load.reads);

  // Always on top from the start: made so, rather than moved there, it is one call less before
  // the window shows.
  const app::Placement& placement = model_.placement;
  CreateOf(kClassName, kAppTitle, style, WS_EX_TOPMOST,
           RECT{placement.left, placement.top, placement.left + placement.width,
                placement.top + placement.height},
           owner);
  if (placement.width == designedFrame.cx && placement.height == designedFrame.cy) {
    SetClientSize(Handle(), designedClient);  // the designed size holds whatever the frame's
  }
  TrackPlacement();
  CreateControls();
  notices_.Attach(Handle());
  capture_.Attach(Handle());
  paste_.Attach(Handle(), tray_, [this](bool on) { TopRow::Check(topRow_.TabBox(), on); });
  tray_.Attach(Handle(), owner_, exeDir_);
  view_.Attach(Handle(), [this](bool on) { TopRow::Check(topRow_.WideBox(), on); });
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

void MainWindow::AddFrameCommands() {
  const auto openSearch = [this] {
    if (!IsWindowVisible(Handle())) {
      tray_.Show();  // from the tray menu: the window comes up with the field open
    }
    lists_.OpenSearch();
  };
  commands_.Bind(kCmdSearch, openSearch);
}

void MainWindow::Start() {
  taskbarCreatedMsg_ = RegisterWindowMessageW(L"TaskbarCreated");
  ApplyModelToControls();
  reads_.Start(Handle(), std::move(laterReads_));
  // The lists as read are what is on disk: from here on, every change is saved, the capture of
  // what the clipboard holds when the viewer chain is joined too.
  autoSave_.Start(Handle());

  tray_.RegisterHotkey();
  capture_.Join();
  tray_.AddIcon();
  tray_.Greet(settingsExisted_);
  paste_.Start();
  if (std::optional<std::u16string> recovered = exitSave_.TakeRecoveryNotice()) {
    notices_.Queue(std::move(*recovered));
  }
  notices_.QueuePartlyRead(model_.lists);
}

void MainWindow::AttachWindows(LaterWindows& windows) {
  memo_ = &windows.Memo();
  // Each is a place to paste into, and the memo docks here, from when it is made.
  windows.OnMade([this, &windows] {
    paste_.SetPasteableWindows(memo_->Handle(), windows.FilterDialogs());
    view_.AttachMemo(memo_->Handle());
  });
  editing_.AttachEditBox(&windows.Edit());
  editing_.AttachMemo(
      ListEditing::MemoDrop{[this] { return memo_->DropField(); },
                            [this](std::string_view dropText) { memo_->InsertAtTop(dropText); }});
  exitSave_.AttachMemo(memo_);
  sharedFolder_.Start(
      Handle(), SharedFolder::Hooks{
                    memo_, [&windows](std::size_t slot) { return windows.Editor().Editing(slot); },
                    [this](const std::u16string& title, const std::u16string& text) {
                      tray_.Notify(title, text);
                    }});
  tray_.AttachWindows(memo_, [&windows] { windows.About().Show(); });
  commands_.Bind(kCmdFilterSettings, [this, &windows] {
    reads_.FinishAll();  // the dialogs rename, move and remove whole lists
    windows.FilterList().Open();
    if (IsWindowVisible(Handle())) {
      tray_.OnMinimize();  // hidden as the tray hides it, memo and all
    }
  });
  // Typed keys belong to the memo while it is in front, not to the list commands.
  memo_->OnActivated([this] { lists_.EnableListCommands(false); });
  if (model_.view.memo) {
    memo_->Show();
  }
}

bool MainWindow::ShowListMenu(HWND from, LPARAM screenPoint) {
  const std::optional<UniqueMenu> menu = lists_.ContextMenu(from, screenPoint, commands_);
  if (menu) {
    RunPopupMenu(loops_, commands_, menu->Get(), lists_.ContextMenuPoint(from, screenPoint),
                 Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON);
  }
  return menu.has_value();
}

void MainWindow::OnShown() {
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  capture_.RestoreChain();
  reads_.Begin();  // once, the first time: a later call finds them started
}

void MainWindow::TearDown() {
  sharedFolder_.Stop();
  paste_.Stop();
  tray_.Remove();
  capture_.Leave();
  model_.lists.Clear();
}

std::optional<LRESULT> MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const auto from = reinterpret_cast<HWND>(lParam);
  const int code = HIWORD(wParam);
  if (lists_.OnSelectorCommand(from, code) || topRow_.OnCommand(from, code) ||
      (from == nullptr && commands_.Execute(LOWORD(wParam)))) {
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
      // In front again, whatever brought it there: the keys go where the user left them.
      if (lists_.OnActivate(LOWORD(wParam) != WA_INACTIVE)) {
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
    case WM_ERASEBKGND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return view_.PaintBackground(message, reinterpret_cast<HDC>(wParam));
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
    case WM_CHANGECBCHAIN:
      return capture_.OnMessage(message, wParam, lParam);
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
        // A list the filter dialogs loaded may have been read in part.
        notices_.QueuePartlyRead(model_.lists);
        return 0;
      }
      if (capture_.OnTimer(wParam) || paste_.OnTimer(wParam) || sharedFolder_.OnTimer(wParam)) {
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
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (editing_.Drag().OnMouseMessage(message)) {
        return 0;
      }
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
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return closing_.OnMessage(Handle(), message, wParam);
    case kMsgFileNotice:
      notices_.ShowNext();
      return 0;
    case kMsgFolderChanged:
    case kMsgFolderLooked:
      sharedFolder_.OnMessage(message);
      return 0;
    case kMsgListRead:
      reads_.OnRead();
      return 0;
    case kMsgSearchKeysFolded:
      lists_.OnKeysFolded();
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
