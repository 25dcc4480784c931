// pxtool: the end-to-end tests' hands and eyes inside Wine. Each command inspects or drives the
// windows of another process the way a user or a screen reader would, prints one JSON document
// (UTF-8) on stdout and exits 0; on failure it prints a message on stderr and exits non-zero.
// Every wait is bounded: a hung target must fail a test, never stall it.

// windows.h must come first; the others build on it.
#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "json_writer.h"

namespace pxtool {
namespace {

constexpr UINT kDefaultSendTimeoutMs = 5000;
constexpr int kDefaultWaitMs = 5000;
constexpr int kPollMs = 20;

struct ToolError {
  std::wstring message;
  int exit_code = 1;
};

[[noreturn]] void Fail(std::wstring message, int exit_code = 1) {
  throw ToolError{std::move(message), exit_code};
}

[[noreturn]] void FailWin32(const std::wstring& what) {
  const DWORD error = GetLastError();
  Fail(what + L" failed (error " + std::to_wstring(error) + L")");
}

[[noreturn]] void Usage(const std::wstring& message) {
  Fail(message, 2);
}

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(std::string_view bytes) {
  if (bytes.empty()) {
    return {};
  }
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                       static_cast<int>(bytes.size()), nullptr, 0);
  if (size == 0) {
    Fail(L"the text is not valid UTF-8");
  }
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                      out.data(), size);
  return out;
}

// Console code pages would mangle the bytes; stdout is written raw as UTF-8.
void WriteRaw(DWORD which, const std::string& bytes) {
  HANDLE handle = GetStdHandle(which);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

// ---- argument parsing -------------------------------------------------------------------------

std::optional<unsigned long long> ParseUnsigned(std::wstring_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) {
    return std::nullopt;
  }
  unsigned long long value = 0;
  for (wchar_t c : text) {
    int digit;
    if (c >= L'0' && c <= L'9') {
      digit = c - L'0';
    } else if (base == 16 && c >= L'a' && c <= L'f') {
      digit = c - L'a' + 10;
    } else if (base == 16 && c >= L'A' && c <= L'F') {
      digit = c - L'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  return value;
}

long long ParseInteger(std::wstring_view text, const wchar_t* what) {
  const bool negative = !text.empty() && text[0] == L'-';
  if (negative) {
    text.remove_prefix(1);
  }
  const auto value = ParseUnsigned(text);
  if (!value) {
    Usage(std::wstring(L"not a number for ") + what + L": " + std::wstring(text));
  }
  return negative ? -static_cast<long long>(*value) : static_cast<long long>(*value);
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

unsigned long long HwndValue(HWND hwnd) {
  return reinterpret_cast<uintptr_t>(hwnd);
}

// Positional arguments and `--name value` / `--flag` options, in any order.
class Args {
 public:
  Args(std::vector<std::wstring> args, std::initializer_list<const wchar_t*> flags)
      : flags_(flags) {
    for (size_t i = 0; i < args.size(); ++i) {
      const std::wstring& arg = args[i];
      if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
        const std::wstring name = arg.substr(2);
        if (IsFlag(name)) {
          options_.emplace_back(name, L"");
          continue;
        }
        if (i + 1 >= args.size()) {
          Usage(L"option --" + name + L" needs a value");
        }
        options_.emplace_back(name, args[++i]);
      } else {
        positional_.push_back(arg);
      }
    }
  }

  const std::vector<std::wstring>& positional() const { return positional_; }

  const std::wstring& At(size_t index, const wchar_t* what) const {
    if (index >= positional_.size()) {
      Usage(std::wstring(L"missing argument: ") + what);
    }
    return positional_[index];
  }

  std::optional<std::wstring> Option(const wchar_t* name) const {
    std::optional<std::wstring> found;
    for (const auto& [key, value] : options_) {
      if (key == name) {
        found = value;
      }
    }
    return found;
  }

  std::vector<std::wstring> All(const wchar_t* name) const {
    std::vector<std::wstring> found;
    for (const auto& [key, value] : options_) {
      if (key == name) {
        found.push_back(value);
      }
    }
    return found;
  }

  bool Flag(const wchar_t* name) const { return Option(name).has_value(); }

  long long Number(const wchar_t* name, long long fallback) const {
    const auto value = Option(name);
    return value ? ParseInteger(*value, name) : fallback;
  }

  // Refuses options the command does not know, so a typo cannot silently widen a filter.
  void Allow(std::initializer_list<const wchar_t*> known) const {
    for (const auto& [key, value] : options_) {
      bool ok = false;
      for (const wchar_t* name : known) {
        ok = ok || key == name;
      }
      if (!ok) {
        Usage(L"unknown option --" + key);
      }
    }
  }

 private:
  bool IsFlag(const std::wstring& name) const {
    for (const wchar_t* flag : flags_) {
      if (name == flag) {
        return true;
      }
    }
    return false;
  }

  std::vector<const wchar_t*> flags_;
  std::vector<std::wstring> positional_;
  std::vector<std::pair<std::wstring, std::wstring>> options_;
};

// ---- window basics ----------------------------------------------------------------------------

LRESULT Send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
             UINT timeout_ms = kDefaultSendTimeoutMs) {
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

// GetWindowTextW does not send a message to another process's window, so it cannot hang.
std::wstring TitleOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  const int length = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length > 0 ? length : 0));
  return text;
}

// A control's text lives in the control (an edit box's buffer), so it must be asked for.
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

