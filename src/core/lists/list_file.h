#pragma once
// List files. An ordinary list is "<name>.dat": each item as the marker "][)", its text and
// CR LF, in code page 932. The list "unicode" keeps UTF-16 items in a file of its own format.

#include <string>
#include <string_view>
#include <vector>

#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/lists/item_list.h"
#include "core/lists/shared_texts.h"
#include "core/sync/item_keys.h"
#include "core/text/text_services.h"

namespace pellix::lists {

inline constexpr std::string_view kItemMarker = "][)";
inline constexpr std::string_view kUnicodeListName = "unicode";

using Items = std::vector<std::string>;
using WideItems = std::vector<std::u16string>;
using SharedWideItems = SharedTexts<std::u16string>;

std::u16string ListFilePath(const io::AppFolder& folder, std::string_view listName);

// A line that starts with the marker opens an item; any other line continues the item before
// it, joined by CR LF. Lines before the first marker are kept as the first item's text, so a
// hand-written file without markers loses nothing. A bare marker as the last line adds nothing.
Items ParseListFile(std::string_view content);
// The same, packed as the store keeps a list (no allocation per item).
ItemList ParseItemList(std::string_view content);
std::string FormatListFile(const Items& items);
std::string FormatListFileFrom(const ItemList::Snapshot& items);
// The same bytes piece by piece, about a megabyte at a time, from a snapshot of the list.
io::FileSystem::Pieces ListFilePieces(ItemList::Snapshot items);
// The keys of the items a reader of that file finds (an item with a line break that starts
// with the marker reads as two; an empty last item reads as none).
std::vector<sync::ItemKey> FileItemKeys(const ItemList::Snapshot& items);

// Appends the items of the list's file to `items`. Throws FileOpenError.
void ReadListFile(const io::FileSystem& files, const io::AppFolder& folder,
                  std::string_view listName, Items& items);
void WriteListFile(const io::FileSystem& files, const io::AppFolder& folder,
                   std::string_view listName, const Items& items);

// A byte-order mark picks UTF-16 LE, UTF-16 BE or UTF-8; without one the file is code page 932.
// Items are split at CR LF, CR, LF and U+2028; a zero character ends the text.
WideItems ParseUnicodeListFile(const text::TextServices& services, std::string_view content);
// The keys of the items a reader of the Unicode list's file finds: an item with line breaks is
// several.
std::vector<sync::ItemKey> UnicodeFileItemKeys(const SharedWideItems::Pointers& items);

// UTF-16 LE with its mark, each item followed by CR LF.
std::string FormatUnicodeListFile(const WideItems& items);
std::string FormatUnicodeListFile(const SharedWideItems::Pointers& items);
// The same bytes piece by piece, about a megabyte at a time, from a snapshot of the list.
io::FileSystem::Pieces UnicodeListFilePieces(SharedWideItems::Snapshot items);

// Whether reading stops before the end of the file: a zero byte (or character) ends what the
// lists read, so a file that holds more after one, or a UTF-16 file with an odd byte at its end,
// is only read in part. Zeros alone at the end lose nothing.
bool ListFileReadInPart(std::string_view content);
bool UnicodeListFileReadInPart(std::string_view content);

// Keeps the file as it is before anything rewrites the part that was read: "<file>.bak", or
// "<file>.bak2" and on when an older copy with other content is already there. The name kept.
std::u16string KeepOriginal(const io::FileSystem& files, const std::u16string& path,
                            std::string_view content);

}  // namespace pellix::lists
