#include "win32/memo/memo_window.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <utility>

#include "core/io/errors.h"
#include "core/memo/memo_drop.h"
#include "core/memo/memo_file.h"
#include "core/text/codec.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/fonts.h"
#include "win32/ui/unseen_label.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"MemoWindow";
constexpr SIZE kClientSize{232, 140};
constexpr int kIdMemo1 = 101;

}  // namespace

MemoWindow::MemoWindow(ErrorSink& errors, HWND owner, Files files)
    : Window(errors), owner_(owner), files_(files) {
  memo::MemoText memo = memo::ReadMemoFile(files_.files, files_.folder, files_.services);
  encoding_ = memo.encoding;
  unmadeText_ = std::move(memo.text);
}

void MemoWindow::Make() {
  const int dpi = SystemDpi();
  // A popup has no frame: the window is as large as its client area. Its title is never shown;
  // it names the window to screen readers.
  CreateOf(kClassName, L"メモ", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
           RECT{0, 0, Scale(kClientSize.cx, dpi), Scale(kClientSize.cy, dpi)}, owner_);
  font_ = CreateUiFont(kProportionalGothic, -12, dpi);
  RECT client{};
  GetClientRect(Handle(), &client);
  AddUnseenLabel(Handle(), L"メモ");
  field_ = CreateWindowExW(0, WC_EDITW, L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_WANTRETURN | ES_NOHIDESEL,
                           0, 0, client.right, client.bottom, Handle(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdMemo1)),
                           GetModuleHandleW(nullptr), nullptr);
  if (field_ == nullptr) {
    throw std::runtime_error("cannot create the memo's field");
  }
  SendMessageW(field_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  dpi_ = dpi;
  if (DpiOf(Handle()) != dpi_) {
    SetDpi(DpiOf(Handle()));
  }
  // A memo is not bound by the field's default limit of about 30,000 characters.
  SendMessageW(field_, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(field_, ToWide(unmadeText_).c_str());
  SendMessageW(field_, EM_SETMODIFY, FALSE, 0);
  unmadeText_ = std::u16string();
  NoteMade();
}

MemoWindow::~MemoWindow() {
  // The field goes before the font it draws with.
  Destroy();
}

void MemoWindow::Show() {
  if (Handle() == nullptr) {
    Make();
  }
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void MemoWindow::Hide() {
  if (Handle() != nullptr) {
    ShowWindow(Handle(), SW_HIDE);
  }
}

void MemoWindow::SetShown(bool shown) {
  if (shown) {
    Show();
  } else {
    Hide();
  }
}

std::u16string MemoWindow::FieldText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field_)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(field_, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

void MemoWindow::Write() noexcept {
  try {
    memo::WriteMemoFile(files_.files, files_.folder, files_.services,
                        memo::MemoText{FieldText(), encoding_});
    SendMessageW(field_, EM_SETMODIFY, FALSE, 0);
  } catch (...) {
    // The typing stays marked, so the next chance writes it again.
    Errors().Report(std::current_exception());
  }
}

bool MemoWindow::HasUnsavedTyping() const {
  return field_ != nullptr && SendMessageW(field_, EM_GETMODIFY, 0, 0) != 0;
}

void MemoWindow::TakeOver(std::string_view bytes) {
  memo::MemoText memo = memo::ParseMemoFile(files_.services, bytes);
  encoding_ = memo.encoding;
  if (field_ == nullptr) {
    unmadeText_ = std::move(memo.text);
    return;
  }
  SetWindowTextW(field_, ToWide(memo.text).c_str());
  SendMessageW(field_, EM_SETMODIFY, FALSE, 0);
}

void MemoWindow::SaveIfModified() noexcept {
  if (field_ != nullptr && SendMessageW(field_, EM_GETMODIFY, 0, 0) != 0) {
    Write();
  }
}

std::optional<app::SaveFailure> MemoWindow::SaveForExit() {
  if (field_ == nullptr || SendMessageW(field_, EM_GETMODIFY, 0, 0) == 0) {
    return std::nullopt;
  }
  std::string bytes = memo::FormatMemoFile(files_.services, FieldText(), encoding_);
  try {
    files_.files.WriteAll(memo::MemoFilePath(files_.folder), bytes);
  } catch (const io::AppError& error) {
    return app::SaveFailure{memo::MemoFilePath(files_.folder), error.Message(), std::move(bytes)};
  }
  SendMessageW(field_, EM_SETMODIFY, FALSE, 0);
  return std::nullopt;
}

void MemoWindow::InsertAtTop(std::string_view dropText) {
  if (dropText.empty()) {
    return;
  }
  if (Handle() == nullptr) {
    Make();  // a drop lands on the shown memo, which is made; this is only the safe side
  }
  const std::u16string memo =
      memo::MemoWithDrop(FieldText(), text::Cp932ToUtf16(files_.services, dropText));
  SetWindowTextW(field_, ToWide(memo).c_str());
  // Written whether or not it held typing before: the drop is in the file at once.
  Write();
}

void MemoWindow::SetDpi(int dpi) {
  // The new font goes in before the old one is freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi);
  SendMessageW(field_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  font_ = std::move(font);
  dpi_ = dpi;
}

LRESULT MemoWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        SaveIfModified();
      } else {
        if (activated_) {
          activated_();
        }
        // A click lands in the field by itself; any other activation brings the caret there.
        if (GetFocus() != field_) {
          SetFocus(field_);
        }
      }
      return 0;
    case WM_SETFOCUS:
      SetFocus(field_);
      return 0;
    case WM_SHOWWINDOW:
      if (wParam == FALSE) {
        SaveIfModified();
      }
      break;
    case WM_SIZE:
      MoveWindow(field_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_CLOSE:
      // Closed by Alt+F4: only hidden, and "mm" keeps its check.
      Hide();
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