unsigned long long X11WindowOf(HWND hwnd) {
  return reinterpret_cast<uintptr_t>(GetPropW(hwnd, L"__wine_x11_whole_window"));
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

struct WindowFilter {
  std::optional<DWORD> pid;
  std::optional<std::wstring> class_name;
  std::optional<std::wstring> title;
  bool visible_only = false;

  static WindowFilter From(const Args& args) {
    WindowFilter filter;
    if (const auto pid = args.Option(L"pid")) {
      filter.pid = static_cast<DWORD>(ParseInteger(*pid, L"--pid"));
    }
    filter.class_name = args.Option(L"class");
    filter.title = args.Option(L"title");
    filter.visible_only = args.Flag(L"visible");
    return filter;
  }

  bool Matches(HWND hwnd) const {
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
};

std::vector<HWND> TopLevelWindows(bool message_only) {
  std::vector<HWND> windows;
  if (message_only) {
    // Message-only windows are not enumerated by EnumWindows; walk them one by one.
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

// ---- commands: windows ------------------------------------------------------------------------

void CmdWindows(const Args& args, JsonWriter& json) {
  args.Allow({L"pid", L"class", L"title", L"visible", L"message"});
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
  args.Allow({L"pid", L"class", L"title", L"visible", L"message", L"timeout"});
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
  args.Allow({});
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
  args.Allow({});
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("text")
      .String(MessageText(hwnd, static_cast<size_t>(1) << 26))
      .EndObject();
}

// ---- commands: list controls ------------------------------------------------------------------

struct Range {
  long long start;
  long long end;
};

Range ItemRange(const Args& args, long long count) {
  long long start = args.Number(L"start", 0);
  if (start < 0) {
    start = 0;
  }
  if (start > count) {
    start = count;
  }
  const long long wanted = args.Number(L"count", count - start);
  const long long end = wanted < 0 || start + wanted > count ? count : start + wanted;
  return {start, end};
}

void CmdListBox(const Args& args, JsonWriter& json) {
  args.Allow({L"start", L"count"});
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  const bool owner_draw = (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
  const bool has_strings = !owner_draw || (style & LBS_HASSTRINGS) != 0;
  const bool multi = (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
  const long long count = Send(hwnd, LB_GETCOUNT, 0, 0);
  const Range range = ItemRange(args, count);

  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("count")
      .Int(count)
      .Key("start")
      .Int(range.start)
      .Key("multi")
      .Bool(multi)
      .Key("has_strings")
      .Bool(has_strings)
      .Key("items")
      .BeginArray();
  for (long long i = range.start; i < range.end; ++i) {
    if (!has_strings) {
      json.Null();
      continue;
    }
    const LRESULT length = Send(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == LB_ERR) {
      Fail(L"LB_GETTEXTLEN failed for item " + std::to_wstring(i));
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got =
        Send(hwnd, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    json.String(text);
  }
  json.EndArray().Key("selected").BeginArray();
  if (multi) {
    const LRESULT selected_count = Send(hwnd, LB_GETSELCOUNT, 0, 0);
    if (selected_count > 0) {
      std::vector<int> indices(static_cast<size_t>(selected_count));
      const LRESULT got = Send(hwnd, LB_GETSELITEMS, static_cast<WPARAM>(selected_count),
                               reinterpret_cast<LPARAM>(indices.data()));
      for (LRESULT i = 0; i < got && i < selected_count; ++i) {
        json.Int(indices[static_cast<size_t>(i)]);
      }
    }
  } else {
    const LRESULT current = Send(hwnd, LB_GETCURSEL, 0, 0);
    if (current != LB_ERR) {
      json.Int(current);
    }
  }
  json.EndArray()
      .Key("caret")
      .Int(Send(hwnd, LB_GETCARETINDEX, 0, 0))
      .Key("top")
      .Int(Send(hwnd, LB_GETTOPINDEX, 0, 0))
      .EndObject();
}

void CmdComboBox(const Args& args, JsonWriter& json) {
  args.Allow({});
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const long long count = Send(hwnd, CB_GETCOUNT, 0, 0);
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("count")
      .Int(count)
      .Key("items")
      .BeginArray();
  for (long long i = 0; i < count; ++i) {
    const LRESULT length = Send(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == CB_ERR) {
      json.Null();
      continue;
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got =
        Send(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    json.String(text);
  }
  json.EndArray()
      .Key("selected")
      .Int(Send(hwnd, CB_GETCURSEL, 0, 0))
      .Key("text")
      .String(MessageText(hwnd, 65536))
      .Key("dropped")
      .Bool(Send(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0)
      .EndObject();
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_ != nullptr) {
      CloseHandle(handle_);
    }
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Memory in another process, for the messages whose pointers Windows does not carry across.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size) : process_(process), size_(size) {
    address_ = static_cast<char*>(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (address_ == nullptr) {
      FailWin32(L"VirtualAllocEx");
    }
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

  char* address() const { return address_; }
  size_t size() const { return size_; }

  void Write(size_t offset, const void* data, size_t size) const {
    SIZE_T done = 0;
    if (!WriteProcessMemory(process_, address_ + offset, data, size, &done) || done != size) {
      FailWin32(L"WriteProcessMemory");
    }
  }
  void Read(size_t offset, void* data, size_t size) const { ReadAt(address_ + offset, data, size); }
  void ReadAt(const void* remote, void* data, size_t size) const {
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, remote, data, size, &done) || done != size) {
      FailWin32(L"ReadProcessMemory");
    }
  }

 private:
  HANDLE process_;
  size_t size_;
  char* address_ = nullptr;
};

HANDLE OpenWindowProcess(HWND hwnd) {
  HANDLE process = OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      PidOf(hwnd));
  if (process == nullptr) {
    FailWin32(L"OpenProcess");
  }
  return process;
}

// The list view fills our buffer itself or, for an owner-data list, has its owner do it on
// LVN_GETDISPINFO; an owner may also point pszText at its own string, which is read there.
std::wstring ListViewItemText(HWND hwnd, const RemoteBuffer& buffer, int item, int column) {
  constexpr size_t kTextOffset = (sizeof(LVITEMW) + 15) & ~static_cast<size_t>(15);
  const size_t capacity = (buffer.size() - kTextOffset) / sizeof(wchar_t);
  auto* remote_text = reinterpret_cast<wchar_t*>(buffer.address() + kTextOffset);
  LVITEMW lvitem = {};
  lvitem.mask = LVIF_TEXT;
  lvitem.iItem = item;
  lvitem.iSubItem = column;
  lvitem.pszText = remote_text;
  lvitem.cchTextMax = static_cast<int>(capacity);
  const wchar_t nul = L'\0';
  buffer.Write(kTextOffset, &nul, sizeof nul);
  buffer.Write(0, &lvitem, sizeof lvitem);
  const auto length = static_cast<size_t>(Send(hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                               reinterpret_cast<LPARAM>(buffer.address())));
  LVITEMW after = {};
  buffer.Read(0, &after, sizeof after);
  const size_t readable = length < capacity ? length : capacity - 1;
  std::wstring text(readable, L'\0');
  if (readable > 0) {
    buffer.ReadAt(after.pszText != nullptr ? after.pszText : remote_text, text.data(),
                  readable * sizeof(wchar_t));
  }
  return text;
}

void CmdListView(const Args& args, JsonWriter& json) {
  args.Allow({L"start", L"count", L"column"});
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const int column = static_cast<int>(args.Number(L"column", 0));
  const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  const long long count = Send(hwnd, LVM_GETITEMCOUNT, 0, 0);
  const Range range = ItemRange(args, count);
  Handle process(OpenWindowProcess(hwnd));
  RemoteBuffer buffer(process.get(), 256 * 1024);

  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("count")
      .Int(count)
      .Key("owner_data")
      .Bool((style & LVS_OWNERDATA) != 0)
      .Key("start")
      .Int(range.start)
      .Key("items")
      .BeginArray();
  for (long long i = range.start; i < range.end; ++i) {
    const auto item = static_cast<int>(i);
    const auto state = static_cast<UINT>(
        Send(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED | LVIS_FOCUSED));
    json.BeginObject()
        .Key("index")
        .Int(i)
        .Key("text")
        .String(ListViewItemText(hwnd, buffer, item, column))
        .Key("selected")
        .Bool((state & LVIS_SELECTED) != 0)
        .Key("focused")
        .Bool((state & LVIS_FOCUSED) != 0)
        .EndObject();
  }
  json.EndArray().Key("selected").BeginArray();
  long long next = -1;
  for (long long guard = 0; guard < count; ++guard) {
    next = Send(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(next), MAKELPARAM(LVNI_SELECTED, 0));
    if (next < 0) {
      break;
    }
    json.Int(next);
  }
  json.EndArray()
      .Key("selected_count")
      .Int(Send(hwnd, LVM_GETSELECTEDCOUNT, 0, 0))
      .Key("focused")
      .Int(Send(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)))
      .Key("top")
      .Int(Send(hwnd, LVM_GETTOPINDEX, 0, 0))
      .Key("per_page")
      .Int(Send(hwnd, LVM_GETCOUNTPERPAGE, 0, 0))
      .EndObject();
}

// Selects items as a click would (the owner gets LVN_ITEMCHANGED); the first one gets the focus.
void CmdListViewSelect(const Args& args, JsonWriter& json) {
  args.Allow({});
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  std::vector<int> indices;
  for (size_t i = 1; i < args.positional().size(); ++i) {
    indices.push_back(static_cast<int>(ParseInteger(args.positional()[i], L"INDEX")));
  }
  Handle process(OpenWindowProcess(hwnd));
  RemoteBuffer buffer(process.get(), sizeof(LVITEMW));
  auto set_state = [&](int item, UINT mask, UINT state) {
    LVITEMW lvitem = {};
    lvitem.stateMask = mask;
    lvitem.state = state;
    buffer.Write(0, &lvitem, sizeof lvitem);
    if (!Send(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
              reinterpret_cast<LPARAM>(buffer.address()))) {
      Fail(L"LVM_SETITEMSTATE failed for item " + std::to_wstring(item));
    }
  };
  set_state(-1, LVIS_SELECTED, 0);
  for (size_t i = 0; i < indices.size(); ++i) {
    const UINT mask = i == 0 ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
    set_state(indices[i], mask, mask);
  }
  if (!indices.empty()) {
    Send(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(indices[0]), FALSE);
  }
  json.BeginObject().Key("ok").Bool(true).EndObject();
}

// ---- commands: messages -----------------------------------------------------------------------

struct NamedMessage {
  const wchar_t* name;
  UINT value;
};

constexpr NamedMessage kMessages[] = {
    {L"WM_NULL", WM_NULL},
    {L"WM_CLOSE", WM_CLOSE},
    {L"WM_QUIT", WM_QUIT},
    {L"WM_QUERYENDSESSION", WM_QUERYENDSESSION},
    {L"WM_ENDSESSION", WM_ENDSESSION},
    {L"WM_KEYDOWN", WM_KEYDOWN},
    {L"WM_KEYUP", WM_KEYUP},
    {L"WM_CHAR", WM_CHAR},
    {L"WM_SYSKEYDOWN", WM_SYSKEYDOWN},
    {L"WM_SYSKEYUP", WM_SYSKEYUP},
    {L"WM_COMMAND", WM_COMMAND},
    {L"WM_SYSCOMMAND", WM_SYSCOMMAND},
    {L"WM_TIMER", WM_TIMER},
    {L"WM_LBUTTONDOWN", WM_LBUTTONDOWN},
    {L"WM_LBUTTONUP", WM_LBUTTONUP},
    {L"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK},
    {L"WM_RBUTTONDOWN", WM_RBUTTONDOWN},
    {L"WM_RBUTTONUP", WM_RBUTTONUP},
    {L"WM_HOTKEY", WM_HOTKEY},
    {L"WM_USER", WM_USER},
    {L"WM_APP", WM_APP},
    {L"BM_CLICK", BM_CLICK},
    {L"LB_SETCURSEL", LB_SETCURSEL},
    {L"LB_SETSEL", LB_SETSEL},
    {L"LB_SETCARETINDEX", LB_SETCARETINDEX},
    {L"CB_SETCURSEL", CB_SETCURSEL},
    {L"LVM_ENSUREVISIBLE", LVM_ENSUREVISIBLE},
};

// A number, a known name, or NAME+N (WM_APP+1).
UINT ParseMessage(const std::wstring& text) {
  if (auto value = ParseUnsigned(text)) {
    return static_cast<UINT>(*value);
  }
  const size_t plus = text.find(L'+');
  const std::wstring name = text.substr(0, plus);
  UINT offset = 0;
  if (plus != std::wstring::npos) {
    offset = static_cast<UINT>(ParseInteger(text.substr(plus + 1), L"MSG"));
  }
  for (const auto& message : kMessages) {
    if (_wcsicmp(message.name, name.c_str()) == 0) {
      return message.value + offset;
    }
  }
  Usage(L"unknown message: " + text);
}

void CmdPostOrSend(const Args& args, JsonWriter& json, bool send) {
  args.Allow({L"timeout"});
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const UINT msg = ParseMessage(args.At(1, L"MSG"));
  const auto wparam = static_cast<WPARAM>(ParseInteger(args.At(2, L"WPARAM"), L"WPARAM"));
  const auto lparam = static_cast<LPARAM>(ParseInteger(args.At(3, L"LPARAM"), L"LPARAM"));
  json.BeginObject().Key("hwnd").UInt(HwndValue(hwnd)).Key("msg").UInt(msg);
  if (send) {
    const auto timeout = static_cast<UINT>(args.Number(L"timeout", kDefaultSendTimeoutMs));
    // Timed in here, so that a test can tell the target's answer from the cost of starting us;
    // the tick of the answer compares with the ticks other commands report.
    const ULONGLONG start = GetTickCount64();
    json.Key("result").Int(Send(hwnd, msg, wparam, lparam, timeout));
    const ULONGLONG answered = GetTickCount64();
    json.Key("elapsed_ms").UInt(answered - start).Key("tick").UInt(answered);
  } else if (!PostMessageW(hwnd, msg, wparam, lparam)) {
    FailWin32(L"PostMessageW");
  }
  json.Key("ok").Bool(true).EndObject();
}

struct NamedShowCommand {
  const wchar_t* name;
  int value;
};

constexpr NamedShowCommand kShowCommands[] = {
    {L"hide", SW_HIDE},         {L"shownormal", SW_SHOWNORMAL},
    {L"normal", SW_NORMAL},     {L"showminimized", SW_SHOWMINIMIZED},
    {L"maximize", SW_MAXIMIZE}, {L"shownoactivate", SW_SHOWNOACTIVATE},
    {L"show", SW_SHOW},         {L"minimize", SW_MINIMIZE},
    {L"showna", SW_SHOWNA},     {L"restore", SW_RESTORE},
};

int ParseShowCommand(const std::wstring& text) {
  if (auto value = ParseUnsigned(text)) {
    return static_cast<int>(*value);
  }
  for (const auto& command : kShowCommands) {
    if (_wcsicmp(command.name, text.c_str()) == 0) {
      return command.value;
    }
  }
  Usage(L"unknown show command: " + text);
}

// Shows or hides another program's window as that program itself would: the window's own thread
// does it, so the window gets WM_SHOWWINDOW. Asynchronous, so a hung target cannot stall us; the
// wait for the result is bounded.
void CmdShow(const Args& args, JsonWriter& json) {
  args.Allow({L"timeout"});
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const int command = ParseShowCommand(args.At(1, L"SW"));
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + args.Number(L"timeout", kDefaultWaitMs);
  if (!ShowWindowAsync(hwnd, command)) {
    FailWin32(L"ShowWindowAsync");
  }
  const bool minimized =
      command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
  auto done = [&] {
    if (command == SW_HIDE) {
      return !IsWindowVisible(hwnd);
    }
    if (minimized) {
      return IsIconic(hwnd) != FALSE;
    }
    return IsWindowVisible(hwnd) && !IsIconic(hwnd);
  };
  while (!done()) {
    if (GetTickCount64() >= deadline) {
      Fail(L"the window did not take the new show state in time", 3);
    }
    Sleep(kPollMs / 4);
  }
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("visible")
      .Bool(IsWindowVisible(hwnd) != FALSE)
      .Key("iconic")
      .Bool(IsIconic(hwnd) != FALSE)
      .Key("elapsed_ms")
      .UInt(GetTickCount64() - start)
      .EndObject();
}

// What a user's click on the close box does, for every visible top-level window of a process.
void CmdClose(const Args& args, JsonWriter& json) {
  args.Allow({L"pid"});
  const auto pid = args.Option(L"pid");
  if (!pid) {
    Usage(L"close needs --pid");
  }
  const auto wanted = static_cast<DWORD>(ParseInteger(*pid, L"--pid"));
  json.BeginObject().Key("closed").BeginArray();
  for (HWND hwnd : TopLevelWindows(false)) {
    if (PidOf(hwnd) == wanted && IsWindowVisible(hwnd) && PostMessageW(hwnd, WM_CLOSE, 0, 0)) {
      json.UInt(HwndValue(hwnd));
    }
  }
  json.EndArray().EndObject();
}

// ---- commands: foreground and keys ------------------------------------------------------------

void WriteForeground(JsonWriter& json) {
  HWND foreground = GetForegroundWindow();
  json.Key("foreground").UInt(HwndValue(foreground));
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD tid = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  if (tid != 0 && GetGUIThreadInfo(tid, &info)) {
    json.Key("focus")
        .UInt(HwndValue(info.hwndFocus))
        .Key("active")
        .UInt(HwndValue(info.hwndActive));
  } else {
    json.Key("focus").UInt(0).Key("active").UInt(0);
  }
}

void CmdForeground(const Args& args, JsonWriter& json) {
  args.Allow({L"timeout"});
  HWND root = GetAncestor(ParseHwnd(args.At(0, L"HWND")), GA_ROOT);
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + args.Number(L"timeout", 2000);
  ULONGLONG next_try = start;
  bool ok = false;
  // Wine switches the foreground asynchronously; ask again now and then in case a request is
  // lost while the target is still busy.
  while (!(ok = GetForegroundWindow() == root) && GetTickCount64() < deadline) {
    if (GetTickCount64() >= next_try) {
      SetForegroundWindow(root);
      next_try = GetTickCount64() + 500;
    }
    Sleep(10);
  }
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(root))
      .Key("ok")
      .Bool(ok)
      .Key("x11")
      .UInt(X11WindowOf(root))
      .Key("elapsed_ms")
      .UInt(GetTickCount64() - start);
  WriteForeground(json);
  json.EndObject();
}

void CmdGetForeground(const Args& args, JsonWriter& json) {
  args.Allow({});
  HWND foreground = GetForegroundWindow();
  json.BeginObject();
  WriteForeground(json);
  json.Key("window");
  if (foreground != nullptr) {
    WriteTopLevel(json, foreground);
  } else {
    json.Null();
  }
  json.EndObject();
}

struct NamedKey {
  const wchar_t* name;
  WORD vk;
  bool extended;
};

constexpr NamedKey kKeys[] = {
    {L"enter", VK_RETURN, false},   {L"return", VK_RETURN, false}, {L"tab", VK_TAB, false},
    {L"esc", VK_ESCAPE, false},     {L"escape", VK_ESCAPE, false}, {L"space", VK_SPACE, false},
    {L"backspace", VK_BACK, false}, {L"delete", VK_DELETE, true},  {L"del", VK_DELETE, true},
    {L"insert", VK_INSERT, true},   {L"home", VK_HOME, true},      {L"end", VK_END, true},
    {L"pageup", VK_PRIOR, true},    {L"pagedown", VK_NEXT, true},  {L"up", VK_UP, true},
    {L"down", VK_DOWN, true},       {L"left", VK_LEFT, true},      {L"right", VK_RIGHT, true},
    {L"apps", VK_APPS, true},       {L"ctrl", VK_CONTROL, false},  {L"control", VK_CONTROL, false},
    {L"shift", VK_SHIFT, false},    {L"alt", VK_MENU, false},      {L"win", VK_LWIN, true},
};

NamedKey KeyFromName(const std::wstring& name) {
  std::wstring lower;
  for (wchar_t c : name) {
    lower += static_cast<wchar_t>(std::towlower(c));
  }
  for (const auto& key : kKeys) {
    if (lower == key.name) {
      return key;
    }
  }
  if (lower.size() == 1 &&
      ((lower[0] >= L'a' && lower[0] <= L'z') || (lower[0] >= L'0' && lower[0] <= L'9'))) {
    return {L"", static_cast<WORD>(std::towupper(lower[0])), false};
  }
  if (lower.size() >= 2 && lower[0] == L'f') {
    if (auto n = ParseUnsigned(lower.substr(1)); n && *n >= 1 && *n <= 24) {
      return {L"", static_cast<WORD>(VK_F1 + *n - 1), false};
    }
  }
  Usage(L"unknown key: " + name);
}

INPUT KeyInput(const NamedKey& key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key.vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key.vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

void SendInputs(const std::vector<INPUT>& inputs) {
  if (inputs.empty()) {
    return;
  }
  const UINT sent =
      SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.data()), sizeof(INPUT));
  if (sent != inputs.size()) {
    FailWin32(L"SendInput");
  }
}

// Each argument is one chord such as ctrl+v or shift+tab; chords are sent one after another.
void CmdKeys(const Args& args, JsonWriter& json) {
  args.Allow({});
  if (args.positional().empty()) {
    Usage(L"keys needs at least one CHORD");
  }
  for (const std::wstring& chordText : args.positional()) {
    std::vector<NamedKey> chord;
    size_t begin = 0;
    while (begin <= chordText.size()) {
      size_t plus = chordText.find(L'+', begin);
      // "ctrl++" means the plus key; only a trailing plus can be one.
      if (plus == begin && plus + 1 == chordText.size()) {
        plus = std::wstring::npos;
      }
      const std::wstring part =
          chordText.substr(begin, plus == std::wstring::npos ? std::wstring::npos : plus - begin);
      if (part == L"+") {
        chord.push_back({L"", VK_OEM_PLUS, false});
      } else {
        chord.push_back(KeyFromName(part));
      }
      if (plus == std::wstring::npos) {
        break;
      }
      begin = plus + 1;
    }
    std::vector<INPUT> inputs;
    for (const auto& key : chord) {
      inputs.push_back(KeyInput(key, false));
    }
    for (auto it = chord.rbegin(); it != chord.rend(); ++it) {
      inputs.push_back(KeyInput(*it, true));
    }
    SendInputs(inputs);
  }
  json.BeginObject().Key("ok").Bool(true).EndObject();
}

// Characters as such, whatever the keyboard layout: the target gets WM_CHAR for each.
void CmdType(const Args& args, JsonWriter& json) {
  args.Allow({});
  const std::wstring& text = args.At(0, L"TEXT");
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (bool up : {false, true}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<WORD>(c);
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  SendInputs(inputs);
  json.BeginObject().Key("ok").Bool(true).EndObject();
}

// ---- commands: clipboard ----------------------------------------------------------------------

// Another program may hold the clipboard for a moment; wait for it briefly, not forever.
class ClipboardOpening {
 public:
  explicit ClipboardOpening(HWND owner) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      if (OpenClipboard(owner)) {
        return;
      }
      Sleep(20);
    }
    FailWin32(L"OpenClipboard");
  }
  ClipboardOpening(const ClipboardOpening&) = delete;
  ClipboardOpening& operator=(const ClipboardOpening&) = delete;
  ~ClipboardOpening() { CloseClipboard(); }
};

std::wstring FormatName(UINT format) {
  static const std::pair<UINT, const wchar_t*> kStandard[] = {
      {CF_TEXT, L"CF_TEXT"},
      {CF_BITMAP, L"CF_BITMAP"},
      {CF_OEMTEXT, L"CF_OEMTEXT"},
      {CF_DIB, L"CF_DIB"},
      {CF_UNICODETEXT, L"CF_UNICODETEXT"},
      {CF_HDROP, L"CF_HDROP"},
      {CF_LOCALE, L"CF_LOCALE"},
      {CF_DIBV5, L"CF_DIBV5"},
  };
  for (const auto& [value, name] : kStandard) {
    if (value == format) {
      return name;
    }
  }
  wchar_t name[256] = {};
  if (GetClipboardFormatNameW(format, name, 256) > 0) {
    return name;
  }
  return L"";
}

UINT ParseFormat(const std::wstring& text) {
  if (auto value = ParseUnsigned(text)) {
    return static_cast<UINT>(*value);
  }
  for (UINT standard = 1; standard < 0x100; ++standard) {
    if (FormatName(standard) == text) {
      return standard;
    }
  }
  return RegisterClipboardFormatW(text.c_str());
}

std::string HexOf(const unsigned char* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    hex += kDigits[data[i] >> 4];
    hex += kDigits[data[i] & 15];
  }
  return hex;
}

void CmdClipboardGet(const Args& args, JsonWriter& json) {
  args.Allow({L"raw"});
  ClipboardOpening opening(nullptr);
  json.BeginObject()
      .Key("sequence")
      .UInt(GetClipboardSequenceNumber())
      .Key("owner")
      .UInt(HwndValue(GetClipboardOwner()))
      .Key("formats")
      .BeginArray();
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    json.BeginObject().Key("id").UInt(format).Key("name").String(FormatName(format)).EndObject();
  }
  json.EndArray().Key("text");
  HANDLE data =
      IsClipboardFormatAvailable(CF_UNICODETEXT) ? GetClipboardData(CF_UNICODETEXT) : nullptr;
  const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (text != nullptr) {
    // The block need not hold a terminator; never read past its end.
    const size_t units = GlobalSize(data) / sizeof(wchar_t);
    json.String(std::wstring_view(text, wcsnlen(text, units)));
    GlobalUnlock(data);
  } else {
    json.Null();
  }
  if (const auto raw = args.Option(L"raw")) {
    const UINT format = ParseFormat(*raw);
    json.Key("raw");
    HANDLE block = IsClipboardFormatAvailable(format) ? GetClipboardData(format) : nullptr;
    const auto* bytes = block ? static_cast<const unsigned char*>(GlobalLock(block)) : nullptr;
    if (bytes != nullptr) {
      json.Utf8(HexOf(bytes, GlobalSize(block)));
      GlobalUnlock(block);
    } else {
      json.Null();
    }
  }
  json.EndObject();
}

HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size == 0 ? 1 : size);
  if (block == nullptr) {
    FailWin32(L"GlobalAlloc");
  }
  void* target = GlobalLock(block);
  if (size > 0) {
    std::memcpy(target, data, size);
  }
  GlobalUnlock(block);
  return block;
}

void SetClipboardBlock(UINT format, HGLOBAL block) {
  if (SetClipboardData(format, block) == nullptr) {
    const DWORD error = GetLastError();
    GlobalFree(block);
    SetLastError(error);
    FailWin32(L"SetClipboardData");
  }
}

std::string ReadFileBytes(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateFileW " + path);
  }
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  return bytes;
}

