#include "core/capture/filter_engine.h"

#include "core/io/integer.h"
#include "core/text/case_fold.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"

namespace pellix::capture {
namespace {

constexpr std::string_view kIdeographicSpace = "\x81\x40";

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

bool Passes(const FilterDef& def, std::string_view subject) {
  if (!def.cstring.empty()) {
    return OnlyLimitingChars(subject, def.cstring);
  }
  return ContainsWords(subject, def.astring, def.acount) &&
         (def.bstring.empty() || ContainsWords(subject, def.bstring, def.bcount));
}

class Run {
 public:
  Run(lists::ListStore& store, std::string& lastText, const text::TextServices& services)
      : store_(store), lastText_(lastText), services_(services) {
    result_.inserted.assign(store.Count(), 0);
  }

  void InsertAtTop(const std::string& text, std::size_t index) {
    lists::Items& items = store_.MutableItems(index);
    items.insert(items.begin(), text);
    ++result_.inserted[index];
  }

  void AcceptAll(std::size_t index) {
    lastText_ = ApplyConversions(store_.Slot(index).filter, lastText_, services_);
    InsertAtTop(lastText_, index);
  }

  // Returns whether the list took anything.
  bool Filter(std::size_t index, std::vector<std::string>& lineList) {
    const FilterDef& def = store_.Slot(index).filter;
    bool took = false;
    if (def.kaigyo == 0) {
      if (Passes(def, lastText_)) {
        lastText_ = ApplyConversions(def, lastText_, services_);
        InsertAtTop(lastText_, index);
        took = true;
      }
      return took;
    }
    for (std::string& line : lineList) {
      if (Passes(def, line)) {
        line = ApplyConversions(def, line, services_);
        InsertAtTop(line, index);
        took = true;
      }
    }
    return took;
  }

  FilterRun Finish() { return std::move(result_); }
  FilterRun& Result() { return result_; }

 private:
  lists::ListStore& store_;
  std::string& lastText_;
  const text::TextServices& services_;
  FilterRun result_;
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
    run.Result().failed = true;
    lastText = " ";
  }
  return run.Finish();
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
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text.substr(pos, from.size()) == from) {
      out.append(to);
      pos += from.size();
      continue;
    }
    const std::size_t size = text::CharSizeAt(text, pos);
    out.append(text.substr(pos, size));
    pos += size;
  }
  return out;
}

bool ContainsWords(std::string_view text, std::string_view words, std::int32_t count) {
  std::int32_t found = 0;
  std::size_t pos = 0;
  while (pos < words.size()) {
    const std::size_t space = words.find(' ', pos);
    const std::string_view word =
        words.substr(pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
    if (!word.empty() && text::FindIgnoringCase(text, word) != std::string_view::npos) {
      ++found;
    }
    if (space == std::string_view::npos) {
      break;
    }
    pos = space + 1;
  }
  return found >= count;
}

bool OnlyLimitingChars(std::string_view text, std::string_view characters) {
  if (text.empty() || characters.empty()) {
    return false;
  }
  const bool spaceAllowed =
      text::FindIgnoringCase(characters, " ") != std::string_view::npos ||
      text::FindIgnoringCase(characters, kIdeographicSpace) != std::string_view::npos;
  bool holdsMoreThanSpace = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = text::CharSizeAt(text, pos);
    const std::string_view ch = text.substr(pos, size);
    if (spaceAllowed && ch != " " && ch != kIdeographicSpace && ch != "\r" && ch != "\n") {
      holdsMoreThanSpace = true;
    }
    if (text::FindIgnoringCase(characters, ch) == std::string_view::npos) {
      return false;
    }
    pos += size;
  }
  return !spaceAllowed || holdsMoreThanSpace;
}

}  // namespace pellix::capture
