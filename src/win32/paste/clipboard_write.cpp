#include "win32/paste/clipboard_write.h"

#include <cstring>

#include "core/io/errors.h"
#include "win32/platform/clipboard_opening.h"

namespace pellix::win32 {
namespace {

// Owns a movable global block until the clipboard takes it.
class GlobalBlock {
 public:
  explicit GlobalBlock(std::size_t bytes) : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  ~GlobalBlock() {
    if (memory_ != nullptr) {
      GlobalFree(memory_);
    }
  }
  HGLOBAL Get() const { return memory_; }
  // The clipboard owns the block once SetClipboardData succeeded.
  void Release() { memory_ = nullptr; }

 private:
  HGLOBAL memory_;
};

}  // namespace

void WriteClipboardText(HWND owner, std::u16string_view text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  GlobalBlock block(bytes);
  if (block.Get() == nullptr) {
    throw io::ClipboardError();
  }
  if (void* data = GlobalLock(block.Get()); data != nullptr) {
    std::memcpy(data, text.data(), text.size() * sizeof(char16_t));
    static_cast<char16_t*>(data)[text.size()] = u'\0';
    GlobalUnlock(block.Get());
  } else {
    throw io::ClipboardError();
  }
  const ClipboardOpening opening(owner);
  if (!EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, block.Get()) == nullptr) {
    throw io::ClipboardError();
  }
  block.Release();
}

}  // namespace pellix::win32
