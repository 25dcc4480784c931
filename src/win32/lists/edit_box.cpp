#include "win32/lists/edit_box.h"

#include <commctrl.h>

#include <vector>

#include "win32/ui/caption_fit.h"
#include "win32/ui/command_texts.h"
#include "win32/ui/fonts.h"
#include "win32/ui/tooltips.h"
#include "win32/ui/unseen_label.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"EditBox";
constexpr SIZE kWindowSize{257, 86};
constexpr int kTopBelowMain = 15;
constexpr int kMargin = 4;
constexpr int kFieldHeight = 20;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 22;

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
           HFONT font) {
  const HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                                       0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

}  // namespace

void EditBox::Make() {
  dpi_ = SystemDpi();
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  CreateOf(kClassName, L"編集ボックス", style, WS_EX_CONTROLPARENT,
           RECT{0, 0, Scale(kWindowSize.cx, dpi_), Scale(kWindowSize.cy, dpi_)}, owner_);
  const HWND self = Handle();
  font_ = CreateUiFont(kProportionalGothic, -12, dpi_);
  AddUnseenLabel(self, L"項目のテキスト");
  field_ = Child(self, WC_EDITW, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kIdEditBoxField,
                 font_.Get());
  copyButton_ = Child(self, WC_BUTTONW, L"コピー", WS_TABSTOP, kEditBoxCopy, font_.Get());
  updateButton_ = Child(self, WC_BUTTONW, L"更新", WS_TABSTOP, kEditBoxUpdate, font_.Get());
  cancelButton_ = Child(self, WC_BUTTONW, L"キャンセル", WS_TABSTOP, kEditBoxCancel, font_.Get());
  AddTooltip(tooltips_, self, updateButton_, L"項目を更新して編集終了");
  AddTooltip(tooltips_, self, cancelButton_, L"保存せずに編集終了");
  // The table is const; CreateAcceleratorTableW takes a writable one.
  std::vector<ACCEL> keys(kEditBoxKeys.begin(), kEditBoxKeys.end());
  accelerators_ =
      UniqueAccelerators(CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
  if (DpiOf(self) != dpi_) {
    SetDpi(DpiOf(self));
  }
  Layout();
}

void EditBox::SetDpi(int dpi) {
  dpi_ = dpi;
  // The controls take the new font before the old one is freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi_);
  for (const HWND control : {field_, copyButton_, updateButton_, cancelButton_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
  font_ = std::move(font);
}

void EditBox::OnDpiChanged(int dpi) {
  SetDpi(dpi);
  Layout();
}

void EditBox::Layout() {
  RECT client{};
  GetClientRect(Handle(), &client);
  const int margin = Scale(kMargin, dpi_);
  MoveWindow(field_, margin, margin, client.right - 2 * margin, Scale(kFieldHeight, dpi_), TRUE);
  const int top = 2 * margin + Scale(kFieldHeight, dpi_);
  int left = margin;
  for (const HWND button : {copyButton_, updateButton_, cancelButton_}) {
    const RECT bounds = WidenForCaption(
        button, RECT{left, top, left + Scale(kButtonWidth, dpi_), top + Scale(kButtonHeight, dpi_)},
        dpi_);
    MoveWindow(button, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
    left = bounds.right + margin;
  }
}

void EditBox::Open(const std::wstring& text, const RECT& mainWindow) {
  if (Handle() == nullptr) {
    Make();
  }
  SetWindowTextW(field_, text.c_str());
  RECT window{};
  GetWindowRect(Handle(), &window);
  const int width = window.right - window.left;
  SetWindowPos(Handle(), HWND_TOPMOST, mainWindow.right - width,
               mainWindow.top + Scale(kTopBelowMain, dpi_), 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(Handle());
  SetFocus(field_);
  SendMessageW(field_, EM_SETSEL, 0, -1);
}

std::wstring EditBox::FieldText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field_)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(field_, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring EditBox::SelectedText() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(field_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::wstring text = FieldText();
  return start < end && end <= text.size() ? text.substr(start, end - start) : std::wstring();
}

void EditBox::Finish(bool update) {
  const std::wstring text = FieldText();
  SetWindowTextW(field_, L"");
  ShowWindow(Handle(), SW_HIDE);
  if (update && actions_.update) {
    actions_.update(text);
  }
  if (actions_.closed) {
    actions_.closed();
  }
}

LRESULT EditBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      if (id == kIdEditBoxField && HIWORD(wParam) == EN_SETFOCUS && actions_.fieldFocused) {
        actions_.fieldFocused();  // Del and the like must act on the field, not on the list
        return 0;
      }
      if (id == kEditBoxEnter) {
        if (GetFocus() == field_) {
          Finish(true);
        } else if (const HWND button = GetFocus(); button != nullptr && IsChild(Handle(), button)) {
          SendMessageW(button, BM_CLICK, 0, 0);
        }
        return 0;
      }
      if (id == kEditBoxUpdate || id == kEditBoxCancel) {
        Finish(id == kEditBoxUpdate);
        return 0;
      }
      if (id == kEditBoxCopy) {
        const std::wstring selected = SelectedText();
        if (actions_.copy) {
          actions_.copy(selected.empty() ? FieldText() : selected);
        }
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
      }
      if (id == kEditBoxCut) {
        const std::wstring selected = SelectedText();
        if (!selected.empty() && actions_.cut) {
          actions_.cut(selected);  // throws, leaving the field as it was, when it cannot be
          SendMessageW(field_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
        }
        return 0;
      }
      break;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_CLOSE:
      // The title bar only hides it: nothing is written back, the field keeps its text.
      ShowWindow(Handle(), SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
