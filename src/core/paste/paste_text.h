#pragma once
// The text a paste puts on the clipboard: the selected items joined under the paste option.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::paste {

// Positions of the entries of the paste option menu; 1, 6 and 8 are separator lines.
enum class PasteOption : int {
  kNone = 0,
  kTab = 2,
  kSpace = 3,
  kComma = 4,
  kLineBreak = 5,
  kNoSeparator = 7,
  kRedirectUrl = 9,
};

inline constexpr int kPasteOptionPositions = 10;

// The checked position, or nothing when none is (a settings value outside 0 to 9). A checked
// separator line, like no check at all, joins the items without separator.
using CheckedPosition = std::optional<int>;

// The separator that follows every item under the options that add one: a tab, a space, a comma
// or CR LF, and nothing under 区切りの削除, a checked separator line or no check. nullopt for
// なし and the redirect, which join otherwise.
std::optional<std::string_view> SeparatorAfterEachItem(CheckedPosition option);

// `item` without its trailing characters of code 32 or less (spaces, tabs, line breaks).
std::string_view TrimRightControls(std::string_view item);

// Code page 932 items of an ordinary list, in list order.
std::string BuildAnsiPasteText(const std::vector<std::string>& items, CheckedPosition option);

// UTF-16 items of the Unicode list, in list order.
std::u16string BuildUnicodePasteText(const std::vector<std::u16string>& items,
                                     CheckedPosition option);

}  // namespace pellix::paste
