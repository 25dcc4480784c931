#pragma once
// The lists of a first start in an empty folder.

#include <array>
#include <string_view>

#include "core/lists/list_store.h"

namespace pellix::lists {

// 履歴 (history) takes every capture; 記録 (records) and unicode are kept by hand.
inline constexpr std::string_view kHistoryListName = "\x97\x9A\x97\xF0";
inline constexpr std::string_view kRecordsListName = "\x8B\x4C\x98\x5E";
inline constexpr std::array<std::string_view, 3> kDefaultListNames = {
    kHistoryListName, kRecordsListName, kUnicodeListName};

// Adds the three default lists in order. A default list whose filter file is missing gets one
// first (accept-all for 履歴, storage for the others), so a first start needs no files at all;
// an existing filter file is left as the user made it.
void AddDefaultLists(ListStore& store, const io::FileSystem& files, const io::AppFolder& folder,
                     const text::TextServices& services);

}  // namespace pellix::lists
