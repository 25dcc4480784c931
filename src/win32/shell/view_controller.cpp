#include "win32/shell/view_controller.h"

#include "core/app/window_rules.h"
#include "win32/platform/common_dialogs.h"

#include "core/app/wide_mode.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/fonts.h"

namespace pellix::win32 {
namespace {

constexpr COLORREF kLockColor = RGB(255, 0, 0);
constexpr COLORREF kTransparentKey = RGB(255, 255, 255);
constexpr int kFontDialogPoints = 9;

void SetColorKey(HWND window, bool on) {
  if (window == nullptr) {
    return;
  }
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (on) {
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, kTransparentKey, 0, LWA_COLORKEY);
  } else {
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
}

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

}  // namespace

void ViewController::Attach(HWND window, std::function<void(bool)> showWide) {
  window_ = window;
  showWide_ = std::move(showWide);
}

void ViewController::AttachMemo(HWND memo) {
  memo_ = memo;
  SetColorKey(memo_, model_.view.transparent);
  DockMemoWindow();
}

void ViewController::AddCommands(CommandTable& commands) {
  commands.Bind(
      kCmdTransparent,
      [this] {
        SetTransparent(!model_.view.transparent);
        lists_.FocusShownList();
      },
      {}, [this] { return model_.view.transparent; });
  commands.Bind(kCmdFont, [this] { ChooseListFont(); });
  commands.Bind(kCmdWiden, [this] {
    ApplyWideMode();
    SetWide(!model_.view.wide);
  });
}

void ViewController::ApplyModel() {
  SetTransparent(model_.view.transparent);
  SetLock(model_.lockFlag);
}

void ViewController::SetLock(bool on) {
  model_.lockFlag = on;
  background_.Reset(CreateSolidBrush(on ? kLockColor : GetSysColor(COLOR_BTNFACE)));
  InvalidateRect(window_, nullptr, TRUE);
}

void ViewController::SetTransparent(bool on) {
  model_.view.transparent = on;
  SetColorKey(window_, on);
  SetColorKey(memo_, on);
}

void ViewController::OnMoved() {
  DockMemoWindow();
  lists_.FocusShownList();
}

void ViewController::OnResized() {
  if (wideResize_) {
    wideResize_ = false;
  } else if (model_.view.wide) {
    // The user took the size in hand: the wide mode ends, and the window goes back to 240.
    SetWide(false);
  }
  DockMemoWindow();
}

void ViewController::SetWide(bool on) {
  model_.view.wide = on;
  showWide_(on);
  ApplyWideMode();
  lists_.FocusShownList();
}

void ViewController::ApplyWideMode() {
  const int dpi = DpiOf(window_);
  const auto at96 = [dpi](int pixels) { return MulDiv(pixels, 96, dpi); };
  const app::Placement& main = model_.placement;
  // The ordinary list is measured even while the Unicode list covers it.
  const auto shown = model_.lists.AnsiShown();
  const std::size_t longest = shown ? app::LongestItemBytes(model_.lists.Slot(*shown).items) : 0;
  RECT list{};
  GetWindowRect(lists_.ListBox().Handle(), &list);
  const std::optional<int> width =
      app::WideWindowWidth({model_.view.wide, longest, at96(list.right - list.left),
                            at96(main.left), at96(main.width), at96(WorkArea().right)});
  if (width) {
    wideResize_ = true;
    SetWindowPos(window_, nullptr, 0, 0, Scale(*width, dpi), main.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void ViewController::DockMemoWindow() {
  if (memo_ == nullptr) {
    return;
  }
  const app::Placement memo = app::MemoPlacement(model_.placement, WorkArea().right);
  SetWindowPos(memo_, nullptr, memo.left, memo.top, memo.width, memo.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void ViewController::ChooseListFont() {
  if (!fontChosen_) {
    chosenFont_ = LOGFONTW{};
    chosenFont_.lfHeight = -MulDiv(kFontDialogPoints, DpiOf(window_), 72);
    chosenFont_.lfCharSet = SHIFTJIS_CHARSET;
    AvailableFace(kProportionalGothic).copy(chosenFont_.lfFaceName, LF_FACESIZE - 1);
  }
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpLogFont = &chosenFont_;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  dialog.rgbColors = chosenColor_;
  BOOL chosen = FALSE;
  {
    const ModalLoops::Scope scope(loops_);
    chosen = ChooseFontDialog(&dialog);
  }
  if (!chosen || loops_.Closing()) {
    return;
  }
  fontChosen_ = true;
  chosenColor_ = dialog.rgbColors;
  // Only the size and the colour are kept in the settings; name, style and character set last
  // for the run.
  model_.view.fontSize = dialog.iPointSize / 10;
  model_.view.fontColor = static_cast<std::uint32_t>(dialog.rgbColors);
  lists_.SetListFont(UniqueFont(CreateFontIndirectW(&chosenFont_)));
  lists_.SetListColor(model_.view.fontColor);
  lists_.FocusShownList();
}

LRESULT ViewController::PaintBackground(UINT message, HDC dc) const {
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, Background());
    return 1;
  }
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(Background());
}

}  // namespace pellix::win32
