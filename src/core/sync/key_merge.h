#pragma once
// The merge of a file of key=value lines (pellix.ini, a filter file) that two instances changed:
// key by key, what this instance changed since its base wins; what the other changed and this
// one did not is kept. The numbered list keys (list0, list1, …) are one key, the list of lists,
// and so are the paste option's lines: their lines only make sense together.

#include <string>
#include <string_view>

namespace pellix::sync {

// `found`: the file as it is now. `before`: what this instance last wrote or read (its base).
// `mine`: what it writes now. The result keeps `mine`'s order for its keys and adds what only
// `found` has at the end; lines end with CR LF.
std::string MergeKeyLines(std::string_view found, std::string_view before, std::string_view mine);

}  // namespace pellix::sync
