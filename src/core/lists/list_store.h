#pragma once
// The named lists: for every list a name, its items and its filter, kept in one place so that the
// selector, the hidden list of names, the item lists and the filters can never drift apart.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/capture/filter_def.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/lists/list_file.h"
#include "core/text/text_services.h"

namespace pellix::lists {

struct ListSlot {
  std::string name;  // code page 932; also the base name of the list's two files
  Items items;       // index 0 is the top, where captures go in
  capture::FilterDef filter;
};

// True for the one name whose items are UTF-16 texts; letter case counts.
inline bool IsUnicodeListName(std::string_view name) {
  return name == kUnicodeListName;
}

// What the window shows after a switch of lists.
struct SwitchPlan {
  bool unicode = false;   // show the UTF-16 list over the ANSI one
  bool hasItems = false;  // the shown list has items: focus it and select its first item
};

class ListStore {
 public:
  std::size_t Count() const { return slots_.size(); }
  const ListSlot& Slot(std::size_t index) const { return slots_.at(index); }

  // The list picked in the selector; none after a settings file named a list that is not there.
  std::optional<std::size_t> Current() const { return current_; }

  // The ordinary list whose items the ANSI list view shows. While "unicode" is current, this
  // stays the list shown before it, as the ANSI view lies unchanged under the UTF-16 one.
  std::optional<std::size_t> AnsiShown() const { return ansiShown_; }

  const WideItems& UnicodeItems() const { return unicodeItems_; }

  // Counts every change of names, items or filters, so a saver can tell whether anything is
  // left to write.
  std::uint64_t Revision() const { return revision_; }

  // Puts `topFirst` at the top of list `index`, its first text uppermost.
  void InsertAtTop(std::size_t index, std::vector<std::string> topFirst);
  void InsertUnicodeAtTop(std::u16string text);
  // Replaces the text of item `item` of list `index`; both must exist.
  void ReplaceItem(std::size_t index, std::size_t item, std::string text);
  // Replaces a whole list's items.
  void SetItems(std::size_t index, Items items);
  void SetUnicodeItems(WideItems items);

  // Set once a list named "unicode" was added; never cleared while the program runs.
  bool UnicodeCapture() const { return unicodeCapture_; }
  void EnableUnicodeCapture() { unicodeCapture_ = true; }

  // Appends a list read from its files: the filter file must exist and parse; a missing list
  // file just means an empty list. Either the whole slot is added or, when a read throws,
  // nothing changes. Adding "unicode" loads the UTF-16 list from its file when there is one.
  void AddListSlot(const io::FileSystem& files, const io::AppFolder& folder,
                   const text::TextServices& services, std::string_view name);

  // Appends a slot made in memory (a new list and its filter, or a benchmark's).
  void AddSlot(ListSlot slot);

  // Makes slot `index` current (`index` must be valid) and tells the view what to show.
  SwitchPlan SwitchList(std::size_t index);

  // Selects no list (a settings file that names a list index outside the store).
  void ClearCurrent() { current_.reset(); }

  // Writes every ordinary list's file, then the UTF-16 list's when it has items. A list that
  // cannot be written does not stop the others; afterwards one error naming every file that
  // failed is thrown.
  void SaveListFiles(const io::FileSystem& files, const io::AppFolder& folder) const;

  // Releases every list (after the lists were saved at exit).
  void Clear();

 private:
  std::vector<ListSlot> slots_;
  std::optional<std::size_t> current_;
  std::optional<std::size_t> ansiShown_;
  WideItems unicodeItems_;
  bool unicodeCapture_ = false;
  std::uint64_t revision_ = 0;
};

}  // namespace pellix::lists
