#include "core/capture/filter_engine.h"

#include <algorithm>
#include <optional>

#include "core/io/integer.h"
#include "core/text/case_fold.h"
#include "core/text/conversions.h"
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
      case static_cast<std::int32_t>(FilterType::kAcceptAll):
        sequences.acceptAll.push_back(i);
        break;
      case static_cast<std::int32_t>(FilterType::kPriority):
        sequences.priority.push_back(i);
        break;
      case static_cast<std::int32_t>(FilterType::kNonPriority):
        sequences.nonPriority.push_back(i);
        break;
      default:
        break;
    }
  }
  return sequences;
}

bool Passes(const FilterDef& def, std::string_view subject, const text::FoldedText& folded) {
  if (!def.cstring.empty()) {
    return OnlyLimitingChars(subject, def.cstring);
  }
  return ContainsWords(folded, def.astring, def.acount) &&
         (def.bstring.empty() || ContainsWords(folded, def.bstring, def.bcount));
}

// Whether check words are tested at all: a limiting-character filter ignores them.
bool NeedsFolding(const FilterDef& def) {
  return def.cstring.empty();
}

class Run {
 public:
  Run(lists::ListStore& store, std::string& lastText, const text::TextServices& services)
      : store_(store), lastText_(lastText), services_(services), pending_(store.Count()) {}

  // Collected per list and put in place at the end, all at once: a line-mode filter may take a
  // thousand lines, and a list may hold a hundred thousand items.
  void InsertAtTop(const std::string& text, std::size_t index) { pending_[index].push_back(text); }

  void AcceptAll(std::size_t index) {
    SetLastText(ApplyConversions(store_.Slot(index).filter, lastText_, services_));
    InsertAtTop(lastText_, index);
  }

  // Returns whether the list took anything.
  bool Filter(std::size_t index, std::vector<std::string>& lineList) {
    const FilterDef& def = store_.Slot(index).filter;
    bool took = false;
    if (def.kaigyo == 0) {
      if (Passes(def, lastText_, FoldedLastText(def))) {
        SetLastText(ApplyConversions(def, lastText_, services_));
        InsertAtTop(lastText_, index);
        took = true;
      }
      return took;
    }
    for (std::string& line : lineList) {
      if (Passes(def, line, text::FoldedText(NeedsFolding(def) ? line : std::string_view()))) {
        line = ApplyConversions(def, line, services_);
        InsertAtTop(line, index);
        took = true;
      }
    }
    return took;
  }

  void SetLastText(std::string text) {
    lastText_ = std::move(text);
    folded_.reset();
  }

  // The whole-text filters of one run mostly test the same text: fold it once.
  const text::FoldedText& FoldedLastText(const FilterDef& def) {
    static const text::FoldedText kUnused{std::string_view()};
    if (!NeedsFolding(def)) {
      return kUnused;
    }
    if (!folded_) {
      folded_.emplace(lastText_);
    }
    return *folded_;
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
  lists::ListStore& store_;
  std::string& lastText_;
  const text::TextServices& services_;
  std::vector<std::vector<std::string>> pending_;
  std::optional<text::FoldedText> folded_;
};

}  // namespace

FilterRun RunFilters(lists::ListStore& store, std::string& lastText,
                     const text::TextServices& services) {
  const Sequences sequences = SortByType(store);
  Run run(store, lastText, services);
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

std::string ApplyConversions(const FilterDef& def, std::string_view text,
                             const text::TextServices& services) {
  std::string result(text);
  if (def.zen) {
    result = text::FullToHalfWidth(result);
  }
  if (def.caps) {
    result = text::MapString(services, text::Mapping::kLowerCase, result);
  }
  if (def.small) {
    result = text::MapString(services, text::Mapping::kUpperCase, result);
  }
  for (int row = 0; row < kReplacementRows; ++row) {
    if (!def.exfrom[row].empty()) {
      result = ReplaceAll(result, def.exfrom[row], def.exto[row]);
    }
  }
  return result;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) {
    return std::string(text);
  }
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;    // text before this is in `out`
  std::size_t boundary = 0;  // a character starts here; walked forward to each hit
  for (std::size_t hit = text.find(from); hit != std::string_view::npos;
       hit = text.find(from, hit + 1)) {
    while (boundary < hit) {
      boundary += text::CharSizeAt(text, boundary);
    }
    if (boundary != hit) {
      continue;  // inside a two-byte character
    }
    out.append(text.substr(copied, hit - copied)).append(to);
    copied = boundary = hit + from.size();
    hit = copied - 1;
  }
  out.append(text.substr(copied));
  return out;
}

bool ContainsWords(const text::FoldedText& text, std::string_view words, std::int32_t count) {
  std::int32_t found = 0;
  std::size_t pos = 0;
  while (pos < words.size()) {
    const std::size_t space = words.find(' ', pos);
    const std::string_view word =
        words.substr(pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
    if (!word.empty() && text.Contains(text::ToUpperCase(word))) {
      ++found;
    }
    if (space == std::string_view::npos) {
      break;
    }
    pos = space + 1;
  }
  return found >= count;
}

bool ContainsWords(std::string_view text, std::string_view words, std::int32_t count) {
  return ContainsWords(text::FoldedText(text), words, count);
}

bool OnlyLimitingChars(std::string_view text, std::string_view characters) {
  if (text.empty() || characters.empty()) {
    return false;
  }
  std::vector<unsigned> allowed;
  for (std::size_t pos = 0; pos < characters.size(); pos += text::CharSizeAt(characters, pos)) {
    allowed.push_back(text::FoldedCharAt(characters, pos));
  }
  std::sort(allowed.begin(), allowed.end());
  const auto isAllowed = [&allowed](unsigned ch) {
    return std::binary_search(allowed.begin(), allowed.end(), ch);
  };
  const bool spaceAllowed = isAllowed(' ') || isAllowed(0x8140);
  bool holdsMoreThanSpace = false;
  for (std::size_t pos = 0; pos < text.size(); pos += text::CharSizeAt(text, pos)) {
    const unsigned ch = text::FoldedCharAt(text, pos);
    if (ch != ' ' && ch != 0x8140 && ch != '\r' && ch != '\n') {
      holdsMoreThanSpace = true;
    }
    if (!isAllowed(ch)) {
      return false;
    }
  }
  return !spaceAllowed || holdsMoreThanSpace;
}

}  // namespace pellix::capture
