#include "commands.h"

namespace pxtool {
namespace {

constexpr Lifetime kOwnProcess = Lifetime::kOwnProcess;

const Command kCommands[] = {
    {L"windows",
     CmdWindows,
     {L"pid", L"class", L"title"},
     {L"visible", L"message"},
     L"[--pid N] [--class NAME] [--title TEXT] [--visible] [--message]"},
    {L"wait-window",
     CmdWaitWindow,
     {L"pid", L"class", L"title", L"timeout"},
     {L"visible", L"message"},
     L"(--pid N|--class NAME|--title T) [--visible] [--timeout MS]"},
    {L"children", CmdChildren, {}, {}, L"HWND"},
    {L"text", CmdText, {}, {}, L"HWND"},
    {L"prop", CmdProp, {}, {}, L"HWND NAME"},
    {L"pixel", CmdPixel, {}, {}, L"X Y"},
    {L"controls", CmdControls, {L"face", L"height"}, {}, L"HWND [--face NAME] [--height H]"},
    {L"snapshot", CmdSnapshot, {}, {}, L"HWND PATH"},
    {L"dpi-changed", CmdDpiChanged, {}, {}, L"HWND DPI LEFT TOP RIGHT BOTTOM"},
    {L"scrollbars", CmdScrollBars, {}, {}, L"HWND"},
    {L"listbox", CmdListBox, {L"start", L"count"}, {}, L"HWND [--start I] [--count N]"},
    {L"combobox", CmdComboBox, {}, {}, L"HWND"},
    {L"listview",
     CmdListView,
     {L"start", L"count", L"column"},
     {},
     L"HWND [--start I] [--count N] [--column C]"},
    {L"listview-select", CmdListViewSelect, {L"timeout"}, {}, L"HWND INDEX... [--timeout MS]"},
    {L"listview-rows", CmdListViewRows, {}, {}, L"HWND INDEX..."},
    {L"post", CmdPost, {}, {}, L"HWND MSG WPARAM LPARAM"},
    {L"send", CmdSend, {L"timeout"}, {}, L"HWND MSG WPARAM LPARAM [--timeout MS]"},
    {L"show", CmdShow, {L"timeout"}, {}, L"HWND SW [--timeout MS]"},
    {L"close", CmdClose, {L"pid"}, {}, L"--pid N"},
    {L"message-id", CmdMessageId, {}, {}, L"NAME"},
    {L"tray-delete", CmdTrayDelete, {}, {}, L"HWND UID"},
    {L"foreground", CmdForeground, {L"timeout"}, {}, L"HWND [--timeout MS]"},
    {L"get-foreground", CmdGetForeground, {}, {}, L""},
    {L"keys", CmdKeys, {}, {}, L"CHORD..."},
    {L"type", CmdType, {}, {}, L"TEXT"},
    {L"clipboard-get", CmdClipboardGet, {L"raw"}, {}, L"[--raw FORMAT]"},
    {L"clipboard-set",
     CmdClipboardSet,
     {L"file", L"extra"},
     {},
     L"(TEXT | --file PATH) [--extra NAME[=DWORD]]..."},
    {L"clipboard-clear", CmdClipboardClear, {L"extra"}, {}, L"[--extra NAME[=DWORD]]..."},
    {L"clipboard-viewer", CmdClipboardViewer, {}, {}, L""},
    {L"capture-latency",
     CmdCaptureLatency,
     {L"rounds", L"size", L"gap"},
     {},
     L"HWND [--rounds N] [--size CHARS] [--gap MS]"},
    {L"watch-count",
     CmdWatchCount,
     {L"rounds", L"timeout"},
     {},
     L"HWND [--rounds R] [--timeout MS]",
     kOwnProcess},
    {L"wait-visible",
     CmdWaitVisible,
     {L"class", L"timeout"},
     {},
     L"--class NAME [--timeout MS]",
     kOwnProcess},
    {L"message-stall", CmdMessageStall, {L"ms"}, {}, L"HWND [--ms M]"},
    {L"paste-latency",
     CmdPasteLatency,
     {L"timeout"},
     {L"shift"},
     L"EDIT LENGTH [--shift] [--timeout MS]"},
    {L"shortcut", CmdShortcut, {L"make"}, {}, L"PATH [--make TARGET]"},
    {L"processes", CmdProcesses, {L"env"}, {}, L"[--env NAME]"},
    {L"viewer",
     CmdViewer,
     {L"log", L"hang-after", L"seconds"},
     {L"no-forward"},
     L"--log PATH [--hang-after N] [--seconds S] [--no-forward]",
     kOwnProcess},
    {L"hold-clipboard", CmdHoldClipboard, {L"ms", L"set"}, {}, L"--ms N [--set TEXT]", kOwnProcess},
    {L"hold-file",
     CmdHoldFile,
     {L"file", L"seconds"},
     {},
     L"--file PATH [--seconds S]",
     kOwnProcess},
    {L"hold-hotkey",
     CmdHoldHotkey,
     {L"mods", L"vk", L"seconds"},
     {},
     L"[--mods N] [--vk N] [--seconds S]",
     kOwnProcess},
    {L"key-log", CmdKeyLog, {L"log", L"seconds"}, {}, L"--log PATH [--seconds S]", kOwnProcess},
};

}  // namespace

const Command* FindCommand(std::wstring_view name) {
  for (const Command& command : kCommands) {
    if (name == command.name) {
      return &command;
    }
  }
  return nullptr;
}

std::wstring UsageText() {
  std::wstring text = L"usage: pxtool COMMAND [ARGS]\n";
  for (const Command& command : kCommands) {
    text += std::wstring(L"  ") + command.name;
    if (*command.usage != L'\0') {
      text += std::wstring(L" ") + command.usage;
    }
    text += command.lifetime == kOwnProcess ? L"  (runs as a process of its own)\n" : L"\n";
  }
  text +=
      L"  serve  (one command a line on stdin, each a JSON array of strings; one JSON answer a "
      L"line on stdout)\n";
  return text;
}

}  // namespace pxtool
