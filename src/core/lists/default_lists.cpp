#include "core/lists/default_lists.h"

#include "core/filters/filter_file.h"

namespace pellix::lists {

void AddDefaultLists(ListStore& store, const io::FileSystem& files, const io::AppFolder& folder,
                     const text::TextServices& services) {
  for (const std::string_view name : kDefaultListNames) {
    if (!files.Exists(filters::FilterFilePath(folder, name))) {
      filters::FilterDef def;
      def.filname = std::string(name);
      def.type = name == kHistoryListName ? "1" : "0";
      filters::WriteFilterFile(files, folder, def);
    }
    store.AddListSlot(files, folder, services, name);
  }
}

}  // namespace pellix::lists
