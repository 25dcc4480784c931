#include "window_basics.h"

#include <cstdint>
#include <cwchar>

#include "base.h"

namespace pxtool {

unsigned long long HwndValue(HWND hwnd) {
  return reinterpret_cast<uintptr_t>(hwnd);
}

HWND ParseHwnd(std::wstring_view text) {
  const auto value = ParseUnsigned(text);
  if (!value) {
    Usage(L"not a window handle: " + std::wstring(text));
  }
  HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(*value));
  if (!IsWindow(hwnd)) {
    Fail(L"no such window: " + std::wstring(text));
  }
  return hwnd;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT timeout_ms) {
  DWORD_PTR result = 0;
  SetLastError(0);
  if (!SendMessageTimeoutW(hwnd, msg, wparam, lparam, SMTO_ABORTIFHUNG, timeout_ms, &result)) {
    const DWORD error = GetLastError();
    wchar_t name[16];
    swprintf(name, 16, L"0x%04x", msg);
    Fail(std::wstring(L"message ") + name + L" to window " + std::to_wstring(HwndValue(hwnd)) +
         L" got no answer (error " + std::to_wstring(error) + L")");
  }
  return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring TitleOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  const int length = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length > 0 ? length : 0));
  return text;
}

std::wstring MessageText(HWND hwnd, size_t limit) {
  const auto length = static_cast<size_t>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
  const size_t wanted = length < limit ? length : limit;
  std::wstring text(wanted + 1, L'\0');
  const auto got = static_cast<size_t>(
      Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < wanted ? got : wanted);
  return text;
}

DWORD PidOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

unsigned long long X11WindowOf(HWND hwnd) {
  return reinterpret_cast<uintptr_t>(GetPropW(hwnd, L"__wine_x11_whole_window"));
}

void WriteRect(JsonWriter& json, const RECT& rect) {
  json.BeginObject()
      .Key("left")
      .Int(rect.left)
      .Key("top")
      .Int(rect.top)
      .Key("right")
      .Int(rect.right)
      .Key("bottom")
      .Int(rect.bottom)
      .EndObject();
}

void WriteTopLevel(JsonWriter& json, HWND hwnd) {
  DWORD pid = 0;
  const DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("pid")
      .UInt(pid)
      .Key("tid")
      .UInt(tid)
      .Key("class")
      .String(ClassOf(hwnd))
      .Key("title")
      .String(TitleOf(hwnd))
      .Key("visible")
      .Bool(IsWindowVisible(hwnd) != FALSE)
      .Key("enabled")
      .Bool(IsWindowEnabled(hwnd) != FALSE)
      .Key("iconic")
      .Bool(IsIconic(hwnd) != FALSE)
      .Key("style")
      .UInt(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)))
      .Key("exstyle")
      .UInt(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)))
      .Key("owner")
      .UInt(HwndValue(GetWindow(hwnd, GW_OWNER)))
      .Key("x11")
      .UInt(X11WindowOf(hwnd))
      .Key("rect");
  WriteRect(json, rect);
  json.EndObject();
}

WindowFilter WindowFilter::From(const Args& args) {
  WindowFilter filter;
  if (const auto pid = args.Option(L"pid")) {
    filter.pid = static_cast<DWORD>(ParseInteger(*pid, L"--pid"));
  }
  filter.class_name = args.Option(L"class");
  filter.title = args.Option(L"title");
  filter.visible_only = args.Flag(L"visible");
  return filter;
}

bool WindowFilter::Matches(HWND hwnd) const {
  if (pid && PidOf(hwnd) != *pid) {
    return false;
  }
  if (class_name && _wcsicmp(ClassOf(hwnd).c_str(), class_name->c_str()) != 0) {
    return false;
  }
  if (title && TitleOf(hwnd) != *title) {
    return false;
  }
  return !visible_only || IsWindowVisible(hwnd);
}

std::vector<HWND> TopLevelWindows(bool message_only) {
  std::vector<HWND> windows;
  if (message_only) {
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr)) != nullptr) {
      windows.push_back(hwnd);
    }
    return windows;
  }
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace pxtool
