#include "win32/platform/shell_link.h"

#include <windows.h>
// Needs the types of windows.h.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "win32/platform/com.h"

namespace pellix::win32 {
namespace {

// Frees what the shell allocated for a known folder's path.
class TaskMemory {
 public:
  TaskMemory() = default;
  TaskMemory(const TaskMemory&) = delete;
  TaskMemory& operator=(const TaskMemory&) = delete;
  ~TaskMemory() { CoTaskMemFree(text_); }

  PWSTR* Put() { return &text_; }
  const wchar_t* Get() const { return text_; }

 private:
  PWSTR text_ = nullptr;
};

ComPtr<IShellLinkW> NewShellLink() {
  ComPtr<IShellLinkW> link;
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                   reinterpret_cast<void**>(link.Put()));
  return link;
}

}  // namespace

std::optional<std::wstring> StartupFolder(bool create) {
  const ComApartment com;
  TaskMemory path;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Startup,
                                  static_cast<DWORD>(create ? KF_FLAG_CREATE : KF_FLAG_DEFAULT),
                                  nullptr, path.Put()))) {
    return std::nullopt;
  }
  return std::wstring(path.Get());
}

std::optional<std::wstring> ShortcutTarget(const std::wstring& linkPath) {
  const ComApartment com;
  const ComPtr<IShellLinkW> link = NewShellLink();
  const ComPtr<IPersistFile> file = link.As<IPersistFile>();
  if (!file || FAILED(file->Load(linkPath.c_str(), STGM_READ))) {
    return std::nullopt;
  }
  // The shell keeps a link's target within MAX_PATH.
  std::wstring target(MAX_PATH, L'\0');
  if (link->GetPath(target.data(), MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) {
    return std::nullopt;
  }
  target.resize(target.find(L'\0'));
  return target;
}

bool WriteShortcut(const std::wstring& linkPath, const std::wstring& target,
                   const std::wstring& workingDir, const std::wstring& description) {
  const ComApartment com;
  const ComPtr<IShellLinkW> link = NewShellLink();
  const ComPtr<IPersistFile> file = link.As<IPersistFile>();
  return file && SUCCEEDED(link->SetPath(target.c_str())) &&
         SUCCEEDED(link->SetWorkingDirectory(workingDir.c_str())) &&
         SUCCEEDED(link->SetDescription(description.c_str())) &&
         SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

}  // namespace pellix::win32
