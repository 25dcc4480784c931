#include "core/capture/long_text_memo.h"

#include <algorithm>

namespace pellix::capture {

const LongTextMemo::Entry* LongTextMemo::Find(std::string_view text) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [text](const Entry& entry) { return entry.text == text; });
  return found == entries_.end() ? nullptr : &*found;
}

LongTextMemo::Entry* LongTextMemo::Find(std::string_view text) {
  return const_cast<Entry*>(std::as_const(*this).Find(text));
}

LongTextMemo::Entry* LongTextMemo::FindOrAdd(std::string_view text) {
  if (Entry* known = Find(text)) {
    return known;
  }
  if (entries_.size() == kMaxTexts) {
    return nullptr;
  }
  return &entries_.emplace_back(Entry{std::string(text), std::nullopt, {}});
}

text::FoldedText* LongTextMemo::Folded(std::string_view text) {
  Entry* entry = FindOrAdd(text);
  if (entry == nullptr) {
    return nullptr;
  }
  if (!entry->folded) {
    entry->folded.emplace(text);
  }
  return &*entry->folded;
}

const std::string* LongTextMemo::Converted(std::size_t conversion, std::string_view text) const {
  const Entry* entry = Find(text);
  if (entry == nullptr) {
    return nullptr;
  }
  for (const auto& [done, result] : entry->converted) {
    if (done == conversion) {
      return &result->text;
    }
  }
  return nullptr;
}

void LongTextMemo::NoteConverted(std::size_t conversion, std::string_view input,
                                 std::string_view output, bool settled) {
  Entry* from = FindOrAdd(input);
  Entry* to = from != nullptr ? FindOrAdd(output) : nullptr;
  if (to == nullptr) {
    return;
  }
  from->converted.emplace_back(conversion, to);
  if (settled && to != from) {
    to->converted.emplace_back(conversion, to);
  }
}

}  // namespace pellix::capture
