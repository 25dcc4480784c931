#pragma once
// The running program: one instance per session, the model, the six windows in their order and
// the message loop.

#include <string>

namespace pellix::win32 {

class Application {
 public:
  // Runs until the main window closes; the process's exit code. A second instance returns at
  // once, silently.
  int Run();
};

}  // namespace pellix::win32