// The clipboard needs an owner window: SetClipboardData fails after EmptyClipboard with none.
class OwnerWindow {
 public:
  OwnerWindow() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"pxtool clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) {
      FailWin32(L"CreateWindowExW");
    }
  }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// Writes text and, with --extra NAME[=DWORD], the registered formats with which password managers
// mark a text as not to be recorded: everything in one opening, so one change notice follows.
void CmdClipboardSet(const Args& args, JsonWriter& json, bool with_text) {
  args.Allow({L"file", L"extra"});
  std::optional<std::wstring> text;
  if (with_text) {
    if (const auto file = args.Option(L"file")) {
      text = FromUtf8(ReadFileBytes(*file));
    } else {
      text = args.At(0, L"TEXT");
    }
  }
  OwnerWindow owner;
  {
    ClipboardOpening opening(owner.get());
    if (!EmptyClipboard()) {
      FailWin32(L"EmptyClipboard");
    }
    if (text) {
      SetClipboardBlock(CF_UNICODETEXT,
                        GlobalCopy(text->c_str(), (text->size() + 1) * sizeof(wchar_t)));
    }
    for (const std::wstring& extra : args.All(L"extra")) {
      const size_t equals = extra.find(L'=');
      const UINT format = RegisterClipboardFormatW(extra.substr(0, equals).c_str());
      if (format == 0) {
        FailWin32(L"RegisterClipboardFormatW");
      }
      if (equals == std::wstring::npos) {
        SetClipboardBlock(format, GlobalCopy("", 0));
      } else {
        const auto value = static_cast<DWORD>(ParseInteger(extra.substr(equals + 1), L"--extra"));
        SetClipboardBlock(format, GlobalCopy(&value, sizeof value));
      }
    }
  }
  json.BeginObject()
      .Key("ok")
      .Bool(true)
      .Key("sequence")
      .UInt(GetClipboardSequenceNumber())
      .EndObject();
}

