#pragma once
// What the user typed into the search field, made ready to test many items: the words it holds
// (separated by blanks, full-width ones too), each folded. An item matches when it contains
// every word, in any order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/text_services.h"

namespace pellix::search {

class SearchQuery {
 public:
  SearchQuery() = default;
  // `services` turns the words into code page 932 for the ordinary lists.
  SearchQuery(std::u16string_view typed, const text::TextServices& services);

  // No words: every item is shown.
  bool Empty() const { return wide_.empty(); }

  // `folded` is an item's search key (FoldCp932, FoldUtf16). A word matches only from the start
  // of a character of the item, never from the second byte of a two-byte one.
  bool MatchesAnsi(std::string_view folded) const;
  // A word every matching item of an ordinary list contains, folded; nullopt when no item of
  // one can match, or when there are no words. A scan for it alone passes over most items without
  // testing them.
  std::optional<std::string_view> AnsiAnchor() const;
  // MatchesAnsi for an item already known to hold the anchor word from a character's start.
  bool MatchesAnsiBesidesAnchor(std::string_view folded) const;
  bool MatchesWide(std::u16string_view folded) const;

  // Whether every item this query matches is also matched by `older` (in an ordinary list and
  // in the Unicode list): each of its words lies within one of these. A keystroke that adds to
  // the words then only has to look among the items shown already.
  bool Narrows(const SearchQuery& older) const;

  // The words, folded, as they are looked for.
  const std::vector<std::u16string>& WideWords() const { return wide_; }

 private:
  std::vector<std::u16string> wide_;
  std::vector<std::string> ansi_;
  // Some word has no form in code page 932: no item of an ordinary list can contain it.
  bool ansiImpossible_ = false;
};

}  // namespace pellix::search
