#include "core/list_admin/list_name_rules.h"

#include "core/filters/filter_file.h"
#include "core/lists/list_file.h"
#include "core/lists/list_names.h"
#include "core/text/codec.h"

namespace pellix::list_admin {

bool NameExists(const lists::ListStore& store, const text::TextServices& services,
                std::string_view name, std::optional<std::size_t> except) {
  const std::u16string key = lists::ListNameKey(services, name);
  for (std::size_t index = 0; index < store.Count(); ++index) {
    if (index != except && lists::ListNameKey(services, store.Slot(index).name) == key) {
      return true;
    }
  }
  return false;
}

NameCheck CheckListName(const lists::ListStore& store, const io::FileSystem& files,
                        const io::AppFolder& folder, const text::TextServices& services,
                        std::string_view name, std::optional<std::size_t> renamed) {
  if (name.empty()) {
    return NameCheck::kEmpty;
  }
  // Before any path is made of it: such a name could reach files outside the folder.
  if (!lists::IsPlainFileName(services, name)) {
    return NameCheck::kNotPlainFileName;
  }
  if (NameExists(store, services, name, renamed)) {
    return NameCheck::kLoaded;
  }
  const std::optional<std::string_view> oldName =
      renamed ? std::optional<std::string_view>(store.Slot(*renamed).name) : std::nullopt;
  const bool ownFiles = oldName && lists::SameListName(services, *oldName, name);
  if (!ownFiles && (files.Exists(filters::FilterFilePath(folder, name)) ||
                    files.Exists(lists::ListFilePath(folder, name)))) {
    return NameCheck::kFilesOfUnloadedList;
  }
  if (oldName && lists::IsUnicodeListName(*oldName) != lists::IsUnicodeListName(name)) {
    return NameCheck::kUnicodeName;
  }
  return NameCheck::kAccepted;
}

std::u16string NotPlainFileNameMessage(const text::TextServices& services, std::string_view name) {
  return u"「" + text::Cp932ToUtf16(services, name) +
         u"」はファイル名に使えないため、フィルター名にできません";
}

}  // namespace pellix::list_admin
