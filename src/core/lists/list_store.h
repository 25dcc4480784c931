#pragma once
// The named lists: for every list a name, its items and its filter, kept in one place so that the
// selector, the hidden list of names, the item lists and the filters can never drift apart.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/filters/filter_def.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/lists/list_file.h"
#include "core/lists/list_id.h"
#include "core/lists/opened_item.h"
#include "core/lists/search_keys.h"
#include "core/sync/versions.h"
#include "core/text/text_services.h"

namespace pellix::lists {

struct ListSlot {
  std::string name;  // code page 932; also the base name of the list's two files
  ItemList items;    // index 0 is the top, where captures go in
  filters::FilterDef filter;
  std::uint64_t itemsStamp = 0;  // the store's revision when the items last changed
  // The version of the list's file these were built on: another instance sharing the folder
  // may change it.
  sync::ListVersion synced{};
  // Its file is still being read (a large list, read while the program already runs): it takes
  // captures at its top, and is neither written nor shown until the read is in.
  bool loading = false;
};

// True for the one name whose items are UTF-16 texts; letter case counts.
inline bool IsUnicodeListName(std::string_view name) {
  return name == kUnicodeListName;
}

// A list named "unicode" in any letter case, once the filter dialogs close, turns the Unicode
// capture on; only the exact name makes a list the one shown in UTF-16.
bool NamesUnicodeCapture(std::string_view name);

// What the window shows after a switch of lists.
struct SwitchPlan {
  bool unicode = false;   // show the UTF-16 list over the ANSI one
  bool hasItems = false;  // the shown list has items: focus it and select its first item
};

// A list file that was read only up to a point: the user is told, and the original was kept.
struct PartlyRead {
  std::u16string path;
  std::u16string kept;  // the copy of the whole file
};

// A list as read from its files, before it joins a store: lists can be read side by side.
struct LoadedList {
  ListSlot slot;
  std::optional<WideItems> unicodeItems;  // "unicode": its UTF-16 list's file, when there is one
  std::optional<sync::ListVersion> unicodeSynced;
  std::optional<PartlyRead> partlyRead;
};

// Reads a list's files: the filter file must exist and parse; a missing list file just means an
// empty list. "unicode" reads the UTF-16 list's file. A list file that reads only in part is
// copied aside first, so the next save, which writes what was read, loses nothing of it. Throws
// what the reads throw.
LoadedList ReadList(const io::FileSystem& files, const io::AppFolder& folder,
                    const text::TextServices& services, std::string_view name);

class ListStore {
 public:
  std::size_t Count() const { return slots_.size(); }
  const ListSlot& Slot(std::size_t index) const { return slots_.at(index); }

  // The list picked in the selector; none after a settings file named a list that is not there.
  std::optional<std::size_t> Current() const { return current_; }

  // The ordinary list whose items the ANSI list view shows. While "unicode" is current, this
  // stays the list shown before it, as the ANSI view lies unchanged under the UTF-16 one.
  std::optional<std::size_t> AnsiShown() const { return ansiShown_; }

  const SharedWideItems& UnicodeItems() const { return unicodeItems_; }

  // Counts every change of names, items or filters, so a saver can tell whether anything is
  // left to write.
  std::uint64_t Revision() const { return revision_; }

  // The store's revision when the items of this list last changed, so a writer can tell which
  // list files are out of date.
  std::uint64_t ItemsStamp(ListId list) const;

  // Whether the UTF-16 list has a file to write: it has items, or the user took items out of it
  // during the run (so cleared items stay cleared). An untouched empty list leaves its file be.
  bool UnicodeFileToWrite() const {
    return unicodeCapture_ && (!unicodeItems_.empty() || unicodeRemoved_);
  }

  // Counts the items of an ordinary list or of the Unicode list.
  std::size_t ItemCount(ListId list) const;

  // The version of a list's file the list was built on (see ListSlot).
  const sync::ListVersion& Synced(ListId list) const;
  // The list is now built on `version`; what the step `lost` (sorted keys) is remembered.
  void SetSynced(ListId list, sync::ListVersion version, const std::vector<sync::ItemKey>& lost);

  // Puts `topFirst` at the top of list `index`, its first text uppermost.
  void InsertAtTop(std::size_t index, std::vector<std::string> topFirst);
  void InsertUnicodeAtTop(std::u16string text);
  // Puts `texts` into a list in their order, the first at `at` (at most the list's count); the
  // items from `at` on move down below them.
  void InsertItems(std::size_t index, std::size_t at, Items texts);
  void InsertUnicodeItems(std::size_t at, WideItems texts);
  // Replaces the text of item `item` of list `index`; both must exist.
  void ReplaceItem(std::size_t index, std::size_t item, std::string text);
  void ReplaceUnicodeItem(std::size_t item, std::u16string text);
  // Replaces a whole list's items, as a load does (not counted as the user's change).
  void SetItems(std::size_t index, Items items);
  void SetUnicodeItems(WideItems items);

  // The steps the list commands are made of. Indices must exist (RangeError otherwise); index
  // lists must be strictly ascending.
  void RemoveItems(ListId list, const std::vector<std::size_t>& ascending);
  // Removes every item from index `count` on.
  void KeepFirst(ListId list, std::size_t count);
  void SwapItems(ListId list, std::size_t a, std::size_t b);
  // Takes item `from` out and puts it back at `to`, counted in the list without it.
  void MoveItem(ListId list, std::size_t from, std::size_t to);
  // Replaces each item `index` by its `lines` (at least one), the first line in its place.
  struct Split {
    std::size_t index;
    Items lines;
  };
  void SplitItems(std::size_t list, std::vector<Split> ascending);
  // Puts the item that was at `order[k]` at k, for every k; `order` holds every index once.
  void Reorder(std::size_t list, const std::vector<std::size_t>& order);
  // Moves item `item` of ordinary list `from` to the top of ordinary list `to` (another one).
  void MoveToTop(std::size_t from, std::size_t item, std::size_t to);
  // Moves it to the top of the Unicode list, where it is `text`, its UTF-16 form.
  void MoveToUnicodeTop(std::size_t from, std::size_t item, std::u16string text);

