#include "win32/shell/folder_watch.h"

#include <array>
#include <string_view>

namespace pellix::win32 {
namespace {

bool EndsWith(std::wstring_view name, std::wstring_view end) {
  return name.size() >= end.size() &&
         CompareStringOrdinal(name.data() + name.size() - end.size(), static_cast<int>(end.size()),
                              end.data(), static_cast<int>(end.size()), TRUE) == CSTR_EQUAL;
}

// A write's temporary file, a lock, the old copy of a replaced file: they come and go with every
// save, this instance's own too, and a look at them would find nothing.
bool InPassing(std::wstring_view name) {
  for (const std::wstring_view end :
       {L".saving", L".lock", L".replaced", L".stale", L".renaming"}) {
    if (EndsWith(name, end)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool FolderWatch::Start(const std::wstring& dir, HWND window, UINT message) {
  window_ = window;
  message_ = message;
  dir_ = UniqueHandle(CreateFileW(
      dir.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
  stop_ = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ready_ = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!dir_.Valid() || !stop_.Valid() || !ready_.Valid()) {
    return false;
  }
  thread_.emplace([this] { Run(); });
  return true;
}

void FolderWatch::Stop() {
  if (thread_) {
    SetEvent(stop_.Get());
    thread_->join();
    thread_.reset();
  }
}

void FolderWatch::Tell() {
  if (!posted_.exchange(true)) {
    PostMessageW(window_, message_, 0, 0);
  }
}

void FolderWatch::Run() {
  alignas(DWORD) std::array<BYTE, 16384> buffer{};
  constexpr DWORD kWhat =
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
  for (;;) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = ready_.Get();
    ResetEvent(ready_.Get());
    if (!ReadDirectoryChangesW(dir_.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), FALSE,
                               kWhat, nullptr, &overlapped, nullptr)) {
      return;  // the folder gives no notices: the poll is all there is
    }
    const HANDLE waits[] = {stop_.Get(), ready_.Get()};
    const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    DWORD bytes = 0;
    if (woken != WAIT_OBJECT_0 + 1) {
      CancelIo(dir_.Get());
      GetOverlappedResult(dir_.Get(), &overlapped, &bytes, TRUE);
      return;
    }
    if (!GetOverlappedResult(dir_.Get(), &overlapped, &bytes, FALSE)) {
      return;
    }
    if (bytes == 0) {
      Tell();  // more changes than the buffer held: something changed
      continue;
    }
    for (DWORD offset = 0;;) {
      const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer.data() + offset);
      const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      if (!InPassing(name)) {
        Tell();
        break;
      }
      if (entry->NextEntryOffset == 0) {
        break;
      }
      offset += entry->NextEntryOffset;
    }
  }
}

}  // namespace pellix::win32
