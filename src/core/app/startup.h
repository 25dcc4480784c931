#pragma once
// The start-up's part that is about data: which lists are added, which one is shown, what the
// capture's repeat check starts from, the options and the hotkey.

#include <optional>
#include <string_view>
#include <vector>

#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/lists/list_store.h"
#include "core/settings/settings_file.h"
#include "core/text/text_services.h"

namespace pellix::app {

// Fills a fresh model from the settings file's plan, or, without a settings file (nullopt) or
// when it names no list, with the three lists of a first start. Every list name is checked
// before any file is read: a name that is no plain file name would reach files outside the
// program's folder, so it throws before the store changes. A list whose files cannot be read
// throws too. Afterwards the list named by the plan's view is current (none when the view lies
// outside the lists), and when that is an ordinary list with items, its first item is the
// capture's last text.
void LoadModel(Model& model, const std::optional<settings::SettingsPlan>& plan,
               const io::FileSystem& files, const io::AppFolder& folder,
               const text::TextServices& services);

// What the start reads from the program's folder before any of it goes into the model: the
// settings file's plan (none without pellix.ini, on a first start) and every list it names, read
// whole. Reading touches no model, so it may go on on other threads while the program makes its
// windows.
struct FolderContents {
  std::optional<settings::SettingsPlan> plan;
  std::vector<lists::LoadedList> lists;
};

// Cleans up the leftovers of a save a crash cut short (`tag` tells this installation's own),
// reads pellix.ini when there is one and the lists it names. Throws as LoadFromFolder does,
// before anything is in a model.
FolderContents ReadFolder(const io::FileSystem& files, const io::AppFolder& folder,
                          const text::TextServices& services, std::u16string_view tag);

// Fills a fresh model with what ReadFolder read, as LoadModel does (a first start's three lists
// are read here). True when pellix.ini existed.
bool ApplyFolder(Model& model, FolderContents contents, const io::FileSystem& files,
                 const io::AppFolder& folder, const text::TextServices& services);

// The start from the program's folder, ReadFolder and ApplyFolder in one. True when pellix.ini
// existed; a first start has none.
bool LoadFromFolder(Model& model, const io::FileSystem& files, const io::AppFolder& folder,
                    const text::TextServices& services, std::u16string_view tag);

}  // namespace pellix::app
