// Windows of other processes as the commands see them: handles from the command line, messages
// that cannot hang us, and the JSON shapes shared by several commands.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "args.h"
#include "json_writer.h"

namespace pxtool {

constexpr UINT kDefaultSendTimeoutMs = 5000;
constexpr int kDefaultWaitMs = 5000;
constexpr int kPollMs = 20;

unsigned long long HwndValue(HWND hwnd);
// Refuses a handle that names no window.
HWND ParseHwnd(std::wstring_view text);

// SendMessageTimeout that gives up on a hung window and fails the command instead.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
             UINT timeout_ms = kDefaultSendTimeoutMs);

std::wstring ClassOf(HWND hwnd);
// GetWindowTextW does not send a message to another process's window, so it cannot hang.
std::wstring TitleOf(HWND hwnd);
// A control's text lives in the control (an edit box's buffer), so it must be asked for.
std::wstring MessageText(HWND hwnd, size_t limit);
DWORD PidOf(HWND hwnd);
// The X window Wine made for a top-level window, 0 when it has none.
unsigned long long X11WindowOf(HWND hwnd);

void WriteRect(JsonWriter& json, const RECT& rect);
void WriteTopLevel(JsonWriter& json, HWND hwnd);

struct WindowFilter {
  std::optional<DWORD> pid;
  std::optional<std::wstring> class_name;
  std::optional<std::wstring> title;
  bool visible_only = false;

  // From --pid, --class, --title and --visible.
  static WindowFilter From(const Args& args);
  bool Matches(HWND hwnd) const;
};

// Message-only windows are not enumerated with the others, so they are asked for apart.
std::vector<HWND> TopLevelWindows(bool message_only);

}  // namespace pxtool
