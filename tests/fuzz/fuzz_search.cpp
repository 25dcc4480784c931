// Every item of every list is folded and searched, whatever bytes it holds: the folding must keep
// characters whole, and the backward look that tells a first byte from a second one must agree
// with reading the text from its start; and a query that narrows another (a keystroke looks only
// among the last one's matches then) matches nothing the other does not; and a search along a
// list's packed keys finds exactly the items a test of each finds.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/lists/list_store.h"
#include "core/platform_services.h"
#include "core/search/list_search.h"
#include "core/search/search_query.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"
#include "core/text/fold.h"
#include "fuzz_check.h"

namespace {

namespace search = pellix::search;
namespace text = pellix::text;

void CheckCharStarts(const std::string& bytes) {
  std::vector<bool> starts(bytes.size() + 1, false);
  for (std::size_t pos = 0; pos < bytes.size(); pos += text::CharSizeAt(bytes, pos)) {
    starts[pos] = true;
  }
  starts[bytes.size()] = true;
  for (std::size_t pos = 0; pos <= bytes.size(); ++pos) {
    PELLIX_FUZZ_CHECK(pellix::text::IsCharStart(bytes, pos) == starts[pos]);
  }
}

// The item's lines as the items of a list: a word may run from one into the next, or start on
// the second byte of a character, and neither may count.
void CheckScanAlongTheKeys(const std::string& bytes, const search::SearchQuery& query) {
  pellix::lists::Items items;
  std::size_t start = 0;
  for (std::size_t end = bytes.find('\n'); end != std::string::npos;
       start = end + 1, end = bytes.find('\n', start)) {
    items.push_back(bytes.substr(start, end - start));
  }
  items.push_back(bytes.substr(start));
  std::vector<std::size_t> expected;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (query.MatchesAnsi(text::FoldCp932(items[i]))) {
      expected.push_back(i);
    }
  }
  pellix::lists::ListStore store;
  store.AddSlot(pellix::lists::ListSlot{"a", items, {}});
  store.SwitchList(0);
  PELLIX_FUZZ_CHECK(search::FindMatches(store, pellix::lists::ListId::Ansi(0), query) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string word = input.ConsumeRandomLengthString(16);
  // Mostly what typing on would give: the same words and more.
  const std::string longer = input.ConsumeBool() ? word + input.ConsumeRandomLengthString(8)
                                                 : input.ConsumeRandomLengthString(16);
  const std::string item = input.ConsumeRemainingBytesAsString();

  const std::string folded = pellix::text::FoldCp932(item);
  // Half-width kana may widen to two bytes; nothing grows more than that.
  PELLIX_FUZZ_CHECK(folded.size() <= 2 * item.size());
  PELLIX_FUZZ_CHECK(text::CharLength(folded) <= text::CharLength(item));
  CheckCharStarts(item);
  CheckCharStarts(folded);

  const std::u16string wide = text::Cp932ToUtf16(pellix::PlatformTextServices(), item);
  PELLIX_FUZZ_CHECK(pellix::text::FoldUtf16(wide).size() <= wide.size());

  // An item always holds its own text, in any case and width.
  const std::u16string typed = text::Cp932ToUtf16(pellix::PlatformTextServices(), word);
  const search::SearchQuery query(typed, pellix::PlatformTextServices());
  const search::SearchQuery itself(wide, pellix::PlatformTextServices());
  const search::SearchQuery narrower(text::Cp932ToUtf16(pellix::PlatformTextServices(), longer),
                                     pellix::PlatformTextServices());
  if (narrower.Narrows(query)) {
    PELLIX_FUZZ_CHECK(!narrower.MatchesAnsi(folded) || query.MatchesAnsi(folded));
    const std::u16string foldedWide = pellix::text::FoldUtf16(wide);
    PELLIX_FUZZ_CHECK(!narrower.MatchesWide(foldedWide) || query.MatchesWide(foldedWide));
  }
  CheckScanAlongTheKeys(item, query);
  CheckScanAlongTheKeys(item, narrower);
  if (wide.find(u'\uFFFD') == std::u16string::npos) {
    PELLIX_FUZZ_CHECK(itself.MatchesWide(pellix::text::FoldUtf16(wide)));
  }
  return 0;
}
