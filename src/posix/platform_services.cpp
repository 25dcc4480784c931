#include "core/platform_services.h"

#include "posix/posix_file_system.h"
#include "posix/posix_text_services.h"

namespace pellix {

const text::TextServices& PlatformTextServices() {
  static const posix::PosixTextServices services;
  return services;
}

const io::FileSystem& PlatformFileSystem() {
  static const posix::PosixFileSystem files;
  return files;
}

}  // namespace pellix
