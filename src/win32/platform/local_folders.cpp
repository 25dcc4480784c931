#include "win32/platform/local_folders.h"

#include <windows.h>
// Needs the types of windows.h.
#include <shlobj.h>

#include <cwchar>

#include "win32/platform/wide_string.h"

namespace pellix::win32 {

std::u16string LocalProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return {};
  }
  return FromWide(path) + u"\\pellix\\";
}

std::u16string LocalTimestamp() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  wchar_t name[32] = {};
  swprintf(name, 32, L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
           now.wMinute, now.wSecond);
  return FromWide(name);
}

}  // namespace pellix::win32
