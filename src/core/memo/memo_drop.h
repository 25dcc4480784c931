#pragma once
// List items dropped onto the memo: joined under the paste option and put above the memo's
// first line. The lists keep their items.

#include <string>
#include <string_view>
#include <vector>

#include "core/paste/paste_text.h"

namespace pellix::memo {

// The text a drop of `items` (code page 932, in list order) puts into the memo. Under なし each
// item is followed by CR LF and the whole loses its trailing spaces and control characters, so
// an inner item keeps its own. Under any other option each item loses its trailing spaces and
// control characters and is followed by the separator of the first checked option in the order
// tab, space, comma, CR LF; 区切りの削除, the redirect and no check add nothing. The last item
// keeps its separator too. An empty result means the drop does nothing.
std::string MemoDropText(const std::vector<std::string>& items, paste::CheckedPosition option);

// The memo after a drop: `dropText` and a line break in front of its first line.
std::string MemoWithDrop(std::string_view memo, std::string_view dropText);
std::u16string MemoWithDrop(std::u16string_view memo, std::u16string_view dropText);

}  // namespace pellix::memo
