#include "win32/ui/command_table.h"

#include <algorithm>

namespace pellix::win32 {
namespace {

std::wstring ShortcutText(const Shortcut& shortcut) {
  if (shortcut.key == 0) {
    return {};
  }
  std::wstring text = shortcut.control ? L"Ctrl+" : L"";
  if (shortcut.alt) {
    text += L"Alt+";
  }
  if (shortcut.key == VK_DELETE) {
    text += L"Del";
  } else {
    text += static_cast<wchar_t>(shortcut.key);
  }
  return text;
}

bool IsEnabled(const Command& command) {
  return !command.enabled || command.enabled();
}

}  // namespace

void CommandTable::Add(Command command) {
  commands_.push_back(std::move(command));
}

const Command* CommandTable::Find(UINT id) const {
  for (const Command& command : commands_) {
    if (command.id == id) {
      return &command;
    }
  }
  return nullptr;
}

bool CommandTable::Execute(UINT id) const {
  const Command* command = Find(id);
  if (command == nullptr) {
    return false;
  }
  if (IsEnabled(*command) && command->run) {
    command->run();
  }
  return true;
}

void CommandTable::AppendEntries(HMENU menu, const std::vector<MenuEntry>& entries) const {
  for (const MenuEntry& entry : entries) {
    if (entry.submenu != nullptr) {
      // Ours until the menu has taken it: a failure on the way frees it.
      UniqueMenu submenu(CreatePopupMenu());
      MENUINFO info{};
      info.cbSize = sizeof info;
      info.fMask = MIM_MENUDATA;
      info.dwMenuData = entry.tag;
      SetMenuInfo(submenu.Get(), &info);
      AppendEntries(submenu.Get(), entry.entries);
      if (AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Get()), entry.submenu)) {
        submenu.Release();
      }
    } else if (const Command* command = Find(entry.command)) {
      std::wstring caption = command->caption;
      if (const std::wstring shortcut = ShortcutText(command->shortcut); !shortcut.empty()) {
        caption += L"\t" + shortcut;
      }
      const UINT state = (IsEnabled(*command) ? MF_ENABLED : MF_GRAYED) |
                         (command->checked && command->checked() ? MF_CHECKED : MF_UNCHECKED);
      AppendMenuW(menu, MF_STRING | state, command->id, caption.c_str());
    } else {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
  }
}

UniqueMenu CommandTable::BuildMenu(const std::vector<MenuEntry>& entries) const {
  UniqueMenu menu(CreatePopupMenu());
  AppendEntries(menu.Get(), entries);
  return menu;
}

UINT CommandTable::TagOf(HMENU menu) {
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_MENUDATA;
  return GetMenuInfo(menu, &info) ? static_cast<UINT>(info.dwMenuData) : 0;
}

UniqueAccelerators CommandTable::BuildAccelerators() const {
  std::vector<ACCEL> keys;
  for (const Command& command : commands_) {
    if (command.shortcut.key == 0) {
      continue;
    }
    const BYTE flags =
        FVIRTKEY | (command.shortcut.control ? FCONTROL : 0) | (command.shortcut.alt ? FALT : 0);
    const bool taken = std::any_of(keys.begin(), keys.end(), [&](const ACCEL& key) {
      return key.fVirt == flags && key.key == command.shortcut.key;
    });
    if (!taken) {
      keys.push_back(ACCEL{flags, command.shortcut.key, static_cast<WORD>(command.id)});
    }
  }
  return UniqueAccelerators(
      keys.empty() ? nullptr : CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
}

}  // namespace pellix::win32
