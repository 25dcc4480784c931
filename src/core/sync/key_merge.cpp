#include "core/sync/key_merge.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/text/ascii.h"

namespace pellix::sync {
namespace {

struct Group {
  std::string key;  // lower case; "list#" for the list of lists
  std::vector<std::string_view> lines;
};

std::string KeyOfLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  std::string key(line.substr(0, equals));
  std::transform(key.begin(), key.end(), key.begin(),
                 [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; });
  if (key.size() > 4 && key.starts_with("list") &&
      std::all_of(key.begin() + 4, key.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
    return "list#";
  }
  return key;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// A key's lines wherever they stand (the reader takes the first line of a key; a key written
// twice is one group).
std::vector<Group> Groups(std::string_view text) {
  std::vector<Group> groups;
  for (const std::string_view line : SplitLines(text)) {
    if (line.empty()) {
      continue;
    }
    std::string key = KeyOfLine(line);
    const auto known = std::find_if(groups.begin(), groups.end(),
                                    [&key](const Group& group) { return group.key == key; });
    if (known != groups.end()) {
      known->lines.push_back(line);
    } else {
      groups.push_back(Group{std::move(key), {line}});
    }
  }
  return groups;
}

const Group* Find(const std::vector<Group>& groups, const std::string& key) {
  const auto found = std::find_if(groups.begin(), groups.end(),
                                  [&key](const Group& group) { return group.key == key; });
  return found != groups.end() ? &*found : nullptr;
}

bool SameLines(const Group* a, const Group* b) {
  return a == nullptr ? b == nullptr : b != nullptr && a->lines == b->lines;
}

}  // namespace

std::string MergeKeyLines(std::string_view found, std::string_view before, std::string_view mine) {
  const std::vector<Group> foundGroups = Groups(found);
  const std::vector<Group> beforeGroups = Groups(before);
  const std::vector<Group> mineGroups = Groups(mine);
  std::vector<const Group*> merged;
  for (const Group& group : mineGroups) {
    const Group* earlier = Find(beforeGroups, group.key);
    const Group* there = Find(foundGroups, group.key);
    if (!SameLines(&group, earlier)) {
      merged.push_back(&group);  // changed here: this instance's value wins
    } else if (there != nullptr) {
      merged.push_back(there);  // as it is there, changed or not
    }
    // Unchanged here and gone there: removed there.
  }
  for (const Group& group : foundGroups) {
    if (Find(mineGroups, group.key) != nullptr) {
      continue;
    }
    // Only there: added there, or changed there while this instance removed it; a key removed
    // here that the other left as it was stays removed.
    if (!SameLines(&group, Find(beforeGroups, group.key))) {
      merged.push_back(&group);
    }
  }
  std::string text;
  for (const Group* group : merged) {
    for (const std::string_view line : group->lines) {
      text.append(line).append("\r\n");
    }
  }
  return text;
}

}  // namespace pellix::sync