// ---- commands: the clipboard viewer chain -----------------------------------------------------

// A member of the chain may be slow, but a test tool must never wait on one forever.
constexpr UINT kChainSendTimeoutMs = 10000;
// A viewer reads each change once; a clipboard held longer than this is logged as unreadable.
constexpr int kViewerOpenAttempts = 10;
constexpr DWORD kViewerOpenRetryMs = 20;
constexpr long long kDefaultViewerSeconds = 120;

bool TryOpenClipboard(HWND owner, int attempts, DWORD retry_ms) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (OpenClipboard(owner)) {
      return true;
    }
    Sleep(retry_ms);
  }
  return false;
}

// With the clipboard open: its CF_UNICODETEXT, never read past the end of the block.
std::optional<std::wstring> OpenClipboardUnicodeText() {
  HANDLE data =
      IsClipboardFormatAvailable(CF_UNICODETEXT) ? GetClipboardData(CF_UNICODETEXT) : nullptr;
  const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (text == nullptr) {
    return std::nullopt;
  }
  std::wstring copy(text, wcsnlen(text, GlobalSize(data) / sizeof(wchar_t)));
  GlobalUnlock(data);
  return copy;
}

void WriteLine(DWORD which, const JsonWriter& json) {
  WriteRaw(which, json.str() + "\n");
}

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

