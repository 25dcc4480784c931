#pragma once
// The filter editor's OK: checks the fields, then stores the filter in its list (a new list for
// a new filter) and writes its filter file, giving the list's files the new name first when an
// existing list's name changed.

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/list_admin/editor_fields.h"
#include "core/list_admin/refusal.h"
#include "core/lists/list_store.h"
#include "core/text/text_services.h"

namespace pellix::list_admin {

inline constexpr std::u16string_view kNoTypeMessage = u"タイプを指定してください";
inline constexpr std::u16string_view kEditorTakenMessage = u"フィルター名の重複！";

struct EditorOutcome {
  std::optional<Refusal> refusal;  // the editor stays open with its fields
  std::size_t index = 0;           // the list stored: the row to show the name in and select
  bool added = false;              // a new list, appended at the end

  friend bool operator==(const EditorOutcome&, const EditorOutcome&) = default;
};

// `editIndex` is the list edited, or the number of lists for a new filter. The checks, in
// order: no name, no type, a name that is no plain file name, a name another list has (letter
// case folded) or whose files lie in the folder without a list, and a change between the
// Unicode list's name and another. A new filter's list starts empty and nothing is read for
// it. An existing list whose name changed has its filter file and list file renamed before the
// filter file is written, so no file keeps the old name; a file that cannot be renamed is left,
// but never renamed over another. A filter file that cannot be written throws, after the
// renamed files were given their old names back, and the store is as it was.
EditorOutcome CommitEditor(lists::ListStore& store, const io::FileSystem& files,
                           const io::AppFolder& folder, const text::TextServices& services,
                           std::size_t editIndex, const EditorFields& fields);

}  // namespace pellix::list_admin
