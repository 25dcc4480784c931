#pragma once
// What the user reads of the commands, as data: every command's caption and shortcut, the
// layouts of the menus, the edit box's keys and the filter list dialog's buttons. A caption is
// written here once, whichever menu shows it; the controllers only give the commands their
// handlers and their enabled and checked rules (CommandTable::Bind).

#include <windows.h>

#include <span>

#include "win32/ui/control_ids.h"

namespace pellix::win32 {

struct Shortcut {
  WORD key = 0;  // a virtual-key code; 0: none
  bool control = false;
  bool alt = false;
  bool shift = false;
};

struct CommandText {
  UINT id = 0;
  const wchar_t* caption = nullptr;
  Shortcut shortcut;
};

// Every command of the main window, in no particular order.
extern const std::span<const CommandText> kCommandTexts;
// The caption and shortcut of `id`; nullptr for an id that is no command.
const CommandText* FindCommandText(UINT id);

// One line of a menu: a command, a separator (no command, no submenu) or a submenu.
struct MenuEntry {
  UINT command = 0;
  const wchar_t* submenu = nullptr;  // the submenu's caption
  UINT tag = 0;                      // tells the submenu apart when it opens
  std::span<const MenuEntry> entries;
};

constexpr MenuEntry Item(UINT command) {
  return MenuEntry{command, nullptr, 0, {}};
}
constexpr MenuEntry Separator() {
  return MenuEntry{};
}
constexpr MenuEntry Submenu(const wchar_t* caption, UINT tag, std::span<const MenuEntry> entries) {
  return MenuEntry{0, caption, tag, entries};
}

// The ordinary list's context menu.
extern const std::span<const MenuEntry> kListMenu;
// The Unicode list's context menu.
extern const std::span<const MenuEntry> kUnicodeListMenu;
// The tray menu, which the tool button opens too.
extern const std::span<const MenuEntry> kTrayMenu;
// Its submenus: the paste option and the hotkey items, one command each.
extern const std::span<const MenuEntry> kPasteOptionsMenu;
extern const std::span<const MenuEntry> kHotkeyMenu;

// The edit box's shortcuts, for its accelerator table.
extern const std::span<const ACCEL> kEditBoxKeys;

struct DialogButton {
  int id = 0;
  const wchar_t* caption = nullptr;
};

// The filter list dialog's buttons, in the order the Tab key visits them.
extern const std::span<const DialogButton> kFilterListButtons;
// The caption of the filter list dialog's button `id`; empty for an id that is none of them.
const wchar_t* FilterListButtonCaption(int id);

}  // namespace pellix::win32
