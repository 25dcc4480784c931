#include "win32/ui/input_dialog.h"
#include "win32/ui/kept_focus.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "win32/platform/gdi.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/fonts.h"
#include "win32/ui/scaled_layout.h"
#include "win32/ui/unseen_label.h"
#include "win32/ui/window.h"

// The box is a window of our own class rather than a dialog template, so that it shares the
// base class's guard against exceptions; the little the dialog manager would add (the default
// button following the focus, keeping the focus across activations) is done here by hand.

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"InputDialog";
constexpr SIZE kClientSize{320, 94};

struct Question {
  const std::wstring& caption;
  const std::wstring& prompt;
  const std::wstring& initialText;
};

// Keeps the first failure inside the box, for AskText to rethrow once the box is gone: the
// operation that asked then fails as a whole, where its own window reports it.
class FirstError final : public ErrorSink {
 public:
  void Report(const std::exception_ptr& error) noexcept override {
    if (!error_) {
      error_ = error;
    }
    // The failure may come inside a sent message, which does not end the wait for a posted one.
    PostMessageW(nullptr, WM_NULL, 0, 0);
  }
  const std::exception_ptr& Error() const { return error_; }

 private:
  std::exception_ptr error_;
};

// Takes the owner's input away for as long as the box is up. It must be given back before the
// box is destroyed, or the system activates some other program's window instead of the owner.
class DisabledOwner {
 public:
  explicit DisabledOwner(HWND owner)
      : owner_(owner), wasEnabled_(owner != nullptr && !EnableWindow(owner, FALSE)) {}
  DisabledOwner(const DisabledOwner&) = delete;
  DisabledOwner& operator=(const DisabledOwner&) = delete;
  ~DisabledOwner() {
    // An owner that was disabled already belongs to a box further out, which enables it.
    if (wasEnabled_) {
      EnableWindow(owner_, TRUE);
    }
  }

 private:
  HWND owner_;
  bool wasEnabled_;
};

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

RECT WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

class InputDialog final : public Window {
 public:
  InputDialog(ErrorSink& errors, HWND owner, const Question& question, int dpi);
  // The controls go before the font they draw with.
  ~InputDialog() override { Destroy(); }

  // Over the owner when it is on the screen, else where the mouse pointer is.
  void Show(HWND owner);

  bool Finished() const { return finished_; }
  std::optional<std::wstring> TakeAnswer() { return std::move(answer_); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Finish(std::optional<std::wstring> answer);
  void MakeDefault(int buttonId);
  void SetDpi(int dpi);
  void OnDpiChanged(int dpi) override { SetDpi(dpi); }

  UniqueFont font_;
  ScaledLayout layout_;
  HWND field_ = nullptr;
  KeptFocus keptFocus_;
  int defaultId_ = IDOK;
  bool finished_ = false;
  std::optional<std::wstring> answer_;
};

InputDialog::InputDialog(ErrorSink& errors, HWND owner, const Question& question, int dpi)
    : Window(errors) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_TOPMOST;
  const SIZE frame = FrameAround(SIZE{Scale(kClientSize.cx, dpi), Scale(kClientSize.cy, dpi)},
                                 style, exStyle, dpi);
  CreateOf(kClassName, question.caption, style, exStyle, RECT{0, 0, frame.cx, frame.cy}, owner);

