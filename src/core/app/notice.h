#pragma once
// Something the program tells the user in a balloon of its tray icon: no question, the user's
// work goes on.

#include <string>

namespace pellix::app {

struct Notice {
  std::u16string title;
  std::u16string text;
};

}  // namespace pellix::app
