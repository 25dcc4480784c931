#include "filter_engine_reference.h"

#include <algorithm>
#include <vector>

#include "core/io/integer.h"
#include "core/text/case_fold.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"

namespace pellix::capture::reference {
namespace {

using text::CharSizeAt;

unsigned CodeAt(std::string_view text, std::size_t pos) {
  const auto first = static_cast<unsigned char>(text[pos]);
  return CharSizeAt(text, pos) == 2 ? first << 8 | static_cast<unsigned char>(text[pos + 1])
                                    : first;
}

unsigned UpperOf(unsigned code) {
  if (code < 0x100) {
    return code >= 'a' && code <= 'z' ? code - 32 : code;
  }
  for (const text::CaseFoldPair* pair = text::CaseFoldPairsBegin();
       pair != text::CaseFoldPairsEnd(); ++pair) {
    if (pair->lower == code) {
      return pair->upper;
    }
  }
  return code;
}

unsigned LowerOf(unsigned code) {
  if (code < 0x100) {
    return code >= 'A' && code <= 'Z' ? code + 32 : code;
  }
  // Where two codes of one character map to the same upper case, the one the platform writes
  // (not the NEC-selected copy under lead byte 0xEE).
  unsigned found = 0;
  for (const text::CaseFoldPair* pair = text::CaseFoldPairsBegin();
       pair != text::CaseFoldPairsEnd(); ++pair) {
    if (pair->upper == code && (found == 0 || (found >> 8) == 0xEE)) {
      found = pair->lower;
    }
  }
  return found != 0 ? found : code;
}

void Append(std::string& out, unsigned code) {
  if (code >= 0x100) {
    out += static_cast<char>(code >> 8);
  }
  out += static_cast<char>(code & 0xFF);
}

template <typename Map>
std::string MapChars(std::string_view text, Map&& map) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size(); pos += CharSizeAt(text, pos)) {
    Append(out, map(CodeAt(text, pos), CharSizeAt(text, pos)));
  }
  return out;
}

std::string Upper(std::string_view text) {
  return MapChars(text, [](unsigned code, std::size_t) { return UpperOf(code); });
}
std::string Lower(std::string_view text) {
  return MapChars(text, [](unsigned code, std::size_t) { return LowerOf(code); });
}
std::string HalfWidth(std::string_view text) {
  return MapChars(text, [](unsigned code, std::size_t size) {
    if (size == 2) {
      for (const text::NarrowableChar* entry = text::NarrowableCharsBegin();
           entry != text::NarrowableCharsEnd(); ++entry) {
        if (entry->bytes == code) {
          return unsigned{entry->narrow};
        }
      }
    }
    return code;
  });
}

// Character for character, case ignored, from every character start of the text.
bool ContainsFolded(std::string_view text, std::string_view word) {
  for (std::size_t start = 0; start < text.size(); start += CharSizeAt(text, start)) {
    std::size_t t = start;
    std::size_t w = 0;
    while (w < word.size() && t < text.size() && CharSizeAt(word, w) == CharSizeAt(text, t) &&
           UpperOf(CodeAt(word, w)) == UpperOf(CodeAt(text, t))) {
      w += CharSizeAt(word, w);
      t += CharSizeAt(text, t);
    }
    if (w == word.size()) {
      return true;
    }
  }
  return false;
}

bool Passes(const filters::FilterDef& def, std::string_view subject) {
  if (!def.cstring.empty()) {
    return OnlyLimitingChars(subject, def.cstring);
  }
  return ContainsWords(subject, def.astring, def.acount) &&
         (def.bstring.empty() || ContainsWords(subject, def.bstring, def.bcount));
}

}  // namespace

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) {
    return std::string(text);
  }
  std::string out;
  std::size_t pos = 0;  // a character starts here, or a replacement ended here
  while (pos < text.size()) {
    if (text.substr(pos, from.size()) == from) {
      out.append(to);
      pos += from.size();
    } else {
      out.append(text.substr(pos, CharSizeAt(text, pos)));
      pos += CharSizeAt(text, pos);
    }
  }
  return out;
}

