#include "core/io/file_system.h"

namespace pellix::io {

std::u16string TemporaryPathFor(const std::u16string& path) {
  return path + std::u16string(kTemporarySuffix);
}

}  // namespace pellix::io
