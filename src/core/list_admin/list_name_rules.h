#pragma once
// Which names a list may take. A name is also the base name of the list's two files in the
// program's folder, so it must be a plain file name, and two names that a file system ignoring
// letter case takes for one (Windows' do) are one name: otherwise two lists would write each
// other's files.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/lists/list_store.h"
#include "core/text/text_services.h"

namespace pellix::list_admin {

// True when a list other than `except` has the name, letter case folded as Windows folds file
// names (see lists::ListNameKey).
bool NameExists(const lists::ListStore& store, const text::TextServices& services,
                std::string_view name, std::optional<std::size_t> except = std::nullopt);

enum class NameCheck {
  kAccepted,
  kEmpty,
  kNotPlainFileName,
  kLoaded,  // a list in the store has the name
  // "<name>.flt" or "<name>.dat" is there but no list of that name is loaded: a deleted list,
  // whose files stay so that loading brings it back. A new list must not take them over.
  kFilesOfUnloadedList,
  // The Unicode list's items live apart from the slots and its file has a format of its own,
  // so neither it nor an ordinary list can become the other by a change of name.
  kUnicodeName,
};

// Checks a name for a new list (`renamed` nullopt) or for slot `*renamed`'s new name, in this
// order: empty, not a plain file name, loaded, the files of a list that is not loaded, the
// Unicode list's name. A renamed list's own files do not count against it, so a change of
// letter case alone is accepted.
NameCheck CheckListName(const lists::ListStore& store, const io::FileSystem& files,
                        const io::AppFolder& folder, const text::TextServices& services,
                        std::string_view name, std::optional<std::size_t> renamed);

// The message for a name that no file may have, naming it.
std::u16string NotPlainFileNameMessage(const text::TextServices& services, std::string_view name);

inline constexpr std::u16string_view kNoNameMessage = u"フィルター名がありません";
inline constexpr std::u16string_view kUnicodeNameMessage =
    u"unicode リストの名前は変えられません。ほかのリストを unicode "
    u"という名前にすることもできません";

}  // namespace pellix::list_admin
