// Commands that look at how a window is laid out: where each control stands, how wide its
// caption is in a given font, where its scroll bars are, a picture of the window as it is on the
// screen, and the message that tells a window its monitor's dpi changed.
#include <windows.h>

#include <string>
#include <vector>

#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

template <typename Function>
Function User32Entry(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int WindowDpi(HWND hwnd) {
  if (const auto forWindow = User32Entry<GetDpiForWindowFn>("GetDpiForWindow")) {
    if (const UINT dpi = forWindow(hwnd); dpi > 0) {
      return static_cast<int>(dpi);
    }
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int MetricAt(int index, int dpi) {
  if (const auto forDpi = User32Entry<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi")) {
    return forDpi(index, static_cast<UINT>(dpi));
  }
  return GetSystemMetrics(index);
}

// A memory DC with a font selected, both released however the command ends.
class MeasuringDc {
 public:
  MeasuringDc(const std::wstring& face, int height) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_ == nullptr) {
      FailWin32(L"CreateCompatibleDC");
    }
    LOGFONTW description = {};
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    face.copy(description.lfFaceName, LF_FACESIZE - 1);
    font_ = CreateFontIndirectW(&description);
    previous_ = SelectObject(dc_, font_);
  }
  MeasuringDc(const MeasuringDc&) = delete;
  MeasuringDc& operator=(const MeasuringDc&) = delete;
  ~MeasuringDc() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
    DeleteDC(dc_);
  }

  SIZE Extent(const std::wstring& text, bool prefix) const {
    RECT rect = {0, 0, 0, 0};
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
  }
  std::wstring FaceName() const {
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc_, LF_FACESIZE, name);
    return name;
  }

 private:
  HDC dc_;
  HFONT font_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

RECT RectInClient(HWND hwnd, HWND parent) {
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

// The window's client size and dpi, and each direct child with its rectangle in the window's
// client coordinates and its text measured in the font given (the face and height the window is
// meant to use; another process cannot borrow the window's own font object).
void CmdControls(const Args& args, JsonWriter& json) {
  HWND window = ParseHwnd(args.At(0, L"HWND"));
  const std::wstring face = args.Option(L"face").value_or(L"MS Shell Dlg");
  const int height = static_cast<int>(args.Number(L"height", -12));
  const MeasuringDc measure(face, height);
  const int dpi = WindowDpi(window);
  RECT client = {};
  GetClientRect(window, &client);
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(window))
      .Key("dpi")
      .Int(dpi)
      .Key("face")
      .String(measure.FaceName())
      .Key("check")
      .Int(MetricAt(SM_CXMENUCHECK, dpi))
      .Key("zero")
      .Int(measure.Extent(L"0", false).cx)
      .Key("client");
  WriteRect(json, client);
  json.Key("controls").BeginArray();
  for (HWND child : children) {
    const std::wstring text = MessageText(child, 4096);
    const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    const bool is_static = ClassOf(child) == L"Static";
    const SIZE extent = measure.Extent(text, !(is_static && (style & SS_NOPREFIX) != 0));
    json.BeginObject()
        .Key("hwnd")
        .UInt(HwndValue(child))
        .Key("id")
        .Int(GetDlgCtrlID(child))
        .Key("class")
        .String(ClassOf(child))
        .Key("text")
        .String(text)
        .Key("style")
        .UInt(style)
        .Key("visible")
        .Bool(IsWindowVisible(child) != FALSE)
        .Key("tabstop")
        .Bool((style & WS_TABSTOP) != 0)
        .Key("extent")
        .BeginObject()
        .Key("cx")
        .Int(extent.cx)
        .Key("cy")
        .Int(extent.cy)
        .EndObject()
        .Key("rect");
    WriteRect(json, RectInClient(child, window));
    json.EndObject();
  }
  json.EndArray().EndObject();
}

