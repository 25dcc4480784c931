#include "win32/lists/search_field.h"

#include <commctrl.h>

#include "win32/ui/control_ids.h"
#include "win32/ui/fonts.h"

namespace pellix::win32 {
namespace {

constexpr int kFieldHeight = 20;

}  // namespace

void SearchField::Create(HWND parent, int id, HFONT font, Actions actions) {
  actions_ = std::move(actions);
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // A committed composition goes in at once, as one change, rather than a character at a time.
  SendMessageW(hwnd_, EM_SETIMESTATUS, EMSIS_COMPOSITIONSTRING, EIMES_GETCOMPSTRATONCE);
  SetWindowSubclass(hwnd_, &SearchField::Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

RECT SearchField::Place(const RECT& listBounds, int clientRight, int dpi) const {
  if (!open_) {
    return listBounds;
  }
  const int height = Scale(kFieldHeight, dpi);
  MoveWindow(hwnd_, listBounds.left, listBounds.top, clientRight - listBounds.left, height, TRUE);
  RECT list = listBounds;
  list.top += height;
  return list;
}

void SearchField::Open() {
  open_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(hwnd_);
  SendMessageW(hwnd_, EM_SETSEL, 0, -1);
}

void SearchField::Close() {
  open_ = false;
  composing_ = false;
  reported_.clear();
  SetWindowTextW(hwnd_, L"");
  ShowWindow(hwnd_, SW_HIDE);
}

std::wstring SearchField::Text() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SearchField::OnEditChange() {
  if (open_ && !composing_) {
    ReportLater();
  }
}

void SearchField::ReportLater() {
  if (!reportPosted_) {
    reportPosted_ = PostMessageW(hwnd_, kMsgSearchReport, 0, 0) != FALSE;
  }
}

void SearchField::Report() {
  reportPosted_ = false;
  if (!open_ || composing_) {
    return;
  }
  std::wstring text = Text();
  if (text != reported_) {
    reported_ = std::move(text);
    actions_.changed(reported_);
  }
}

bool SearchField::TakesKey(const MSG& message) const {
  return message.hwnd == hwnd_ && message.message == WM_KEYDOWN &&
         (message.wParam == VK_DELETE || message.wParam == VK_BACK);
}

std::optional<LRESULT> SearchField::OnMessage(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_IME_STARTCOMPOSITION:
      composing_ = true;
      return std::nullopt;
    case WM_IME_ENDCOMPOSITION:
      composing_ = false;
      ReportLater();  // the committed text is in, or arrives just before this report
      return std::nullopt;
    case kMsgSearchReport:
      Report();
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
          actions_.moveInList(wParam);
          return 0;
        case VK_RETURN:
          actions_.paste();
          return 0;
        case VK_ESCAPE:
          actions_.close();
          return 0;
        case VK_SPACE:
          if (GetWindowTextLengthW(hwnd_) == 0 && !composing_) {
            actions_.paste();
            return 0;
          }
          return std::nullopt;
        default:
          return std::nullopt;
      }
    case WM_CHAR:
      // Their key-down did the work; the field would only beep at them.
      if (wParam == L'\r' || wParam == 0x1B ||
          (wParam == L' ' && GetWindowTextLengthW(hwnd_) == 0)) {
        return 0;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

LRESULT CALLBACK SearchField::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<SearchField*>(data);
  try {
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &SearchField::Subclass, 1);
    } else if (const auto handled = self->OnMessage(message, wParam)) {
      return *handled;
    }
  } catch (...) {
    self->errors_.Report(std::current_exception());
    return 0;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace pellix::win32