  // The item the edit box has open; it is followed through every change above. Whatever
  // later removes or reorders whole lists must move it along too.
  void OpenItem(ItemPlace place);
  void CloseItem() { opened_.Close(); }
  const OpenedItem& Opened() const { return opened_; }

  // Set once a list named "unicode" was added; never cleared while the program runs.
  bool UnicodeCapture() const { return unicodeCapture_; }
  void EnableUnicodeCapture() { unicodeCapture_ = true; }
  // The filter dialogs closed: a list named for it, in any letter case, turns the capture on.
  void NoteUnicodeCaptureNames();
  // The current list is the Unicode list, whose view lies over the ordinary one.
  bool UnicodeListShown() const;

  // Appends a list read from its files: the filter file must exist and parse; a missing list
  // file just means an empty list. Either the whole slot is added or, when a read throws,
  // nothing changes. Adding "unicode" loads the UTF-16 list from its file when there is one.
  void AddListSlot(const io::FileSystem& files, const io::AppFolder& folder,
                   const text::TextServices& services, std::string_view name);

  // Appends a list read by ReadList.
  void AddLoadedList(LoadedList list);

  // Appends a list whose file is still being read; CompleteLoad brings its items. Until then it
  // is Loading.
  void AddLoadingSlot(std::string name, filters::FilterDef filter);
  bool Loading(std::size_t index) const { return slots_.at(index).loading; }
  bool AnyLoading() const;
  // The items read for slot `index` (a LoadedList of that list) go below whatever the list
  // took meanwhile, in their order.
  void CompleteLoad(std::size_t index, LoadedList list);

  // Appends a slot made in memory (a new list and its filter, or a benchmark's).
  void AddSlot(ListSlot slot);

  // Whole lists, as the filter dialogs change them. Indices must exist (RangeError otherwise).
  // The current list, the list under the ANSI view and the edit box's item stay on the lists
  // they were on, wherever those go.
  //
  // Gives slot `index` another name; its filter's `filname` takes the name too.
  void RenameSlot(std::size_t index, std::string name);
  void SetFilter(std::size_t index, filters::FilterDef filter);
  // Exchanges the two slots whole: names, items and filters.
  void SwapSlots(std::size_t a, std::size_t b);
  // Takes slot `index` out. When it was the current list, the list that moves into its place
  // becomes current, or the one before it when it was the last; no list when none remains.
  struct RemovedSlot {
    bool currentRemoved = false;    // the window must show `Current()` now (or no list)
    SwitchPlan plan;                // how to show it, when there is one
    bool ansiShownRemoved = false;  // the ANSI view's list went: that view shows `AnsiShown()`
  };
  RemovedSlot RemoveSlot(std::size_t index);

  // Makes slot `index` current (`index` must be valid) and tells the view what to show.
  SwitchPlan SwitchList(std::size_t index);

  // Selects no list (a settings file that names a list index outside the store).
  void ClearCurrent() { current_.reset(); }

  // Writes every ordinary list's file, then the UTF-16 list's when it has items or when the
  // user removed items from it during the run (so cleared items stay cleared); an untouched
  // empty Unicode list leaves its file as it was. A list that cannot be written does not stop
  // the others; afterwards one error naming every file that failed is thrown.
  void SaveListFiles(const io::FileSystem& files, const io::AppFolder& folder) const;

  // The list files read only in part since the last call, to be told to the user once.
  std::vector<PartlyRead> TakePartlyRead() { return std::exchange(partlyRead_, {}); }

  // Releases every list (after the lists were saved at exit).
  void Clear();

  // The search keys of an ordinary list's items or of the Unicode list's: one folded copy of
  // each item, in the items' order. Folded on the first call for a list, then kept in step with
  // every change of its items.
  const ItemList& SearchKeys(std::size_t slot);
  const std::vector<std::u16string>& UnicodeSearchKeys();
  // Whether a search of `list` can start at once: its keys are kept, or folding them is quick.
  // Otherwise they are folded elsewhere (FoldedKeys) from a snapshot of the items and handed in:
  // kept when the items are still as the snapshot took them, and true then.
  bool SearchKeysReady(ListId list) const;
  bool KeepSearchKeys(std::size_t slot, const ItemList::Snapshot& folded, ItemList keys);

 private:
  template <typename Action>
  decltype(auto) WithItems(ListId list, Action&& action);
  void Changed(ListId list, bool removed);
  void StampItems(ListId list);
  // Items `at` to `at + count` of `list` are new: their search keys are made, if that list's
  // are kept.
  void KeysInserted(ListId list, std::size_t at, std::size_t count);

  std::vector<ListSlot> slots_;
  std::optional<std::size_t> current_;
  std::optional<std::size_t> ansiShown_;
  SharedWideItems unicodeItems_;
  std::vector<PartlyRead> partlyRead_;
  bool unicodeCapture_ = false;
  bool unicodeRemoved_ = false;  // the user took items out of the Unicode list
  std::uint64_t unicodeStamp_ = 0;
  sync::ListVersion unicodeSynced_;
  OpenedItem opened_;
  std::uint64_t revision_ = 0;
  lists::SearchKeys keys_;
};

}  // namespace pellix::lists
