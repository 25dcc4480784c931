#pragma once
// The program's commands in one table: each with its handler and the rules for its enabled and
// checked state, bound to its id; its caption and shortcut come from command_texts.h. The menus
// and the accelerator table are built from it, so a disabled command stays disabled whichever
// way it is reached.

#include <windows.h>

#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "win32/platform/gdi.h"
#include "win32/ui/command_texts.h"

namespace pellix::win32 {

struct Command {
  const CommandText* text = nullptr;
  std::function<void()> run;
  std::function<bool()> enabled;  // empty: always enabled
  std::function<bool()> checked;  // empty: never checked
};

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
  // Gives the command `id` its handler and rules. Throws std::logic_error for an id that has no
  // caption in command_texts.h or was bound before: either is a slip in the program.
  void Bind(UINT id, std::function<void()> run, std::function<bool()> enabled = {},
            std::function<bool()> checked = {});

  // Runs the command when it is enabled. False for an id that is no command of the table.
  bool Execute(UINT id) const;

  // A popup menu of these entries, greyed and checked as the commands' rules say now; a command
  // that nothing bound is shown greyed.
  UniqueMenu BuildMenu(std::span<const MenuEntry> entries) const;
  // The tag given to the submenu `menu` was built with, or 0.
  static UINT TagOf(HMENU menu);

  // One accelerator for each shortcut; where two commands share one (Del in either list), the
  // first command's handler decides where it goes.
  UniqueAccelerators BuildAccelerators() const;

 private:
  const Command* Find(UINT id) const;
  void AppendEntries(HMENU menu, std::span<const MenuEntry> entries) const;

  std::vector<Command> commands_;
};

}  // namespace pellix::win32
