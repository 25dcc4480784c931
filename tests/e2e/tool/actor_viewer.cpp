// viewer: a plain member of the clipboard viewer chain, well or badly behaved on request.
#include <windows.h>

#include <optional>
#include <string>

#include "actors.h"
#include "base.h"
#include "clipboard.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

// A member of the chain may be slow, but a test tool must never wait on one forever.
constexpr UINT kChainSendTimeoutMs = 10000;
// A viewer reads each change once; a clipboard held longer than this is logged as unreadable.
constexpr int kViewerOpenAttempts = 10;
constexpr DWORD kViewerOpenRetryMs = 20;
constexpr long long kDefaultViewerSeconds = 120;
constexpr wchar_t kViewerClass[] = L"PxtoolViewer";

struct Viewer {
  HWND self = nullptr;
  HWND next = nullptr;
  bool joined = false;
  bool forward = true;
  HANDLE log = INVALID_HANDLE_VALUE;
  unsigned long long notices = 0;
  long long hang_after = 0;
  bool hung = false;
  ULONGLONG deadline = 0;
};

void ViewerOnDraw(Viewer& viewer, WPARAM wparam, LPARAM lparam) {
  const unsigned long long number = ++viewer.notices;
  const ULONGLONG tick = GetTickCount64();
  const bool opened = TryOpenClipboard(viewer.self, kViewerOpenAttempts, kViewerOpenRetryMs);
  std::optional<std::wstring> text;
  if (opened) {
    text = OpenClipboardUnicodeText();
    CloseClipboard();
  }
  JsonWriter line;
  line.BeginObject()
      .Key("n")
      .UInt(number)
      .Key("tick")
      .UInt(tick)
      .Key("read_ms")
      .UInt(GetTickCount64() - tick)
      .Key("sequence")
      .UInt(GetClipboardSequenceNumber())
      .Key("owner")
      .UInt(static_cast<unsigned long long>(wparam))
      .Key("next")
      .UInt(HwndValue(viewer.next))
      .Key("opened")
      .Bool(opened)
      .Key("text");
  if (text) {
    line.String(*text);
  } else {
    line.Null();
  }
  line.EndObject();
  AppendLogLine(viewer.log, line.str() + "\n");

  if (viewer.forward && viewer.next != nullptr && viewer.next != viewer.self) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(viewer.next, WM_DRAWCLIPBOARD, wparam, lparam, SMTO_NORMAL,
                        kChainSendTimeoutMs, &ignored);
  }

  if (viewer.hang_after > 0 && number >= static_cast<unsigned long long>(viewer.hang_after)) {
    // Answer this notice, then stop taking messages at all: what a program stuck in a long
    // computation looks like to the rest of the chain.
    viewer.hung = true;
    ReplyMessage(0);
    while (GetTickCount64() < viewer.deadline) {
      Sleep(50);
    }
  }
}

void ViewerLeave(Viewer& viewer) {
  if (viewer.joined) {
    viewer.joined = false;
    ChangeClipboardChain(viewer.self, viewer.next);
  }
}

// The viewer's state travels with its window (CreateWindowEx's parameter, kept in the window's
// user data), so messages that come before the window is fully made are simply passed on.
LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* viewer = reinterpret_cast<Viewer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (viewer == nullptr || viewer->self != hwnd) {
    return DefWindowProcW(hwnd, msg, wparam, lparam);
  }
  switch (msg) {
    case WM_DRAWCLIPBOARD:
      ViewerOnDraw(*viewer, wparam, lparam);
      return 0;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wparam) == viewer->next) {
        viewer->next = reinterpret_cast<HWND>(lparam);
      } else if (viewer->next != nullptr && viewer->next != hwnd) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(viewer->next, WM_CHANGECBCHAIN, wparam, lparam, SMTO_NORMAL,
                            kChainSendTimeoutMs, &ignored);
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      ViewerLeave(*viewer);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wparam, lparam);
  }
}

}  // namespace

// Logs every change notice it gets, one JSON line each. With --hang-after N it stops answering
// after the N-th notice (the one reported on joining counts); with --no-forward it keeps the
// notices to itself, as badly written viewers do.
void CmdViewer(const Args& args, JsonWriter& json) {
  const auto log_path = args.Option(L"log");
  if (!log_path) {
    Usage(L"viewer needs --log PATH");
  }
  Viewer viewer;
  viewer.hang_after = args.Number(L"hang-after", 0);
  viewer.forward = !args.Flag(L"no-forward");
  const long long seconds = args.Number(L"seconds", kDefaultViewerSeconds);
  viewer.deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds > 0 ? seconds : 0) * 1000;
  const Handle log(OpenLog(*log_path));
  viewer.log = log.get();

  WNDCLASSW wc = {};
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kViewerClass;
  if (!RegisterClassW(&wc)) {
    FailWin32(L"RegisterClassW");
  }
  // Created hidden and never shown: it is there only to be told of changes.
  HWND window = CreateWindowExW(0, kViewerClass, L"pxtool viewer", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                100, nullptr, nullptr, wc.hInstance, &viewer);
  if (window == nullptr) {
    FailWin32(L"CreateWindowExW");
  }
  viewer.self = window;
  // The platform reports the current clipboard to a new viewer before this returns, so that first
  // notice goes nowhere further: there is no next viewer yet.
  viewer.joined = true;
  viewer.next = SetClipboardViewer(viewer.self);

  JsonWriter hello;
  hello.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(viewer.self))
      .Key("next")
      .UInt(HwndValue(viewer.next))
      .Key("pid")
      .UInt(GetCurrentProcessId())
      .EndObject();
  Announce(hello);

  const bool closed = PumpUntil(viewer.deadline);
  if (IsWindow(window)) {
    DestroyWindow(window);
  }
  ViewerLeave(viewer);
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(window))
      .Key("notices")
      .UInt(viewer.notices)
      .Key("hung")
      .Bool(viewer.hung)
      .Key("closed")
      .Bool(closed)
      .EndObject();
}

}  // namespace pxtool
