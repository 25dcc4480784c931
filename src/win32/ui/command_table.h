#pragma once
// The program's commands in one table: each with its id, caption, shortcut, handler and the rules
// for its enabled and checked state. The menus and the accelerator table are built from it, so a
// caption or a shortcut is written down once, and a disabled command stays disabled whichever
// way it is reached.

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "win32/platform/gdi.h"

namespace pellix::win32 {

struct Shortcut {
  WORD key = 0;  // a virtual-key code; 0: none
  bool control = false;
  bool alt = false;
};

struct Command {
  UINT id = 0;
  std::wstring caption;
  Shortcut shortcut;
  std::function<void()> run;
  std::function<bool()> enabled;  // empty: always enabled
  std::function<bool()> checked;  // empty: never checked
};

// One line of a menu: a command, a separator (no command, no submenu) or a submenu.
struct MenuEntry {
  UINT command = 0;
  const wchar_t* submenu = nullptr;  // the submenu's caption
  UINT tag = 0;                      // tells the submenu apart when it opens
  std::vector<MenuEntry> entries;
};

inline MenuEntry Item(UINT command) {
  return MenuEntry{command, nullptr, 0, {}};
}
inline MenuEntry Separator() {
  return MenuEntry{0, nullptr, 0, {}};
}
inline MenuEntry Submenu(const wchar_t* caption, UINT tag, std::vector<MenuEntry> entries) {
  return MenuEntry{0, caption, tag, std::move(entries)};
}

class UniqueAccelerators {
 public:
  UniqueAccelerators() = default;
  explicit UniqueAccelerators(HACCEL table) : table_(table) {}
  UniqueAccelerators(const UniqueAccelerators&) = delete;
  UniqueAccelerators& operator=(const UniqueAccelerators&) = delete;
  UniqueAccelerators(UniqueAccelerators&& other) noexcept
      : table_(std::exchange(other.table_, nullptr)) {}
  UniqueAccelerators& operator=(UniqueAccelerators&& other) noexcept {
    if (this != &other) {
      Reset();
      table_ = std::exchange(other.table_, nullptr);
    }
    return *this;
  }
  ~UniqueAccelerators() { Reset(); }
  HACCEL Get() const { return table_; }

 private:
  void Reset() {
    if (table_ != nullptr) {
      DestroyAcceleratorTable(table_);
      table_ = nullptr;
    }
  }

  HACCEL table_ = nullptr;
};

class CommandTable {
 public:
  void Add(Command command);

  // Runs the command when it is enabled. False for an id that is no command of the table.
  bool Execute(UINT id) const;

  // A popup menu of these entries, greyed and checked as the commands' rules say now.
  UniqueMenu BuildMenu(const std::vector<MenuEntry>& entries) const;
  // The tag given to the submenu `menu` was built with, or 0.
  static UINT TagOf(HMENU menu);

  // One accelerator for each shortcut; where two commands share one (Del in either list), the
  // first command's handler decides where it goes.
  UniqueAccelerators BuildAccelerators() const;

 private:
  const Command* Find(UINT id) const;
  void AppendEntries(HMENU menu, const std::vector<MenuEntry>& entries) const;

  std::vector<Command> commands_;
};

}  // namespace pellix::win32
