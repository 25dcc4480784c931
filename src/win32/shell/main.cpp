// Program entry.

#include <windows.h>

#include "win32/shell/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return pellix::win32::Application().Run();
}