Viewer* g_viewer = nullptr;

void AppendLogLine(HANDLE log, const std::string& line) {
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  // The test reads the log while we run: every line must be there as soon as it is written.
  FlushFileBuffers(log);
}

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

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Viewer* viewer = g_viewer;
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
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wparam, lparam);
  }
}

// A plain member of the viewer chain that logs every change notice it gets, one JSON line each.
// With --hang-after N it stops answering after the N-th notice (the one reported on joining
// counts); with --no-forward it keeps the notices to itself, as badly written viewers do.
void CmdViewer(const Args& args, JsonWriter& json) {
  args.Allow({L"log", L"hang-after", L"seconds", L"no-forward"});
  const auto log_path = args.Option(L"log");
  if (!log_path) {
    Usage(L"viewer needs --log PATH");
  }
  Viewer viewer;
  viewer.hang_after = args.Number(L"hang-after", 0);
  viewer.forward = !args.Flag(L"no-forward");
  const long long seconds = args.Number(L"seconds", kDefaultViewerSeconds);
  viewer.deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds > 0 ? seconds : 0) * 1000;
  Handle log(CreateFileW(log_path->c_str(), FILE_APPEND_DATA,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (log.get() == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateFileW " + *log_path);
  }
  viewer.log = log.get();

  WNDCLASSW wc = {};
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PxtoolViewer";
  if (!RegisterClassW(&wc)) {
    FailWin32(L"RegisterClassW");
  }
  g_viewer = &viewer;
  // Created hidden and never shown: it is there only to be told of changes.
  viewer.self = CreateWindowExW(0, wc.lpszClassName, L"pxtool viewer", WS_OVERLAPPEDWINDOW, 0, 0,
                                100, 100, nullptr, nullptr, wc.hInstance, nullptr);
  if (viewer.self == nullptr) {
    FailWin32(L"CreateWindowExW");
  }
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
  WriteLine(STD_OUTPUT_HANDLE, hello);
  FlushFileBuffers(GetStdHandle(STD_OUTPUT_HANDLE));

  bool closed = false;
  while (!closed) {
    const ULONGLONG now = GetTickCount64();
    if (now >= viewer.deadline) {
      break;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(viewer.deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        closed = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (!closed) {
    DestroyWindow(viewer.self);
  }
  ViewerLeave(viewer);
  g_viewer = nullptr;
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(viewer.self))
      .Key("notices")
      .UInt(viewer.notices)
      .Key("hung")
      .Bool(viewer.hung)
      .Key("closed")
      .Bool(closed)
      .EndObject();
}

// The second opening of hold-clipboard, on a thread of its own. After a change it is already
// asking for the clipboard again and again when the first opening closes, so that it has it back
// before anyone who hears of the change can try.
//
// The clipboard owner window lives on this thread too: under Wine each OpenClipboard first syncs
// with the clipboard's owner window by a message, and an owner on a thread that is busy waiting
// would hold that message up for seconds. This thread opens with no window, though: an opening
// that names the window the clipboard is already open with would be let in at once.
//
// Wine's sync also means the holder is not quite what it is on Windows: it only delays the others
// by answering, and a holder that stopped answering would delay them itself.
struct Holder {
  HANDLE ready = nullptr;    // set once the owner window exists (or could not be made)
  HANDLE closing = nullptr;  // set while the first opening holds the text; none for a plain hold
  HWND owner = nullptr;
  volatile LONG close_returned = 0;
  volatile LONG tries = 0;
  ULONGLONG hold_ms = 0;
  bool opened = false;
  bool before_close_returned = false;
  long long attempts = 0;
  ULONGLONG opened_tick = 0;
  ULONGLONG released_tick = 0;
};

DWORD WINAPI HoldThread(void* param) {
  Holder& holder = *static_cast<Holder*>(param);
  const HANDLE closing = holder.closing;
  holder.owner = CreateWindowExW(0, L"STATIC", L"pxtool clipboard owner", 0, 0, 0, 0, 0,
                                 HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  const HWND owner = holder.owner;
  SetEvent(holder.ready);
  if (owner == nullptr) {
    return 1;
  }
  const bool go = closing == nullptr || WaitForSingleObject(closing, 10000) == WAIT_OBJECT_0;
  const ULONGLONG give_up = GetTickCount64() + 2000;
  while (go) {
    ++holder.attempts;
    InterlockedIncrement(&holder.tries);
    if (OpenClipboard(nullptr)) {
      holder.before_close_returned = InterlockedCompareExchange(&holder.close_returned, 0, 0) == 0;
      holder.opened = true;
      break;
    }
    if (GetTickCount64() >= give_up) {
      break;
    }
    if (closing == nullptr) {
      Sleep(20);
    }
  }
  if (holder.opened) {
    holder.opened_tick = GetTickCount64();
    const ULONGLONG until = holder.opened_tick + holder.hold_ms;
    // Messages are answered all along: everyone else's OpenClipboard syncs with the owner window
    // first, and an owner that stopped answering would hold their attempts up (for seconds) where
    // Windows would simply refuse them.
    for (ULONGLONG now = holder.opened_tick; now < until; now = GetTickCount64()) {
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(until - now), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
      }
    }
    CloseClipboard();
    holder.released_tick = GetTickCount64();
  }
  DestroyWindow(owner);
  return 0;
}

// Holds the clipboard open for a while, as a slow program does. With --set, the text is put on the
// clipboard first and the clipboard is taken again as that opening closes: the change notice goes
// out at that close, so the viewers handle it while the clipboard is held again. The ticks are
// GetTickCount64 values, comparable with those a viewer logs and `send` reports.
void CmdHoldClipboard(const Args& args, JsonWriter& json) {
  args.Allow({L"ms", L"set"});
  const long long hold_ms = args.Number(L"ms", -1);
  if (hold_ms < 0) {
    Usage(L"hold-clipboard needs --ms N");
  }
  const auto text = args.Option(L"set");
  Holder holder;
  holder.hold_ms = static_cast<ULONGLONG>(hold_ms);
  Handle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  Handle closing(text ? CreateEventW(nullptr, TRUE, FALSE, nullptr) : nullptr);
  if (ready.get() == nullptr || (text && closing.get() == nullptr)) {
    FailWin32(L"CreateEventW");
  }
  holder.ready = ready.get();
  holder.closing = closing.get();
  Handle thread(CreateThread(nullptr, 0, HoldThread, &holder, 0, nullptr));
  if (thread.get() == nullptr) {
    FailWin32(L"CreateThread");
  }
  // From here on the thread uses the holder, so every way out waits for it first.
  auto finish = [&] {
    if (closing.get() != nullptr) {
      SetEvent(closing.get());
    }
    return WaitForSingleObject(thread.get(), static_cast<DWORD>(hold_ms) + 15000) == WAIT_OBJECT_0;
  };
  if (WaitForSingleObject(ready.get(), 10000) != WAIT_OBJECT_0 || holder.owner == nullptr) {
    finish();
    Fail(L"could not make the clipboard owner window");
  }
  std::optional<ULONGLONG> changed;
  if (text) {
    if (!TryOpenClipboard(holder.owner, 100, 20)) {
      const DWORD error = GetLastError();
      finish();
      SetLastError(error);
      FailWin32(L"OpenClipboard");
    }
    const HGLOBAL block = GlobalCopy(text->c_str(), (text->size() + 1) * sizeof(wchar_t));
    const bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!set) {
      GlobalFree(block);
    }
    SetEvent(closing.get());
    // Close only once the other thread is knocking.
    const ULONGLONG give_up = GetTickCount64() + 2000;
    while (InterlockedCompareExchange(&holder.tries, 0, 0) < 2 && GetTickCount64() < give_up) {
      SwitchToThread();
    }
    changed = GetTickCount64();
    CloseClipboard();
    InterlockedExchange(&holder.close_returned, 1);
    if (!set) {
      finish();
      Fail(L"could not put the text on the clipboard");
    }
  }
  const DWORD sequence = GetClipboardSequenceNumber();
  if (!finish()) {
    Fail(L"the clipboard was not released in time");
  }
  if (!holder.opened) {
    Fail(L"could not open the clipboard (again)");
  }
  json.BeginObject().Key("sequence").UInt(sequence).Key("changed_tick");
  if (changed) {
    json.UInt(*changed);
  } else {
    json.Null();
  }
  json.Key("held_tick")
      .UInt(holder.opened_tick)
      .Key("released_tick")
      .UInt(holder.released_tick)
      .Key("held_ms")
      .UInt(holder.released_tick - holder.opened_tick)
      .Key("attempts")
      .Int(holder.attempts)
      .Key("reopen_ms");
  if (changed) {
    json.UInt(holder.opened_tick - *changed)
        .Key("before_close_returned")
        .Bool(holder.before_close_returned);
  } else {
    json.Null().Key("before_close_returned").Null();
  }
  json.EndObject();
}

void CmdClipboardViewer(const Args& args, JsonWriter& json) {
  args.Allow({});
  HWND viewer = GetClipboardViewer();
  json.BeginObject().Key("viewer").UInt(HwndValue(viewer)).Key("pid");
  if (viewer != nullptr) {
    json.UInt(PidOf(viewer)).Key("class").String(ClassOf(viewer));
  } else {
    json.Null().Key("class").Null();
  }
  json.Key("owner").UInt(HwndValue(GetClipboardOwner())).EndObject();
}

// A window property, which any process of the desktop can read: how pellix shows where its next
// paste goes.
void CmdProp(const Args& args, JsonWriter& json) {
  args.Allow({});
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

// ---- commands: hotkeys and the tray
// --------------------------------------------------------------

// Holds a global hotkey for a while, as another program would, so that pellix cannot have it.
// Prints whether the registration succeeded, then runs until --seconds are over or WM_CLOSE.
void CmdHoldHotkey(const Args& args, JsonWriter& json) {
  args.Allow({L"mods", L"vk", L"seconds"});
  const auto mods = static_cast<UINT>(args.Number(L"mods", MOD_CONTROL));
  const auto vk = static_cast<UINT>(args.Number(L"vk", 'A'));
  const long long seconds = args.Number(L"seconds", 60);
  HWND window = CreateWindowExW(0, L"STATIC", L"pxtool hotkey", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    FailWin32(L"CreateWindowExW");
  }
  const bool registered = RegisterHotKey(window, 1, mods, vk) != FALSE;
  JsonWriter hello;
  hello.BeginObject().Key("hwnd").UInt(HwndValue(window)).Key("registered").Bool(registered);
  hello.EndObject();
  WriteLine(STD_OUTPUT_HANDLE, hello);
  FlushFileBuffers(GetStdHandle(STD_OUTPUT_HANDLE));
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  MSG message{};
  while (GetTickCount64() < deadline) {
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) {
      bool closing = false;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        closing = closing || message.message == WM_CLOSE || message.message == WM_QUIT;
        DispatchMessageW(&message);
      }
      if (closing) {
        break;
      }
    }
  }
  UnregisterHotKey(window, 1);
  DestroyWindow(window);
  json.BeginObject().Key("released").Bool(true).EndObject();
}

// The number the system gives a registered window message, such as "TaskbarCreated".
void CmdMessageId(const Args& args, JsonWriter& json) {
  args.Allow({});
  const std::wstring name = args.At(0, L"NAME");
  json.BeginObject().Key("id").UInt(RegisterWindowMessageW(name.c_str())).EndObject();
}

// Removes another program's notification icon, as a crashing task bar would lose it.
void CmdTrayDelete(const Args& args, JsonWriter& json) {
  args.Allow({});
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = ParseHwnd(args.At(0, L"HWND"));
  data.uID = static_cast<UINT>(std::wcstoull(args.At(1, L"UID").c_str(), nullptr, 0));
  json.BeginObject().Key("ok").Bool(Shell_NotifyIconW(NIM_DELETE, &data) != FALSE).EndObject();
}

// Logs every key event that reaches the system's input, one JSON line each (virtual key, up or
// down, injected or not), for --seconds or until WM_CLOSE: a way to see keys that a program
// sends on its own.
HANDLE g_keyLog = INVALID_HANDLE_VALUE;

LRESULT CALLBACK KeyLogHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_keyLog != INVALID_HANDLE_VALUE) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    JsonWriter line;
    line.BeginObject()
        .Key("vk")
        .UInt(event->vkCode)
        .Key("up")
        .Bool(wParam == WM_KEYUP || wParam == WM_SYSKEYUP)
        .Key("injected")
        .Bool((event->flags & LLKHF_INJECTED) != 0)
        .EndObject();
    const std::string text = line.str() + "\n";
    DWORD written = 0;
    WriteFile(g_keyLog, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CmdKeyLog(const Args& args, JsonWriter& json) {
  args.Allow({L"log", L"seconds"});
  const auto path = args.Option(L"log");
  if (!path) {
    Usage(L"key-log needs --log PATH");
  }
  Handle log(CreateFileW(path->c_str(), FILE_APPEND_DATA,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (log.get() == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateFileW " + *path);
  }
  g_keyLog = log.get();
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyLogHook, GetModuleHandleW(nullptr), 0);
  if (hook == nullptr) {
    FailWin32(L"SetWindowsHookExW");
  }
  JsonWriter hello;
  hello.BeginObject().Key("hooked").Bool(true).EndObject();
  WriteLine(STD_OUTPUT_HANDLE, hello);
  FlushFileBuffers(GetStdHandle(STD_OUTPUT_HANDLE));
  const ULONGLONG deadline =
      GetTickCount64() + static_cast<ULONGLONG>(args.Number(L"seconds", 60)) * 1000;
  bool closing = false;
  while (!closing && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      closing = closing || message.message == WM_QUIT || message.message == WM_CLOSE;
      DispatchMessageW(&message);
    }
  }
  UnhookWindowsHookEx(hook);
  g_keyLog = INVALID_HANDLE_VALUE;
  json.BeginObject().Key("unhooked").Bool(true).EndObject();
}

// The colour of one screen pixel, as 0xRRGGBB.
void CmdPixel(const Args& args, JsonWriter& json) {
  args.Allow({});
  const int x = std::stoi(args.At(0, L"X"));
  const int y = std::stoi(args.At(1, L"Y"));
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  json.BeginObject()
      .Key("rgb")
      .UInt((GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color))
      .EndObject();
}

// ---- commands: processes ----------------------------------------------------------------------

// Reads one variable from another process's environment block through its PEB, which is how the
// harness tells which Windows process a Unix process it started has become.
std::optional<std::wstring> RemoteEnvironmentValue(DWORD pid, const std::wstring& name) {
  Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (process.get() == nullptr) {
    return std::nullopt;
  }
  PROCESS_BASIC_INFORMATION basic = {};
  if (NtQueryInformationProcess(process.get(), ProcessBasicInformation, &basic, sizeof basic,
                                nullptr) != 0 ||
      basic.PebBaseAddress == nullptr) {
    return std::nullopt;
  }
  auto read = [&](const void* address, void* out, size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(process.get(), address, out, size, &done) && done == size;
  };
  // x64 layout: PEB.ProcessParameters at 0x20, RTL_USER_PROCESS_PARAMETERS.Environment at 0x80.
  void* parameters = nullptr;
  void* environment = nullptr;
  if (!read(reinterpret_cast<const char*>(basic.PebBaseAddress) + 0x20, &parameters,
            sizeof parameters) ||
      parameters == nullptr ||
      !read(static_cast<const char*>(parameters) + 0x80, &environment, sizeof environment) ||
      environment == nullptr) {
    return std::nullopt;
  }
  MEMORY_BASIC_INFORMATION region = {};
  if (VirtualQueryEx(process.get(), environment, &region, sizeof region) == 0) {
    return std::nullopt;
  }
  const size_t available =
      static_cast<size_t>(static_cast<const char*>(region.BaseAddress) + region.RegionSize -
                          static_cast<const char*>(environment));
  const size_t size = available < (1u << 20) ? available : (1u << 20);
  std::wstring block(size / sizeof(wchar_t), L'\0');
  if (!read(environment, block.data(), block.size() * sizeof(wchar_t))) {
    return std::nullopt;
  }
  size_t pos = 0;
  while (pos < block.size() && block[pos] != L'\0') {
    const size_t end = block.find(L'\0', pos);
    const std::wstring_view entry(block.data() + pos,
                                  (end == std::wstring::npos ? block.size() : end) - pos);
    const size_t equals = entry.find(L'=', 1);
    if (equals == name.size() && _wcsnicmp(entry.data(), name.c_str(), name.size()) == 0) {
      return std::wstring(entry.substr(equals + 1));
    }
    if (end == std::wstring::npos) {
      break;
    }
    pos = end + 1;
  }
  return std::nullopt;
}

void CmdProcesses(const Args& args, JsonWriter& json) {
  args.Allow({L"env"});
  const auto env_name = args.Option(L"env");
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateToolhelp32Snapshot");
  }
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  json.BeginArray();
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    json.BeginObject()
        .Key("pid")
        .UInt(entry.th32ProcessID)
        .Key("ppid")
        .UInt(entry.th32ParentProcessID)
        .Key("exe")
        .String(entry.szExeFile)
        .Key("path");
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    wchar_t path[MAX_PATH * 4] = {};
    DWORD size = MAX_PATH * 4;
    if (process.get() != nullptr && QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
      json.String(std::wstring_view(path, size));
    } else {
      json.Null();
    }
    if (env_name) {
      json.Key("env");
      if (const auto value = RemoteEnvironmentValue(entry.th32ProcessID, *env_name)) {
        json.String(*value);
      } else {
        json.Null();
      }
    }
    json.EndObject();
  }
  json.EndArray();
}

