// pxtool's commands: every one has its row in one table (name, handler, options, usage), and
// every handler writes exactly one JSON document or fails with a ToolError.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "args.h"
#include "json_writer.h"

namespace pxtool {

using Handler = void (*)(const Args& args, JsonWriter& json);

enum class Lifetime {
  // Inspects or drives other windows and leaves nothing of its own behind: runs anywhere,
  // also as one of many commands in `pxtool serve`.
  kCommand,
  // A program in its own right that runs until told to stop or until its time is over (a
  // clipboard viewer, a hotkey holder...): only ever run as a process of its own.
  kOwnProcess,
};

struct Command {
  const wchar_t* name;
  Handler run;
  std::initializer_list<const wchar_t*> options;  // take a value
  std::initializer_list<const wchar_t*> flags;    // stand alone
  const wchar_t* usage;                           // what follows the name
  Lifetime lifetime = Lifetime::kCommand;
};

const Command* FindCommand(std::wstring_view name);
std::wstring UsageText();

// Windows and their children (cmd_windows.cpp).
void CmdWindows(const Args& args, JsonWriter& json);
void CmdWaitWindow(const Args& args, JsonWriter& json);
void CmdChildren(const Args& args, JsonWriter& json);
void CmdText(const Args& args, JsonWriter& json);
void CmdProp(const Args& args, JsonWriter& json);
void CmdPixel(const Args& args, JsonWriter& json);

// Layout and pictures of windows (cmd_layout.cpp).
void CmdControls(const Args& args, JsonWriter& json);
void CmdSnapshot(const Args& args, JsonWriter& json);
void CmdDpiChanged(const Args& args, JsonWriter& json);
void CmdScrollBars(const Args& args, JsonWriter& json);

// List controls (cmd_lists.cpp).
void CmdListBox(const Args& args, JsonWriter& json);
void CmdComboBox(const Args& args, JsonWriter& json);
// Screen rectangles of list view rows (cmd_listview_rows.cpp).
void CmdListViewRows(const Args& args, JsonWriter& json);
void CmdListView(const Args& args, JsonWriter& json);
void CmdListViewSelect(const Args& args, JsonWriter& json);

// Messages, showing and closing (cmd_messages.cpp).
void CmdPost(const Args& args, JsonWriter& json);
void CmdSend(const Args& args, JsonWriter& json);
void CmdShow(const Args& args, JsonWriter& json);
void CmdClose(const Args& args, JsonWriter& json);
void CmdMessageId(const Args& args, JsonWriter& json);
void CmdTrayDelete(const Args& args, JsonWriter& json);

// The foreground window and keys (cmd_input.cpp).
void CmdForeground(const Args& args, JsonWriter& json);
void CmdGetForeground(const Args& args, JsonWriter& json);
void CmdKeys(const Args& args, JsonWriter& json);
void CmdType(const Args& args, JsonWriter& json);

// The clipboard (cmd_clipboard.cpp).
void CmdClipboardGet(const Args& args, JsonWriter& json);
void CmdClipboardSet(const Args& args, JsonWriter& json);
void CmdClipboardClear(const Args& args, JsonWriter& json);
void CmdClipboardViewer(const Args& args, JsonWriter& json);

// Timing pellix from the outside (cmd_timing.cpp).
void CmdCaptureLatency(const Args& args, JsonWriter& json);
void CmdWatchCount(const Args& args, JsonWriter& json);
void CmdWaitVisible(const Args& args, JsonWriter& json);
void CmdMessageStall(const Args& args, JsonWriter& json);
void CmdPasteLatency(const Args& args, JsonWriter& json);

// Shortcut files (cmd_shell.cpp).
void CmdShortcut(const Args& args, JsonWriter& json);

// Processes (cmd_processes.cpp).
void CmdProcesses(const Args& args, JsonWriter& json);

// Programs of their own (actor_*.cpp).
void CmdViewer(const Args& args, JsonWriter& json);
void CmdHoldClipboard(const Args& args, JsonWriter& json);
void CmdHoldFile(const Args& args, JsonWriter& json);
void CmdHoldHotkey(const Args& args, JsonWriter& json);
void CmdKeyLog(const Args& args, JsonWriter& json);

}  // namespace pxtool
