#include "core/lists/list_store.h"

#include "core/filters/filter_file.h"
#include "core/io/errors.h"

namespace pellix::lists {

LoadedList ReadList(const io::FileSystem& files, const io::AppFolder& folder,
                    const text::TextServices& services, std::string_view name) {
  LoadedList list;
  const bool unicode = IsUnicodeListName(name);
  const std::u16string path = ListFilePath(folder, name);
  std::optional<std::string> content;
  if (files.Exists(path)) {
    content = files.ReadAll(path);
  }
  list.slot = ListSlot{std::string(name), {}, filters::ReadFilterFile(files, folder, name)};
  if (!content) {
    return list;
  }
  if (unicode ? UnicodeListFileReadInPart(*content) : ListFileReadInPart(*content)) {
    list.partlyRead = PartlyRead{path, KeepOriginal(files, path, *content)};
  }
  if (unicode) {
    list.unicodeItems = ParseUnicodeListFile(services, *content);
  } else {
    list.slot.items = ParseListFile(*content);
  }
  return list;
}

void ListStore::AddListSlot(const io::FileSystem& files, const io::AppFolder& folder,
                            const text::TextServices& services, std::string_view name) {
  // Everything that may throw comes first, so a failure leaves the store as it was.
  AddLoadedList(ReadList(files, folder, services, name));
}

void ListStore::AddLoadedList(LoadedList list) {
  const bool unicode = IsUnicodeListName(list.slot.name);
  if (list.partlyRead) {
    partlyRead_.push_back(std::move(*list.partlyRead));
  }
  slots_.push_back(std::move(list.slot));
  StampItems(ListId::Ansi(slots_.size() - 1));
  if (unicode) {
    unicodeCapture_ = true;
    if (list.unicodeItems) {
      unicodeItems_ = SharedWideItems(std::move(*list.unicodeItems));
      opened_.Lost(ListId::Unicode());
      StampItems(ListId::Unicode());
      keys_.Unicode().Drop();
    }
  }
}

void ListStore::AddSlot(ListSlot slot) {
  unicodeCapture_ = unicodeCapture_ || IsUnicodeListName(slot.name);
  slots_.push_back(std::move(slot));
  StampItems(ListId::Ansi(slots_.size() - 1));
}

SwitchPlan ListStore::SwitchList(std::size_t index) {
  const ListSlot& slot = slots_.at(index);
  current_ = index;
  if (IsUnicodeListName(slot.name)) {
    return SwitchPlan{true, !unicodeItems_.empty()};
  }
  ansiShown_ = index;
  return SwitchPlan{false, !slot.items.empty()};
}

void ListStore::SaveListFiles(const io::FileSystem& files, const io::AppFolder& folder) const {
  std::u16string failures;
  const auto attempt = [&failures](auto&& write) {
    try {
      write();
    } catch (const io::AppError& error) {
      failures += failures.empty() ? u"" : u"\r\n";
      failures += error.Message();
    }
  };
  for (const ListSlot& slot : slots_) {
    if (!IsUnicodeListName(slot.name)) {
      attempt([&] { WriteListFile(files, folder, slot.name, slot.items); });
    }
  }
  if (UnicodeFileToWrite()) {
    attempt([&] {
      files.WriteAll(ListFilePath(folder, kUnicodeListName),
                     FormatUnicodeListFile(*unicodeItems_.Take()));
    });
  }
  if (!failures.empty()) {
    throw io::AppError(failures);
  }
}

void ListStore::Clear() {
  slots_.clear();
  ++revision_;
  current_.reset();
  ansiShown_.reset();
  opened_.Close();
  keys_.Clear();
}

}  // namespace pellix::lists
