#pragma once
// Everything the program knows while it runs: the lists, the hand-over flags between capture and
// paste, the hotkey and the options the user set. The windows are drawn from it and never read
// back to learn the state, and the settings file is written from it, so a window that is being
// destroyed can never write half a state.

#include <cstdint>
#include <optional>
#include <string>

#include "core/app/hotkey.h"
#include "core/lists/list_store.h"
#include "core/settings/colors.h"
#include "core/settings/settings_file.h"

namespace pellix::app {

// The main window's outer bounds, in screen pixels.
struct Placement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ViewOptions {
  std::optional<int> pasteOption = 0;  // position in the paste option menu; nullopt: none
  bool transparent = false;
  bool memo = false;  // the memo window is shown with the main window
  bool wide = false;
  int fontSize = 9;  // the lists' font, in points
  std::uint32_t fontColor = settings::kWindowTextColor;
};

struct Model {
  lists::ListStore lists;
  std::string lastText;   // code page 932: the text last handed to the filters
  bool ownWrite = false;  // we wrote the clipboard ourselves: its notice is not captured
  bool pastedSinceHotkey = false;
  bool sendTabFlag = false;
  bool lockFlag = false;
  Hotkey hotkey;
  ViewOptions view;
  Placement placement;
};

// What the settings file says about this model, in the writer's terms.
settings::SettingsState SettingsFromModel(const Model& model);

}  // namespace pellix::app
