#include "core/sync/conflict_copies.h"

#include <algorithm>

#include "core/text/ascii.h"

namespace pellix::sync {
namespace {

bool Same(std::u16string_view a, std::u16string_view b) {
  return text::EqualsIgnoringAsciiCase(a, b);
}

bool StartsWith(std::u16string_view text, std::u16string_view start) {
  return text.size() >= start.size() && Same(text.substr(0, start.size()), start);
}

bool EndsWith(std::u16string_view text, std::u16string_view end) {
  return text.size() >= end.size() && Same(text.substr(text.size() - end.size()), end);
}

bool Digits(std::u16string_view text, std::size_t count) {
  return text.size() == count && std::all_of(text.begin(), text.end(),
                                             [](char16_t ch) { return ch >= u'0' && ch <= u'9'; });
}

bool Alphanumeric(char16_t ch) {
  return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
}

// ".sync-conflict-20261209-153012-ABCDEF1"
bool SyncConflictMark(std::u16string_view middle) {
  constexpr std::u16string_view kMark = u".sync-conflict-";
  if (!StartsWith(middle, kMark)) {
    return false;
  }
  middle.remove_prefix(kMark.size());
  if (middle.size() < 17 || !Digits(middle.substr(0, 8), 8) || middle[8] != u'-' ||
      !Digits(middle.substr(9, 6), 6) || middle[15] != u'-') {
    return false;
  }
  const std::u16string_view device = middle.substr(16);
  return !device.empty() && std::all_of(device.begin(), device.end(), Alphanumeric);
}

// " (pc-a's conflicted copy 2026-12-09)", and the services' translations.
bool ConflictedCopyMark(std::u16string_view middle) {
  if (middle.size() < 4 || !StartsWith(middle, u" (") || middle.back() != u')') {
    return false;
  }
  return middle.find(u"conflicted copy") != std::u16string_view::npos ||
         middle.find(u"競合コピー") != std::u16string_view::npos;
}

// "-DESKTOP7", "-DESKTOP7-2": a machine's name (at most 15 characters, upper case, digits and
// hyphens), perhaps numbered.
bool MachineMark(std::u16string_view middle) {
  if (middle.size() < 2 || middle[0] != u'-') {
    return false;
  }
  middle.remove_prefix(1);
  const std::size_t dash = middle.rfind(u'-');
  if (dash != std::u16string_view::npos && dash + 1 < middle.size() &&
      std::all_of(middle.begin() + static_cast<std::ptrdiff_t>(dash) + 1, middle.end(),
                  [](char16_t ch) { return ch >= u'0' && ch <= u'9'; })) {
    middle = middle.substr(0, dash);
  }
  const auto machineCharacter = [](char16_t ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'Z') || ch == u'-';
  };
  return !middle.empty() && middle.size() <= 15 && middle[0] != u'-' &&
         std::all_of(middle.begin(), middle.end(), machineCharacter);
}

}  // namespace

std::optional<std::u16string> ConflictCopyOf(std::u16string_view name,
                                             const std::vector<std::u16string>& ownNames,
                                             const std::vector<std::u16string>& folderNames) {
  const auto among = [](const std::vector<std::u16string>& names, std::u16string_view wanted) {
    return std::any_of(names.begin(), names.end(),
                       [wanted](const std::u16string& known) { return Same(known, wanted); });
  };
  if (among(ownNames, name)) {
    return std::nullopt;
  }
  const auto listWithFilter = [&] {
    if (!EndsWith(name, u".dat")) {
      return false;
    }
    const std::u16string filter = std::u16string(name.substr(0, name.size() - 4)) + u".flt";
    return among(folderNames, filter);
  };
  for (const std::u16string& own : ownNames) {
    const std::size_t dot = own.rfind(u'.');
    const std::u16string_view stem = std::u16string_view(own).substr(0, dot);
    const std::u16string_view extension =
        dot == std::u16string::npos ? std::u16string_view() : std::u16string_view(own).substr(dot);
    if (name.size() <= own.size() || !StartsWith(name, stem) || !EndsWith(name, extension)) {
      continue;
    }
    const std::u16string_view middle =
        name.substr(stem.size(), name.size() - stem.size() - extension.size());
    if (SyncConflictMark(middle) || ConflictedCopyMark(middle) ||
        (MachineMark(middle) && !listWithFilter())) {
      return own;
    }
  }
  return std::nullopt;
}

}  // namespace pellix::sync
