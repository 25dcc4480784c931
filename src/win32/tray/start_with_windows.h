#pragma once
// The tray menu's 「Windows の起動時に開始」: a shortcut to this executable in the user's Startup
// folder, made and removed by the item, whose check shows whether it is there. Nothing goes to
// the registry, so the program stays a folder that can be copied or deleted; a shortcut that
// starts another copy of the program is the user's and is left alone.

#include <windows.h>

#include <optional>
#include <string>

#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

class StartWithWindows {
 public:
  StartWithWindows();

  // The Startup folder holds our shortcut, and it starts this very executable.
  bool On() const;
  // On: the shortcut goes; off: it is made. A shortcut of that name to another program stays,
  // and the user is told why nothing changed.
  void Toggle(HWND owner, ModalLoops& loops) const;

 private:
  enum class Found { kNone, kThisProgram, kOther };
  struct Existing {
    Found found = Found::kNone;
    std::wstring target;  // of another program's shortcut; empty when it cannot be read
  };

  std::optional<std::wstring> LinkPath(bool createFolder) const;
  Existing Look(const std::wstring& linkPath) const;

  std::wstring exePath_;
};

}  // namespace pellix::win32
