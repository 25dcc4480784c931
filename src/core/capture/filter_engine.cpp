#include "core/capture/filter_engine.h"

#include <algorithm>
#include <optional>

#include "core/capture/long_text_memo.h"
#include "core/filters/conversion.h"
#include "core/filters/filter_match.h"
#include "core/io/integer.h"
#include "core/text/case_fold.h"
#include "core/text/cp932.h"

namespace pellix::capture {
namespace {

struct Sequences {
  std::vector<std::size_t> acceptAll;
  std::vector<std::size_t> priority;
  std::vector<std::size_t> nonPriority;
};

Sequences SortByType(const lists::ListStore& store) {
  Sequences sequences;
  for (std::size_t i = 0; i < store.Count(); ++i) {
    switch (io::ParseInt32(store.Slot(i).filter.type)) {
      case static_cast<std::int32_t>(filters::FilterType::kAcceptAll):
        sequences.acceptAll.push_back(i);
        break;
      case static_cast<std::int32_t>(filters::FilterType::kPriority):
        sequences.priority.push_back(i);
        break;
      case static_cast<std::int32_t>(filters::FilterType::kNonPriority):
        sequences.nonPriority.push_back(i);
        break;
      default:
        break;
    }
  }
  return sequences;
}

class Run {
 public:
  Run(lists::ListStore& store, std::string& lastText)
      : store_(store),
        lastText_(lastText),
        pending_(store.Count()),
        matches_(store.Count()),
        conversionOf_(store.Count()) {}

  // Collected per list and put in place at the end, all at once: a line-mode filter may take a
  // thousand lines, and a list may hold a hundred thousand items.
  void InsertAtTop(const std::string& text, std::size_t index) { pending_[index].push_back(text); }

  void AcceptAll(std::size_t index) {
    lastText_ = Convert(index, lastText_);
    InsertAtTop(lastText_, index);
  }

  // Returns whether the list took anything.
  bool Filter(std::size_t index, std::vector<std::string>& lineList) {
    const filters::FilterMatch& match = MatchOf(index);
    if (store_.Slot(index).filter.kaigyo == 0) {
      if (!Passes(match, lastText_)) {
        return false;
      }
      lastText_ = Convert(index, lastText_);
      InsertAtTop(lastText_, index);
      return true;
    }
    bool took = false;
    for (std::string& line : lineList) {
      if (Passes(match, line)) {
        line = Convert(index, line);
        InsertAtTop(line, index);
        took = true;
      }
    }
    return took;
  }

  // Puts every taken text in place, the last taken uppermost, and counts them per list.
  FilterRun Finish(bool failed) {
    FilterRun result;
    result.failed = failed;
    result.inserted.resize(pending_.size());
    for (std::size_t index = 0; index < pending_.size(); ++index) {
      std::vector<std::string>& taken = pending_[index];
      if (taken.empty()) {
        continue;
      }
      result.inserted[index] = taken.size();
      std::reverse(taken.begin(), taken.end());
      store_.InsertAtTop(index, std::move(taken));
    }
    return result;
  }

 private:
  const filters::FilterMatch& MatchOf(std::size_t index) {
    std::optional<filters::FilterMatch>& match = matches_[index];
    if (!match) {
      match.emplace(store_.Slot(index).filter);
    }
    return *match;
  }

  // Lists whose conversions are the same share one number, so what one of them made of a text
  // stands for all of them.
  std::size_t ConversionOf(std::size_t index) {
    std::optional<std::size_t>& number = conversionOf_[index];
    if (!number) {
      filters::Conversion conversion(store_.Slot(index).filter);
      const auto same = std::find(conversions_.begin(), conversions_.end(), conversion);
      number = static_cast<std::size_t>(same - conversions_.begin());
      if (same == conversions_.end()) {
        conversions_.push_back(std::move(conversion));
      }
    }
    return *number;
  }

  bool Passes(const filters::FilterMatch& match, std::string_view subject) {
    if (!match.NeedsFoldedText()) {
      return match.Passes(subject, scratch_);
    }
    text::FoldedText* folded = LongTextMemo::IsLong(subject) ? memo_.Folded(subject) : nullptr;
    if (folded == nullptr) {
      scratch_.Assign(subject);
      folded = &scratch_;
    }
    return match.Passes(subject, *folded);
  }

  std::string Convert(std::size_t index, const std::string& subject) {
    const std::size_t number = ConversionOf(index);
    const filters::Conversion& conversion = conversions_[number];
    if (conversion.IsIdentity()) {
      return subject;
    }
    const bool isLong = LongTextMemo::IsLong(subject);
    if (isLong) {
      if (const std::string* known = memo_.Converted(number, subject)) {
        return *known;
      }
    }
    std::string converted = subject;
    const bool settled = conversion.Apply(converted);
    if (isLong) {
      memo_.NoteConverted(number, subject, converted, settled);
    }
    return converted;
  }

  lists::ListStore& store_;
  std::string& lastText_;
  std::vector<std::vector<std::string>> pending_;
  std::vector<std::optional<filters::FilterMatch>> matches_;
  std::vector<std::optional<std::size_t>> conversionOf_;
  std::vector<filters::Conversion> conversions_;
  LongTextMemo memo_;
  text::FoldedText scratch_;  // for short texts, whose memory is kept from one to the next
};

}  // namespace

// The conversions need nothing of the platform: the code page's own case and width tables do
// them, and the tests hold those tables against the platform's mappings.
FilterRun RunFilters(lists::ListStore& store, std::string& lastText, const text::TextServices&) {
  const Sequences sequences = SortByType(store);
  Run run(store, lastText);
  try {
    for (const std::size_t index : sequences.acceptAll) {
      run.AcceptAll(index);
    }
    std::vector<std::string> lineList = text::SplitLines(lastText);
    bool matchedPriority = false;
    for (const std::size_t index : sequences.priority) {
      matchedPriority = run.Filter(index, lineList) || matchedPriority;
    }
    if (!matchedPriority) {
      for (const std::size_t index : sequences.nonPriority) {
        run.Filter(index, lineList);
      }
    }
  } catch (const std::exception&) {
    lastText = " ";
    return run.Finish(true);
  }
  return run.Finish(false);
}

std::string ApplyConversions(const filters::FilterDef& def, std::string_view text,
                             const text::TextServices&) {
  std::string result(text);
  filters::Conversion(def).Apply(result);
  return result;
}

bool ContainsWords(text::FoldedText& text, std::string_view words, std::int32_t count) {
  return filters::CheckWords(words, count).Passes(text);
}

bool ContainsWords(std::string_view text, std::string_view words, std::int32_t count) {
  text::FoldedText folded(text);
  return ContainsWords(folded, words, count);
}

bool OnlyLimitingChars(std::string_view text, std::string_view characters) {
  return filters::LimitingChars(characters).Allows(text);
}

}  // namespace pellix::capture
