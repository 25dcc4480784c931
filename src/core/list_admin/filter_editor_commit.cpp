#include "core/list_admin/filter_editor_commit.h"

#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/list_admin/list_name_rules.h"
#include "core/lists/list_file.h"

namespace pellix::list_admin {
namespace {

std::optional<Refusal> CheckFields(const lists::ListStore& store, const io::FileSystem& files,
                                   const io::AppFolder& folder, const text::TextServices& services,
                                   std::size_t editIndex, const EditorFields& fields) {
  const auto warn = [](std::u16string_view message) {
    return Refusal{std::u16string(message), BoxKind::kWarning};
  };
  if (fields.name.empty()) {
    return warn(kNoNameMessage);
  }
  if (!fields.type) {
    return warn(kNoTypeMessage);
  }
  const bool added = editIndex == store.Count();
  if (!added && fields.name == store.Slot(editIndex).name) {
    return std::nullopt;
  }
  switch (CheckListName(store, files, folder, services, fields.name,
                        added ? std::nullopt : std::optional<std::size_t>(editIndex))) {
    case NameCheck::kAccepted:
      return std::nullopt;
    case NameCheck::kEmpty:
      return warn(kNoNameMessage);
    case NameCheck::kNotPlainFileName:
      return warn(NotPlainFileNameMessage(services, fields.name));
    case NameCheck::kLoaded:
    case NameCheck::kFilesOfUnloadedList:
      return warn(kEditorTakenMessage);
    case NameCheck::kUnicodeName:
      return warn(kUnicodeNameMessage);
  }
  return std::nullopt;
}

// The list's two files under their new names; undone when the filter cannot be written.
class RenamedFiles {
 public:
  RenamedFiles(const io::FileSystem& files, const io::AppFolder& folder, std::string_view from,
               std::string_view to)
      : files_(files),
        filterFrom_(filters::FilterFilePath(folder, from)),
        filterTo_(filters::FilterFilePath(folder, to)),
        listFrom_(lists::ListFilePath(folder, from)),
        listTo_(lists::ListFilePath(folder, to)) {
    filterRenamed_ = files_.Rename(filterFrom_, filterTo_);
    listRenamed_ = files_.Rename(listFrom_, listTo_);
  }
  RenamedFiles(const RenamedFiles&) = delete;
  RenamedFiles& operator=(const RenamedFiles&) = delete;

  void Undo() const {
    if (filterRenamed_) {
      files_.Rename(filterTo_, filterFrom_);
    }
    if (listRenamed_) {
      files_.Rename(listTo_, listFrom_);
    }
  }

 private:
  const io::FileSystem& files_;
  std::u16string filterFrom_, filterTo_, listFrom_, listTo_;
  bool filterRenamed_ = false;
  bool listRenamed_ = false;
};

}  // namespace

EditorOutcome CommitEditor(lists::ListStore& store, const io::FileSystem& files,
                           const io::AppFolder& folder, const text::TextServices& services,
                           std::size_t editIndex, const EditorFields& fields) {
  if (editIndex > store.Count()) {
    throw io::RangeError();
  }
  if (auto refusal = CheckFields(store, files, folder, services, editIndex, fields)) {
    return EditorOutcome{std::move(refusal), editIndex, false};
  }
  // The filter always carries its list's name, so its file is the one the list reads.
  filters::FilterDef def = FilterDefFromFields(fields);

  if (editIndex == store.Count()) {
    filters::WriteFilterFile(files, folder, def);
    store.AddSlot(lists::ListSlot{fields.name, {}, std::move(def)});
    return EditorOutcome{std::nullopt, editIndex, true};
  }

  const std::string oldName = store.Slot(editIndex).name;
  if (fields.name == oldName) {
    filters::WriteFilterFile(files, folder, def);
    store.SetFilter(editIndex, std::move(def));
    return EditorOutcome{std::nullopt, editIndex, false};
  }
  const RenamedFiles renamed(files, folder, oldName, fields.name);
  try {
    filters::WriteFilterFile(files, folder, def);
  } catch (const io::AppError&) {
    renamed.Undo();
    throw;
  }
  store.RenameSlot(editIndex, fields.name);
  store.SetFilter(editIndex, std::move(def));
  return EditorOutcome{std::nullopt, editIndex, false};
}

}  // namespace pellix::list_admin
