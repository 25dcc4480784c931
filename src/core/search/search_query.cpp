#include "core/search/search_query.h"

#include <algorithm>

#include "core/text/fold.h"

namespace pellix::search {
namespace {

bool IsBlank(char16_t ch) {
  return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n';
}

// Every word once, longest first: the rarest usually fails soonest.
std::vector<std::u16string> Words(std::u16string_view folded) {
  std::vector<std::u16string> words;
  std::size_t pos = 0;
  while (pos < folded.size()) {
    while (pos < folded.size() && IsBlank(folded[pos])) {
      ++pos;
    }
    const std::size_t start = pos;
    while (pos < folded.size() && !IsBlank(folded[pos])) {
      ++pos;
    }
    if (pos > start) {
      words.emplace_back(folded.substr(start, pos - start));
    }
  }
  std::sort(words.begin(), words.end(), [](const std::u16string& a, const std::u16string& b) {
    return a.size() != b.size() ? a.size() > b.size() : a < b;
  });
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

bool ContainsFromCharStart(std::string_view text, std::string_view word) {
  for (std::size_t hit = text.find(word); hit != std::string_view::npos;
       hit = text.find(word, hit + 1)) {
    const std::size_t end = hit + word.size();
    if (text::IsCharStart(text, hit) && (end == text.size() || text::IsCharStart(text, end))) {
      return true;
    }
  }
  return false;
}

}  // namespace

SearchQuery::SearchQuery(std::u16string_view typed, const text::TextServices& services)
    : wide_(Words(text::FoldUtf16(typed))) {
  for (const std::u16string& word : wide_) {
    const std::optional<std::string> bytes = services.EncodeCp932(word);
    if (!bytes) {
      ansiImpossible_ = true;
      ansi_.clear();
      break;
    }
    // Folded again in its own code page: a few characters fold differently there (the yen
    // sign of a full-width ￥ is the byte 0x5C).
    ansi_.push_back(text::FoldCp932(*bytes));
  }
}

bool SearchQuery::MatchesAnsi(std::string_view folded) const {
  if (ansiImpossible_) {
    return false;
  }
  return std::all_of(ansi_.begin(), ansi_.end(), [folded](const std::string& word) {
    return ContainsFromCharStart(folded, word);
  });
}

std::optional<std::string_view> SearchQuery::AnsiAnchor() const {
  if (ansiImpossible_ || ansi_.empty()) {
    return std::nullopt;
  }
  return std::string_view(ansi_.front());  // the longest: the fewest false hits
}

bool SearchQuery::MatchesAnsiBesidesAnchor(std::string_view folded) const {
  return std::all_of(
      ansi_.begin() + (ansi_.empty() ? 0 : 1), ansi_.end(),
      [folded](const std::string& word) { return ContainsFromCharStart(folded, word); });
}

bool SearchQuery::Narrows(const SearchQuery& older) const {
  if (older.Empty()) {
    return false;
  }
  const bool wideWithin =
      std::all_of(older.wide_.begin(), older.wide_.end(), [this](const std::u16string& word) {
        return std::any_of(wide_.begin(), wide_.end(), [&word](const std::u16string& longer) {
          return longer.find(word) != std::u16string::npos;
        });
      });
  if (!wideWithin) {
    return false;
  }
  if (ansiImpossible_) {
    return true;  // no ordinary item matches this one
  }
  return !older.ansiImpossible_ &&
         std::all_of(older.ansi_.begin(), older.ansi_.end(), [this](const std::string& word) {
           return std::any_of(ansi_.begin(), ansi_.end(), [&word](const std::string& longer) {
             return ContainsFromCharStart(longer, word);
           });
         });
}

bool SearchQuery::MatchesWide(std::u16string_view folded) const {
  return std::all_of(wide_.begin(), wide_.end(), [folded](const std::u16string& word) {
    return folded.find(word) != std::u16string_view::npos;
  });
}

}  // namespace pellix::search
