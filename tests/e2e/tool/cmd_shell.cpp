// Shortcut files through the shell's link object: what one starts, and one made to start a given
// program (a shortcut that is not pellix's own, for pellix to leave alone).
#include <windows.h>
// Needs the types of windows.h.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "base.h"
#include "commands.h"
#include "win32/platform/com.h"

namespace pxtool {
namespace {

using pellix::win32::ComApartment;
using pellix::win32::ComPtr;

ComPtr<IShellLinkW> NewShellLink() {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Put())))) {
    Fail(L"the shell's link object cannot be made");
  }
  return link;
}

}  // namespace

// shortcut PATH: the target of the shortcut file PATH.
// shortcut PATH --make TARGET: writes a shortcut to TARGET there first.
void CmdShortcut(const Args& args, JsonWriter& json) {
  const std::wstring& path = args.At(0, L"PATH");
  const ComApartment com;
  const ComPtr<IShellLinkW> link = NewShellLink();
  const ComPtr<IPersistFile> file = link.As<IPersistFile>();
  if (!file) {
    Fail(L"the link object has no IPersistFile");
  }
  if (const auto target = args.Option(L"make")) {
    if (FAILED(link->SetPath(target->c_str())) || FAILED(file->Save(path.c_str(), TRUE))) {
      Fail(L"cannot write the shortcut " + path);
    }
  }
  if (FAILED(file->Load(path.c_str(), STGM_READ))) {
    Fail(L"cannot read the shortcut " + path);
  }
  wchar_t target[MAX_PATH] = {};
  if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) {
    Fail(L"the shortcut " + path + L" has no target path");
  }
  json.BeginObject().Key("target").String(target).EndObject();
}

}  // namespace pxtool
