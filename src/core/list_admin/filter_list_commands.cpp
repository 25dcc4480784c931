#include "core/list_admin/filter_list_commands.h"

#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/list_admin/list_name_rules.h"
#include "core/lists/list_file.h"
#include "core/lists/list_names.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"

namespace pellix::list_admin {

LoadOutcome LoadList(lists::ListStore& store, const io::FileSystem& files,
                     const io::AppFolder& folder, const text::TextServices& services,
                     std::u16string_view chosenPath) {
  // A character code page 932 cannot hold becomes '?', which no plain file name has.
  const std::string name = text::FileBaseName(text::Utf16ToCp932(services, chosenPath));
  if (NameExists(store, services, name)) {
    return LoadOutcome{Refusal{std::u16string(kAlreadyLoadedMessage), BoxKind::kWarning}, {}};
  }
  if (!lists::IsPlainFileName(services, name)) {
    return LoadOutcome{Refusal{NotPlainFileNameMessage(services, name), BoxKind::kWarning}, {}};
  }
  store.AddListSlot(files, folder, services, name);
  return LoadOutcome{std::nullopt, store.Count() - 1};
}

RenameOutcome RenameList(lists::ListStore& store, const io::FileSystem& files,
                         const io::AppFolder& folder, const text::TextServices& services,
                         std::size_t index, std::string_view newName) {
  const std::string oldName = store.Slot(index).name;
  if (newName == oldName) {
    return RenameOutcome{};
  }
  const auto refused = [](std::u16string message) {
    return RenameOutcome{Refusal{std::move(message), BoxKind::kError}, false};
  };
  switch (CheckListName(store, files, folder, services, newName, index)) {
    case NameCheck::kAccepted:
      break;
    case NameCheck::kEmpty:
      return refused(std::u16string(kNoNameMessage));
    case NameCheck::kNotPlainFileName:
      return refused(NotPlainFileNameMessage(services, newName));
    case NameCheck::kLoaded:
    case NameCheck::kFilesOfUnloadedList:
      return refused(std::u16string(kRenameTakenMessage));
    case NameCheck::kUnicodeName:
      return refused(std::u16string(kUnicodeNameMessage));
  }

  // What can fail comes first; the rewrite replaces the file whole, so a failed one leaves it.
  const std::u16string oldFilter = filters::FilterFilePath(folder, oldName);
  const std::u16string newFilter = filters::FilterFilePath(folder, newName);
  const std::string content = filters::WithFilname(files.ReadAll(oldFilter), newName);
  files.WriteAll(oldFilter, content);
  // The next start reads the filter file of the new name and cannot go on without it, so when
  // the old one cannot be renamed (held open by another program), it is written anew.
  if (!files.Rename(oldFilter, newFilter) && !files.Exists(newFilter)) {
    files.WriteAll(newFilter, content);
  }
  // The items are in memory and are written under the new name anyway.
  files.Rename(lists::ListFilePath(folder, oldName), lists::ListFilePath(folder, newName));
  store.RenameSlot(index, std::string(newName));
  return RenameOutcome{std::nullopt, true};
}

DeleteOutcome DeleteList(lists::ListStore& store, std::size_t index) {
  const lists::ListStore::RemovedSlot removed = store.RemoveSlot(index);
  return DeleteOutcome{removed.currentRemoved, store.Current(), removed.plan,
                       removed.ansiShownRemoved};
}

std::optional<std::size_t> MoveList(lists::ListStore& store, std::size_t index,
                                    Direction direction) {
  if (index >= store.Count()) {
    throw io::RangeError();
  }
  if (direction == Direction::kUp ? index == 0 : index + 1 == store.Count()) {
    return std::nullopt;
  }
  const std::size_t other = direction == Direction::kUp ? index - 1 : index + 1;
  store.SwapSlots(index, other);
  return other;
}

}  // namespace pellix::list_admin
