#include "core/search/packed_scan.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "core/text/fold.h"

namespace pellix::search {
namespace {

// How often a byte turns up in Japanese and English text, roughly: the lead bytes of kana and of
// the common kanji most, then lower-case letters, digits and blanks; most other bytes seldom.
int Commonness(unsigned char byte) {
  if (byte >= 0x81 && byte <= 0x83) {
    return 4;
  }
  if ((byte >= 0x88 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEA)) {
    return 3;
  }
  if (byte == ' ' || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')) {
    return 2;
  }
  return 0;
}

// Looks for a word by its rarest byte: a scan for a word's first byte, often a lead byte that
// every Japanese text is full of, stops every few bytes; one for a rarer byte of it runs at the
// speed of memchr between the few places worth a comparison.
class RareByteFinder {
 public:
  explicit RareByteFinder(std::string_view word) : word_(word) {
    for (std::size_t at = 1; at < word.size(); ++at) {
      if (Commonness(static_cast<unsigned char>(word[at])) <
          Commonness(static_cast<unsigned char>(word[rare_]))) {
        rare_ = at;
      }
    }
  }

  // The first place at or after `from` where the word starts, or npos.
  std::size_t Find(std::string_view text, std::size_t from) const {
    std::size_t at = from + rare_;
    while (at < text.size()) {
      const void* found = std::memchr(text.data() + at, word_[rare_], text.size() - at);
      if (found == nullptr) {
        break;
      }
      at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
      const std::size_t start = at - rare_;
      if (word_.size() == 1 || text.compare(start, word_.size(), word_) == 0) {
        return start;
      }
      ++at;
    }
    return std::string_view::npos;
  }

 private:
  std::string_view word_;
  std::size_t rare_ = 0;  // the place in the word of its rarest byte
};

}  // namespace

// A chunk holds its items' keys one after another: the anchor word is looked for along the
// whole chunk, and only an item it turns up in is tested whole. Most items hold none of the
// words and are passed over at the speed of the search for one, not looked at one by one.
std::vector<std::size_t> ScanPackedKeys(const lists::ItemList& keys, const SearchQuery& query) {
  std::vector<std::size_t> rows;
  if (query.Empty()) {  // no words: every item
    rows.resize(keys.size());
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    return rows;
  }
  const std::optional<std::string_view> anchor = query.AnsiAnchor();
  if (!anchor) {
    return rows;
  }
  const RareByteFinder finder(*anchor);
  std::size_t first = 0;  // the chunk's first item in the list
  keys.ForEachChunk([&](const lists::ItemList::Chunk& chunk) {
    const std::string_view text = chunk.Text();
    const std::vector<std::uint32_t>& ends = chunk.Ends();
    std::size_t item = 0;
    std::size_t from = 0;
    while (item < ends.size()) {
      const std::size_t hit = finder.Find(text, from);
      if (hit == std::string_view::npos) {
        break;
      }
      // The item the hit starts in, where hits are dense one of the next few (stepped to: a
      // fifth of a one-letter search over a million items), else looked up; the hit may run on
      // into the item after it, which the whole test of this one then refuses.
      for (std::size_t step = 0; step < 8 && item < ends.size() && ends[item] <= hit; ++step) {
        ++item;
      }
      if (item < ends.size() && ends[item] <= hit) {
        item = static_cast<std::size_t>(
            std::upper_bound(ends.begin() + static_cast<std::ptrdiff_t>(item), ends.end(), hit) -
            ends.begin());
      }
      if (item == ends.size()) {
        break;
      }
      // Where the hit lies on a character, only the other words are left to look for.
      const std::size_t start = item == 0 ? 0 : ends[item - 1];
      const std::string_view key = text.substr(start, ends[item] - start);
      const std::size_t at = hit - start;
      const bool anchorHolds = at + anchor->size() <= key.size() && text::IsCharStart(key, at) &&
                               text::IsCharStart(key, at + anchor->size());
      if (anchorHolds ? query.MatchesAnsiBesidesAnchor(key) : query.MatchesAnsi(key)) {
        rows.push_back(first + item);
      }
      from = ends[item];
      ++item;
    }
    first += chunk.size();
  });
  return rows;
}

}  // namespace pellix::search
