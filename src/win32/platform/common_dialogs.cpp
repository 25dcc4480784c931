#include "win32/platform/common_dialogs.h"

namespace pellix::win32 {
namespace {

class Library {
 public:
  explicit Library(const wchar_t* name) : module_(LoadLibraryW(name)) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() {
    if (module_ != nullptr) {
      FreeLibrary(module_);
    }
  }

  template <typename Function>
  Function* Find(const char* name) const {
    return module_ == nullptr ? nullptr
                              : reinterpret_cast<Function*>(
                                    reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

// Loaded once, when first needed, and kept until the program ends.
const Library& CommonDialogLibrary() {
  static const Library library(L"comdlg32.dll");
  return library;
}

}  // namespace

BOOL ChooseFontDialog(CHOOSEFONTW* choose) {
  auto* const chooseFont = CommonDialogLibrary().Find<decltype(ChooseFontW)>("ChooseFontW");
  return chooseFont != nullptr && chooseFont(choose);
}

BOOL OpenFileDialog(OPENFILENAMEW* open) {
  auto* const openFile = CommonDialogLibrary().Find<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
  return openFile != nullptr && openFile(open);
}

}  // namespace pellix::win32
