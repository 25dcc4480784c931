// The main window's side of the settings file: applying it at start, writing it back.

#include "core/io/errors.h"
#include "core/lists/default_lists.h"
#include "core/lists/list_names.h"
#include "core/settings/colors.h"
#include "core/text/codec.h"
#include "win32/app/fonts.h"
#include "win32/app/main_window.h"
#include "win32/platform/wide_string.h"

namespace pellix::win32 {
namespace {

constexpr COLORREF kLockColor = RGB(255, 0, 0);
constexpr COLORREF kTransparentKey = RGB(255, 255, 255);

COLORREF ToColorRef(std::uint32_t color) {
  if ((color & settings::kSystemColor) != 0) {
    return GetSysColor(static_cast<int>(color & 0xFF));
  }
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

bool IsSpecialColor(std::uint32_t color) {
  return color == 0x1FFFFFFF || color == 0x20000000;
}

}  // namespace

void MainWindow::ReadSettings(const settings::SettingsPlan& plan) {
  RECT window{};
  GetWindowRect(Handle(), &window);
  MoveWindow(Handle(), plan.left, plan.top, plan.width.value_or(window.right - window.left),
             plan.height.value_or(window.bottom - window.top), FALSE);
  ApplyListFont(plan.fontSize, plan.fontColor);
  if (plan.sendTab) {
    SetTabMode(true);
  }
  if (plan.memo) {
    SendMessageW(mbox_, BM_SETCHECK, BST_CHECKED, 0);
  }
  if (plan.trans) {
    SetTransparent(true);
  }
  if (plan.option) {
    trayMenu_.SetPasteOption(plan.option);
  }
  SetLock(plan.lock);

  // Every name is checked before any list is read: a name that is no plain file name would
  // read and write files outside the program's folder.
  for (const std::string& name : plan.lists) {
    if (!lists::IsPlainFileName(name)) {
      throw io::AppError(u"リスト名 \"" + text::Cp932ToUtf16(services_, name) +
                         u"\" はファイル名に使えないため、読み込めません");
    }
  }
  for (const std::string& name : plan.lists) {
    store_.AddListSlot(files_, folder_, services_, name);
  }
  FillSelector();
  if (plan.lists.empty()) {
    lists::AddDefaultLists(store_, files_, folder_, services_);
    FillSelector();
    ShowFirstList(0);
  } else {
    ShowFirstList(static_cast<std::size_t>(plan.view.value_or(0)));
  }
  if (plan.hotkeyMods) {
    state_.hotkeyMods = *plan.hotkeyMods;
  }
  if (plan.hotkeyLetter) {
    state_.hotkeyLetter = *plan.hotkeyLetter;
  }
  trayMenu_.CheckHotkeyItem(settings::HotkeyMenuPosition(state_.hotkeyMods));
}

void MainWindow::ShowFirstList(std::optional<std::size_t> view) {
  if (!view || *view >= store_.Count()) {
    // A view outside the lists selects none; the list stays empty until the user picks one.
    SendMessageW(comboBox_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    store_.ClearCurrent();
    listBox_.SetCount(0);
    return;
  }
  SendMessageW(comboBox_, CB_SETCURSEL, *view, 0);
  SwitchList(*view);
  const lists::ListSlot& slot = store_.Slot(*view);
  if (!lists::IsUnicodeListName(slot.name) && !slot.items.empty()) {
    state_.lastText = slot.items.front();
  }
}

void MainWindow::WriteSettings() {
  settings::SettingsState written;
  RECT window{};
  GetWindowRect(Handle(), &window);
  written.left = window.left;
  written.top = window.top;
  written.height = window.bottom - window.top;
  written.width = window.right - window.left;
  written.fontSize = listFontPoints_;
  written.fontColor = listFontColor_;
  written.sendTab = state_.sendTabFlag;
  written.lock = state_.lockFlag;
  written.memo = SendMessageW(mbox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  written.trans = trayMenu_.Transparent();
  written.option = trayMenu_.PasteOption();
  const LRESULT count = SendMessageW(comboBox_, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(comboBox_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring name(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(comboBox_, CB_GETLBTEXT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(name.data()));
    name.resize(name.find(L'\0'));
    written.lists.push_back(text::Utf16ToCp932(services_, FromWide(name)));
  }
  written.view = static_cast<int>(SendMessageW(comboBox_, CB_GETCURSEL, 0, 0));
  written.hotkeyMods = state_.hotkeyMods;
  written.hotkeyLetter = state_.hotkeyLetter;
  files_.WriteAll(folder_.Dir() + u"pellix.ini", settings::FormatSettings(written));
}

void MainWindow::ApplyListFont(std::optional<int> points, std::optional<std::uint32_t> color) {
  if (points) {
    listFontPoints_ = *points;
    listFont_ = CreateUiFont(kFixedGothic, -MulDiv(*points, 96, 72), dpi_);
    listBox_.SetFont(listFont_.Get());
  }
  if (color) {
    listFontColor_ = *color;
    if (!IsSpecialColor(*color)) {
      ListView_SetTextColor(listBox_.Handle(), ToColorRef(*color));
      InvalidateRect(listBox_.Handle(), nullptr, TRUE);
    }
  }
}

void MainWindow::SetLock(bool on) {
  state_.lockFlag = on;
  background_.Reset(CreateSolidBrush(on ? kLockColor : GetSysColor(COLOR_BTNFACE)));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::SetTransparent(bool on) {
  trayMenu_.SetTransparent(on);
  const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (on) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Handle(), kTransparentKey, 0, LWA_COLORKEY);
  } else {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
}

}  // namespace pellix::win32
