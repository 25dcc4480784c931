// Commands that find windows and read what they show.
#include <windows.h>

#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

// A screen DC, released however the command ends.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {
    if (dc_ == nullptr) {
      Fail(L"GetDC failed");
    }
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

void CmdWindows(const Args& args, JsonWriter& json) {
  const WindowFilter filter = WindowFilter::From(args);
  json.BeginArray();
  for (HWND hwnd : TopLevelWindows(args.Flag(L"message"))) {
    if (filter.Matches(hwnd)) {
      WriteTopLevel(json, hwnd);
    }
  }
  json.EndArray();
}

void CmdWaitWindow(const Args& args, JsonWriter& json) {
  const WindowFilter filter = WindowFilter::From(args);
  if (!filter.pid && !filter.class_name && !filter.title) {
    Usage(L"wait-window needs --pid, --class or --title");
  }
  const ULONGLONG deadline = GetTickCount64() + args.Number(L"timeout", kDefaultWaitMs);
  for (;;) {
    for (HWND hwnd : TopLevelWindows(args.Flag(L"message"))) {
      if (filter.Matches(hwnd)) {
        WriteTopLevel(json, hwnd);
        return;
      }
    }
    if (GetTickCount64() >= deadline) {
      Fail(L"no matching window appeared in time", 3);
    }
    Sleep(kPollMs);
  }
}

void CmdChildren(const Args& args, JsonWriter& json) {
  HWND parent = ParseHwnd(args.At(0, L"HWND"));
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  json.BeginArray();
  for (HWND hwnd : children) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    json.BeginObject()
        .Key("hwnd")
        .UInt(HwndValue(hwnd))
        .Key("parent")
        .UInt(HwndValue(GetAncestor(hwnd, GA_PARENT)))
        .Key("id")
        .Int(GetDlgCtrlID(hwnd))
        .Key("class")
        .String(ClassOf(hwnd))
        .Key("text")
        .String(MessageText(hwnd, 4096))
        .Key("visible")
        .Bool(IsWindowVisible(hwnd) != FALSE)
        .Key("enabled")
        .Bool(IsWindowEnabled(hwnd) != FALSE)
        .Key("style")
        .UInt(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)))
        .Key("exstyle")
        .UInt(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)))
        .Key("rect");
    WriteRect(json, rect);
    json.EndObject();
  }
  json.EndArray();
}

void CmdText(const Args& args, JsonWriter& json) {
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("text")
      .String(MessageText(hwnd, static_cast<size_t>(1) << 26))
      .EndObject();
}

// A window property, which any process of the desktop can read: how pellix shows where its next
// paste goes.
void CmdProp(const Args& args, JsonWriter& json) {
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const std::wstring name = args.At(1, L"NAME");
  const HANDLE value = GetPropW(hwnd, name.c_str());
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("value")
      .UInt(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(value)))
      .EndObject();
}

// The colour of one screen pixel, as 0xRRGGBB.
void CmdPixel(const Args& args, JsonWriter& json) {
  const auto x = static_cast<int>(ParseInteger(args.At(0, L"X"), L"X"));
  const auto y = static_cast<int>(ParseInteger(args.At(1, L"Y"), L"Y"));
  const ScreenDc screen;
  const COLORREF color = GetPixel(screen.get(), x, y);
  json.BeginObject()
      .Key("rgb")
      .UInt((GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color))
      .EndObject();
}

}  // namespace pxtool
