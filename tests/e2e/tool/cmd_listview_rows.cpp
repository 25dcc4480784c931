// Where the rows of another process's list view are on the screen, so that a test can point at
// one with the real mouse (a click, a drag from one row onto another).
#include <windows.h>

#include <commctrl.h>

#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

// LVM_GETITEMRECT writes through a pointer, which must be valid in the list view's process.
RECT RemoteItemRect(HWND hwnd, HANDLE process, RECT* remote, int item) {
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  SIZE_T done = 0;
  if (!WriteProcessMemory(process, remote, &rect, sizeof rect, &done) || done != sizeof rect) {
    FailWin32(L"WriteProcessMemory");
  }
  if (!Send(hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote))) {
    Fail(L"LVM_GETITEMRECT failed for item " + std::to_wstring(item));
  }
  if (!ReadProcessMemory(process, remote, &rect, sizeof rect, &done) || done != sizeof rect) {
    FailWin32(L"ReadProcessMemory");
  }
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

// The screen rectangle of each listed row (LVIR_BOUNDS), in the order asked for.
void CmdListViewRows(const Args& args, JsonWriter& json) {
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  Handle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, PidOf(hwnd)));
  if (process.get() == nullptr) {
    FailWin32(L"OpenProcess");
  }
  auto* remote = static_cast<RECT*>(VirtualAllocEx(process.get(), nullptr, sizeof(RECT),
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote == nullptr) {
    FailWin32(L"VirtualAllocEx");
  }
  struct Release {
    HANDLE process;
    void* address;
    ~Release() { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
  } release{process.get(), remote};
  json.BeginObject().Key("rows").BeginArray();
  for (size_t i = 1; i < args.positional().size(); ++i) {
    const auto item = static_cast<int>(ParseInteger(args.positional()[i], L"INDEX"));
    WriteRect(json, RemoteItemRect(hwnd, process.get(), remote, item));
  }
  json.EndArray().EndObject();
}

}  // namespace pxtool