  const HWND self = Handle();
  const auto child = [&](const wchar_t* className, const std::wstring& text, DWORD childStyle,
                         DWORD childExStyle, RECT bounds, int id) {
    const HWND control = CreateWindowExW(
        childExStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | childStyle, 0, 0, 0, 0, self,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    layout_.Add(control, bounds);
    return control;
  };

  // The prompt comes just before the field, so screen readers name the field by it; a question
  // without one names its field by its caption.
  child(WC_STATICW, question.prompt, SS_LEFT | SS_NOPREFIX, 0, RECT{10, 10, 310, 26},
        kIdInputPrompt);
  if (question.prompt.empty()) {
    AddUnseenLabel(self, question.caption.c_str());
  }
  field_ = child(WC_EDITW, question.initialText, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                 RECT{10, 30, 310, 52}, kIdInputField);
  SendMessageW(field_, EM_SETSEL, 0, -1);
  // BS_NOTIFY reports the buttons' focus, which the default button follows.
  child(WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON | BS_NOTIFY, 0, RECT{150, 62, 225, 86},
        IDOK);
  child(WC_BUTTONW, L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0,
        RECT{235, 62, 310, 86}, IDCANCEL);
  SetDpi(dpi);
}

void InputDialog::SetDpi(int dpi) {
  // The controls take the new font before the old one is freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi);
  SetClientSize(Handle(), SIZE{Scale(kClientSize.cx, dpi), Scale(kClientSize.cy, dpi)});
  layout_.Apply(Handle(), dpi, font.Get());
  font_ = std::move(font);
}

void InputDialog::Show(HWND owner) {
  RECT frame{};
  GetWindowRect(Handle(), &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT anchor{};
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
    GetWindowRect(owner, &anchor);
  } else {
    // A hidden owner's place means nothing to the user; a question from the tray menu comes
    // where the pointer just clicked.
    POINT pointer{};
    GetCursorPos(&pointer);
    anchor = WorkAreaOf(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY));
  }
  const RECT work = WorkAreaOf(MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST));
  const int left = std::clamp((anchor.left + anchor.right - width) / 2, work.left,
                              std::max(work.left, work.right - width));
  const int top = std::clamp((anchor.top + anchor.bottom - height) / 2, work.top,
                             std::max(work.top, work.bottom - height));
  SetWindowPos(Handle(), HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(Handle());
  SetFocus(field_);
}

LRESULT InputDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == IDOK && code == BN_CLICKED) {
        Finish(WindowText(field_));
        return 0;
      }
      if (id == IDCANCEL && code == BN_CLICKED) {
        Finish(std::nullopt);
        return 0;
      }
      if ((id == IDOK || id == IDCANCEL) && code == BN_SETFOCUS) {
        MakeDefault(id);
        return 0;
      }
      if (id == kIdInputField && code == EN_SETFOCUS) {
        MakeDefault(IDOK);
        return 0;
      }
      break;
    }
    case DM_GETDEFID:
      // Asked by IsDialogMessage when Enter is pressed outside a default button.
      return MAKELRESULT(defaultId_, DC_HASDEFID);
    case WM_ACTIVATE:
      keptFocus_.OnActivate(Handle(), wParam, field_);
      return 0;
    case WM_CLOSE:
      Finish(std::nullopt);
      return 0;
    case WM_DESTROY:
      // Destroyed from outside (the owner went away): the question is dropped.
      finished_ = true;
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void InputDialog::Finish(std::optional<std::wstring> answer) {
  if (finished_) {
    return;
  }
  finished_ = true;
  answer_ = std::move(answer);
  // A click sent from another program arrives as a sent message, which does not end the modal
  // loop's wait; this posted one does.
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void InputDialog::MakeDefault(int buttonId) {
  defaultId_ = buttonId;
  for (const int id : {IDOK, IDCANCEL}) {
    const DWORD kind = id == buttonId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    SendMessageW(GetDlgItem(Handle(), id), BM_SETSTYLE, kind | BS_NOTIFY, TRUE);
  }
}

}  // namespace

std::optional<std::wstring> AskText(HWND owner, const std::wstring& caption,
                                    const std::wstring& prompt, const std::wstring& initialText) {
  const HWND topOwner = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
  // Asked on the owner's monitor, at its dpi.
  const int dpi = topOwner != nullptr ? DpiOf(topOwner) : SystemDpi();
  FirstError errors;
  InputDialog dialog(errors, topOwner, Question{caption, prompt, initialText}, dpi);
  {
    const DisabledOwner disabled(topOwner);
    dialog.Show(topOwner);
    MSG message{};
    while (!dialog.Finished() && !errors.Error()) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0) {
        // The program is ending: the quit belongs to the main loop, and the question is dropped.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      if (got == -1) {
        break;
      }
      if (!IsDialogMessageW(dialog.Handle(), &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  if (errors.Error()) {
    std::rethrow_exception(errors.Error());
  }
  return dialog.TakeAnswer();
}

}  // namespace pellix::win32
