#include "core/app/model.h"

namespace pellix::app {

settings::SettingsState SettingsFromModel(const Model& model) {
  settings::SettingsState state;
  state.left = model.placement.left;
  state.top = model.placement.top;
  state.height = model.placement.height;
  state.width = model.placement.width;
  state.fontSize = model.view.fontSize;
  state.fontColor = model.view.fontColor;
  state.sendTab = model.sendTabFlag;
  state.lock = model.lockFlag;
  state.memo = model.view.memo;
  state.trans = model.view.transparent;
  state.option = model.view.pasteOption;
  for (std::size_t i = 0; i < model.lists.Count(); ++i) {
    state.lists.push_back(model.lists.Slot(i).name);
  }
  const auto current = model.lists.Current();
  state.view = current ? static_cast<int>(*current) : -1;
  state.hotkeyMods = model.hotkey.mods;
  state.hotkeyLetter = model.hotkey.letter;
  return state;
}

}  // namespace pellix::app