// The window as it is on the screen, in a 24-bit BMP file.
void CmdSnapshot(const Args& args, JsonWriter& json) {
  HWND window = ParseHwnd(args.At(0, L"HWND"));
  const std::wstring& path = args.At(1, L"PATH");
  // Painted now, not whenever the window's thread next gets to it: UpdateWindow-style redraws
  // of another thread's window wait for its WM_PAINT.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect = {};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) {
    Fail(L"the window has no size");
  }
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  {
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                                DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied || lines != height) {
      Fail(L"cannot copy the window from the screen");
    }
  }
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const Handle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (out.get() == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateFileW " + path);
  }
  DWORD written = 0;
  const bool ok =
      WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
      WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
      WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  if (!ok) {
    FailWin32(L"WriteFile " + path);
  }
  json.BeginObject().Key("width").Int(width).Key("height").Int(height).EndObject();
}

// What the system sends a window that moved to a monitor of another dpi: WM_DPICHANGED with the
// new dpi and the rectangle it suggests, which must lie in the window's own process.
void CmdDpiChanged(const Args& args, JsonWriter& json) {
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const auto dpi = static_cast<WORD>(ParseInteger(args.At(1, L"DPI"), L"DPI"));
  const RECT suggested = {static_cast<LONG>(ParseInteger(args.At(2, L"LEFT"), L"LEFT")),
                          static_cast<LONG>(ParseInteger(args.At(3, L"TOP"), L"TOP")),
                          static_cast<LONG>(ParseInteger(args.At(4, L"RIGHT"), L"RIGHT")),
                          static_cast<LONG>(ParseInteger(args.At(5, L"BOTTOM"), L"BOTTOM"))};
  const Handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, PidOf(hwnd)));
  if (process.get() == nullptr) {
    FailWin32(L"OpenProcess");
  }
  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  if (remote == nullptr) {
    FailWin32(L"VirtualAllocEx");
  }
  struct Release {
    HANDLE process;
    void* address;
    ~Release() { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
  } release{process.get(), remote};
  SIZE_T done = 0;
  if (!WriteProcessMemory(process.get(), remote, &suggested, sizeof suggested, &done) ||
      done != sizeof suggested) {
    FailWin32(L"WriteProcessMemory");
  }
  constexpr UINT kDpiChanged = 0x02E0;
  const LRESULT result =
      Send(hwnd, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
  json.BeginObject().Key("result").Int(static_cast<long long>(result)).EndObject();
}

// A control's own scroll bars in screen coordinates, whether each is shown, and the client area
// of the top-level window that holds it, in screen coordinates too: a bar outside that area is
// cut off where the user cannot reach it. GetScrollBarInfo answers only for windows of its own
// process under Wine, so the bars are placed as the system places them: beside and below the
// control's client area, as wide as the system's scroll bars.
void CmdScrollBars(const Args& args, JsonWriter& json) {
  HWND control = ParseHwnd(args.At(0, L"HWND"));
  HWND top = GetAncestor(control, GA_ROOT);
  RECT client = {};
  GetClientRect(top, &client);
  MapWindowPoints(top, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT inner = {};
  GetClientRect(control, &inner);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&inner), 2);
  const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  const int dpi = WindowDpi(control);
  json.BeginObject().Key("client");
  WriteRect(json, client);
  json.Key("vertical").BeginObject().Key("shown").Bool((style & WS_VSCROLL) != 0).Key("rect");
  WriteRect(json,
            RECT{inner.right, inner.top, inner.right + MetricAt(SM_CXVSCROLL, dpi), inner.bottom});
  json.EndObject();
  json.Key("horizontal").BeginObject().Key("shown").Bool((style & WS_HSCROLL) != 0).Key("rect");
  WriteRect(json, RECT{inner.left, inner.bottom, inner.right,
                       inner.bottom + MetricAt(SM_CYHSCROLL, dpi)});
  json.EndObject().EndObject();
}

}  // namespace pxtool
