// Program entry.

#include <windows.h>

#include "win32/app/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return pellix::win32::Application().Run();
}
