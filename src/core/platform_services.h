#pragma once
// The platform library linked into the program (Win32) or the tests (either) defines these. The
// objects are immutable and live for the whole process.

#include "core/io/file_system.h"
#include "core/text/text_services.h"

namespace pellix {

const text::TextServices& PlatformTextServices();
const io::FileSystem& PlatformFileSystem();

}  // namespace pellix