std::string ApplyConversions(const filters::FilterDef& def, std::string_view text) {
  std::string result(text);
  if (def.zen) {
    result = HalfWidth(result);
  }
  if (def.caps) {
    result = Lower(result);
  }
  if (def.small) {
    result = Upper(result);
  }
  for (int row = 0; row < filters::kReplacementRows; ++row) {
    result = ReplaceAll(result, def.exfrom[row], def.exto[row]);
  }
  return result;
}

bool ContainsWords(std::string_view text, std::string_view words, std::int32_t count) {
  std::int32_t found = 0;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos <= words.size(); ++pos) {
    if (pos == words.size() || words[pos] == ' ') {
      const std::string_view word = words.substr(start, pos - start);
      if (!word.empty() && ContainsFolded(text, word)) {
        ++found;
      }
      start = pos + 1;
    }
  }
  return found >= count;
}

bool OnlyLimitingChars(std::string_view text, std::string_view characters) {
  if (text.empty() || characters.empty()) {
    return false;
  }
  std::vector<unsigned> allowed;
  for (std::size_t pos = 0; pos < characters.size(); pos += CharSizeAt(characters, pos)) {
    allowed.push_back(UpperOf(CodeAt(characters, pos)));
  }
  const auto isAllowed = [&allowed](unsigned code) {
    return std::find(allowed.begin(), allowed.end(), code) != allowed.end();
  };
  const bool spaceAllowed = isAllowed(' ') || isAllowed(0x8140);
  bool onlySpace = true;
  for (std::size_t pos = 0; pos < text.size(); pos += CharSizeAt(text, pos)) {
    const unsigned code = UpperOf(CodeAt(text, pos));
    if (code != ' ' && code != 0x8140 && code != '\r' && code != '\n') {
      onlySpace = false;
    }
    if (!isAllowed(code)) {
      return false;
    }
  }
  return !(spaceAllowed && onlySpace);
}

FilterRun RunFilters(lists::ListStore& store, std::string& lastText) {
  std::vector<std::size_t> acceptAll;
  std::vector<std::size_t> priority;
  std::vector<std::size_t> nonPriority;
  for (std::size_t i = 0; i < store.Count(); ++i) {
    const std::int32_t type = io::ParseInt32(store.Slot(i).filter.type);
    if (type == 1) {
      acceptAll.push_back(i);
    } else if (type == 2) {
      priority.push_back(i);
    } else if (type == 3) {
      nonPriority.push_back(i);
    }
  }
  FilterRun run;
  run.inserted.resize(store.Count());
  const auto insert = [&](const std::string& text, std::size_t index) {
    store.InsertAtTop(index, {text});
    ++run.inserted[index];
  };
  for (const std::size_t index : acceptAll) {
    lastText = ApplyConversions(store.Slot(index).filter, lastText);
    insert(lastText, index);
  }
  std::vector<std::string> lineList = text::SplitLines(lastText);
  const auto filter = [&](std::size_t index) {
    const filters::FilterDef def = store.Slot(index).filter;
    bool took = false;
    if (def.kaigyo == 0) {
      if (Passes(def, lastText)) {
        lastText = ApplyConversions(def, lastText);
        insert(lastText, index);
        took = true;
      }
      return took;
    }
    for (std::string& line : lineList) {
      if (Passes(def, line)) {
        line = ApplyConversions(def, line);
        insert(line, index);
        took = true;
      }
    }
    return took;
  };
  bool matchedPriority = false;
  for (const std::size_t index : priority) {
    matchedPriority = filter(index) || matchedPriority;
  }
  if (!matchedPriority) {
    for (const std::size_t index : nonPriority) {
      filter(index);
    }
  }
  return run;
}

}  // namespace pellix::capture::reference