// ---- dispatch ---------------------------------------------------------------------------------

constexpr const wchar_t* kUsage =
    L"usage: pxtool COMMAND [ARGS]\n"
    L"  windows [--pid N] [--class NAME] [--title TEXT] [--visible] [--message]\n"
    L"  wait-window (--pid N|--class NAME|--title T) [--visible] [--timeout MS]\n"
    L"  children HWND | text HWND\n"
    L"  listbox HWND [--start I] [--count N] | combobox HWND\n"
    L"  listview HWND [--start I] [--count N] [--column C]\n"
    L"  listview-select HWND INDEX...\n"
    L"  close --pid N | show HWND SW [--timeout MS]\n"
    L"  post HWND MSG WPARAM LPARAM | send HWND MSG WPARAM LPARAM [--timeout MS]\n"
    L"  foreground HWND [--timeout MS] | get-foreground\n"
    L"  keys CHORD... | type TEXT\n"
    L"  clipboard-get [--raw FORMAT]\n"
    L"  clipboard-set (TEXT | --file PATH) [--extra NAME[=DWORD]]...\n"
    L"  clipboard-clear [--extra NAME[=DWORD]]...\n"
    L"  clipboard-viewer | prop HWND NAME | message-id NAME\n"
    L"  hold-hotkey [--mods N] [--vk N] [--seconds S] | tray-delete HWND UID\n"
    L"  key-log --log PATH [--seconds S] | pixel X Y\n"
    L"  viewer --log PATH [--hang-after N] [--seconds S] [--no-forward]\n"
    L"  hold-clipboard --ms N [--set TEXT]\n"
    L"  processes [--env NAME]\n";

