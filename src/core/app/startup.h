#pragma once
// The start-up's part that is about data: which lists are added, which one is shown, what the
// capture's repeat check starts from, the options and the hotkey.

#include <optional>

#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
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

// The start from the program's folder: the leftovers of a save a crash cut short are cleaned up
// (the file it was to replace is whole; `tag` tells this installation's own), pellix.ini is read
// when there is one, and the model loaded as LoadModel does. True when pellix.ini existed; a
// first start has none.
bool LoadFromFolder(Model& model, const io::FileSystem& files, const io::AppFolder& folder,
                    const text::TextServices& services, std::u16string_view tag);

}  // namespace pellix::app
