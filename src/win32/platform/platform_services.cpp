#include "core/platform_services.h"

#include "win32/platform/win32_file_system.h"
#include "win32/platform/win32_text_services.h"

namespace pellix {

const text::TextServices& PlatformTextServices() {
  static const win32::Win32TextServices services;
  return services;
}

const io::FileSystem& PlatformFileSystem() {
  static const win32::Win32FileSystem files;
  return files;
}

}  // namespace pellix
