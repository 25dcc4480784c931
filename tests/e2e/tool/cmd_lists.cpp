// Commands that read and drive list boxes, combo boxes and list views of other processes.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

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

}  // namespace

void CmdListBox(const Args& args, JsonWriter& json) {
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

void CmdListView(const Args& args, JsonWriter& json) {
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
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  std::vector<int> indices;
  for (size_t i = 1; i < args.positional().size(); ++i) {
    indices.push_back(static_cast<int>(ParseInteger(args.positional()[i], L"INDEX")));
  }
  // Selecting every item (-1) makes the list tell its owner of each one, which takes a while.
  const auto timeout = static_cast<UINT>(args.Number(L"timeout", kDefaultSendTimeoutMs));
  Handle process(OpenWindowProcess(hwnd));
  RemoteBuffer buffer(process.get(), sizeof(LVITEMW));
  auto set_state = [&](int item, UINT mask, UINT state) {
    LVITEMW lvitem = {};
    lvitem.stateMask = mask;
    lvitem.state = state;
    buffer.Write(0, &lvitem, sizeof lvitem);
    if (!Send(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
              reinterpret_cast<LPARAM>(buffer.address()), timeout)) {
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

}  // namespace pxtool
