#include "win32/ui/command_table.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pellix::win32 {
namespace {

std::wstring ShortcutText(const Shortcut& shortcut) {
  if (shortcut.key == 0) {
    return {};
  }
  std::wstring text = shortcut.control ? L"Ctrl+" : L"";
  if (shortcut.shift) {
    text += L"Shift+";
  }
  if (shortcut.alt) {
    text += L"Alt+";
  }
  if (shortcut.key == VK_DELETE) {
    text += L"Del";
  } else if (shortcut.key == VK_RETURN) {
    text += L"Enter";
  } else {
    text += static_cast<wchar_t>(shortcut.key);
  }
  return text;
}

bool IsEnabled(const Command& command) {
  return !command.enabled || command.enabled();
}

}  // namespace

void CommandTable::Bind(UINT id, std::function<void()> run, std::function<bool()> enabled,
                        std::function<bool()> checked) {
  const CommandText* text = FindCommandText(id);
  if (text == nullptr) {
    throw std::logic_error("a command without a caption: " + std::to_string(id));
  }
  if (Find(id) != nullptr) {
    throw std::logic_error("a command bound twice: " + std::to_string(id));
  }
  commands_.push_back(Command{text, std::move(run), std::move(enabled), std::move(checked)});
}

const Command* CommandTable::Find(UINT id) const {
  for (const Command& command : commands_) {
    if (command.text->id == id) {
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

void CommandTable::AppendEntries(HMENU menu, std::span<const MenuEntry> entries) const {
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
    } else if (const CommandText* text = FindCommandText(entry.command)) {
      std::wstring caption = text->caption;
      if (const std::wstring shortcut = ShortcutText(text->shortcut); !shortcut.empty()) {
        caption += L"\t" + shortcut;
      }
      const Command* command = Find(entry.command);
      const bool enabled = command != nullptr && IsEnabled(*command);
      const bool checked = command != nullptr && command->checked && command->checked();
      const UINT state = (enabled ? MF_ENABLED : MF_GRAYED) | (checked ? MF_CHECKED : MF_UNCHECKED);
      AppendMenuW(menu, MF_STRING | state, text->id, caption.c_str());
    } else {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
  }
}

UniqueMenu CommandTable::BuildMenu(std::span<const MenuEntry> entries) const {
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
    const Shortcut& shortcut = command.text->shortcut;
    if (shortcut.key == 0) {
      continue;
    }
    const BYTE flags = FVIRTKEY | (shortcut.control ? FCONTROL : 0) | (shortcut.alt ? FALT : 0) |
                       (shortcut.shift ? FSHIFT : 0);
    const bool taken = std::any_of(keys.begin(), keys.end(), [&](const ACCEL& key) {
      return key.fVirt == flags && key.key == shortcut.key;
    });
    if (!taken) {
      keys.push_back(ACCEL{flags, shortcut.key, static_cast<WORD>(command.text->id)});
    }
  }
  return UniqueAccelerators(
      keys.empty() ? nullptr : CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
}

}  // namespace pellix::win32