int Run(int argc, wchar_t** argv) {
  if (argc < 2) {
    Usage(kUsage);
  }
  const std::wstring command = argv[1];
  std::vector<std::wstring> rest(argv + 2, argv + argc);
  const Args args(rest, {L"visible", L"message", L"no-forward"});
  JsonWriter json;
  if (command == L"windows") {
    CmdWindows(args, json);
  } else if (command == L"wait-window") {
    CmdWaitWindow(args, json);
  } else if (command == L"children") {
    CmdChildren(args, json);
  } else if (command == L"text") {
    CmdText(args, json);
  } else if (command == L"listbox") {
    CmdListBox(args, json);
  } else if (command == L"combobox") {
    CmdComboBox(args, json);
  } else if (command == L"listview") {
    CmdListView(args, json);
  } else if (command == L"listview-select") {
    CmdListViewSelect(args, json);
  } else if (command == L"post" || command == L"send") {
    CmdPostOrSend(args, json, command == L"send");
  } else if (command == L"close") {
    CmdClose(args, json);
  } else if (command == L"show") {
    CmdShow(args, json);
  } else if (command == L"foreground") {
    CmdForeground(args, json);
  } else if (command == L"get-foreground") {
    CmdGetForeground(args, json);
  } else if (command == L"keys") {
    CmdKeys(args, json);
  } else if (command == L"type") {
    CmdType(args, json);
  } else if (command == L"clipboard-get") {
    CmdClipboardGet(args, json);
  } else if (command == L"clipboard-set") {
    CmdClipboardSet(args, json, true);
  } else if (command == L"clipboard-clear") {
    CmdClipboardSet(args, json, false);
  } else if (command == L"hold-hotkey") {
    CmdHoldHotkey(args, json);
  } else if (command == L"message-id") {
    CmdMessageId(args, json);
  } else if (command == L"tray-delete") {
    CmdTrayDelete(args, json);
  } else if (command == L"key-log") {
    CmdKeyLog(args, json);
  } else if (command == L"pixel") {
    CmdPixel(args, json);
  } else if (command == L"prop") {
    CmdProp(args, json);
  } else if (command == L"clipboard-viewer") {
    CmdClipboardViewer(args, json);
  } else if (command == L"viewer") {
    CmdViewer(args, json);
  } else if (command == L"hold-clipboard") {
    CmdHoldClipboard(args, json);
  } else if (command == L"processes") {
    CmdProcesses(args, json);
  } else {
    Usage(L"unknown command: " + command + L"\n" + kUsage);
  }
  WriteRaw(STD_OUTPUT_HANDLE, json.str() + "\n");
  return 0;
}

}  // namespace
}  // namespace pxtool

int wmain(int argc, wchar_t** argv) {
  try {
    return pxtool::Run(argc, argv);
  } catch (const pxtool::ToolError& error) {
    pxtool::WriteRaw(STD_ERROR_HANDLE, "pxtool: " + pxtool::ToUtf8(error.message) + "\n");
    return error.exit_code;
  }
}
