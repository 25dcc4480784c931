#include "core/io/leftovers.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/io/errors.h"
#include "core/text/ascii.h"

namespace pellix::io {
namespace {

using text::EqualsIgnoringAsciiCase;

bool EndsWithIgnoringCase(std::u16string_view name, std::u16string_view end) {
  return name.size() > end.size() &&
         EqualsIgnoringAsciiCase(name.substr(name.size() - end.size()), end);
}

// "<list>.dat.bak", "<list>.dat.bak2" and on.
bool IsKeptCopy(std::u16string_view name) {
  const std::size_t bak = name.rfind(u".bak");
  if (bak == std::u16string_view::npos || !EndsWithIgnoringCase(name.substr(0, bak), u".dat")) {
    return false;
  }
  const std::u16string_view number = name.substr(bak + 4);
  return std::all_of(number.begin(), number.end(),
                     [](char16_t ch) { return ch >= u'0' && ch <= u'9'; });
}

std::u16string_view WithoutSuffix(std::u16string_view name, std::u16string_view suffix) {
  return name.ends_with(suffix) && name.size() > suffix.size()
             ? name.substr(0, name.size() - suffix.size())
             : std::u16string_view();
}

// What is left alone in case another instance is at work on it.
constexpr std::int64_t kLeftAlone = 60;

std::string Narrow(std::u16string_view ascii) {
  return std::string(ascii.begin(), ascii.end());
}

}  // namespace

bool IsOwnFileName(std::u16string_view name) {
  return EndsWithIgnoringCase(name, u".dat") || EndsWithIgnoringCase(name, u".flt") ||
         IsKeptCopy(name) || EqualsIgnoringAsciiCase(name, u"pellix.ini") ||
         EqualsIgnoringAsciiCase(name, u"memo.txt");
}

void CleanUpLeftovers(const FileSystem& files, const std::u16string& dir, std::u16string_view tag) {
  const std::vector<std::u16string> names = files.FileNames(dir);
  const auto present = [&names](std::u16string_view wanted) {
    return std::any_of(names.begin(), names.end(), [&](const std::u16string& name) {
      return EqualsIgnoringAsciiCase(name, wanted);
    });
  };
  const std::int64_t now = files.StampNow();
  const auto old = [&](const std::u16string& name) {
    const std::optional<FileStamp> stamp = files.Stat(dir + name);
    return now != 0 && stamp && now - stamp->writeTime >= kLeftAlone * kStampTicksPerSecond;
  };
  const std::u16string ownMark = u"." + std::u16string(tag);
  for (const std::u16string& name : names) {
    // An unfinished write, or the second name of a file already replaced: this installation's,
    // or one without a tag that nobody touched for a minute.
    for (const std::u16string_view suffix : {kTemporarySuffix, kReplacedSuffix}) {
      const std::u16string_view written = WithoutSuffix(name, suffix);
      const std::u16string_view own = WithoutSuffix(written, ownMark);
      if ((!own.empty() && IsOwnFileName(own)) ||
          (!written.empty() && IsOwnFileName(written) && old(name))) {
        files.Remove(dir + name);
      }
    }
    // A lock this installation held when it stopped, or one it was taking over.
    const std::u16string_view locked = WithoutSuffix(name, kLockSuffix);
    if (!locked.empty() && IsOwnFileName(locked) && !tag.empty()) {
      try {
        if (std::string_view(files.ReadAll(dir + name)).starts_with(Narrow(tag) + " ")) {
          files.Remove(dir + name);
        }
      } catch (const AppError&) {
      }
    }
    if (!WithoutSuffix(name, ownMark + u".stale").empty() && !tag.empty()) {
      files.Remove(dir + name);
    }
    // The file went to its step name and never on to its new one: under its old name it is
    // found again whichever name the settings hold, as the names differ in letter case alone.
    const std::u16string_view renamed = WithoutSuffix(name, kRenamingSuffix);
    if (!renamed.empty() && IsOwnFileName(renamed) && !present(renamed) && old(name)) {
      files.Rename(dir + name, dir + std::u16string(renamed));
    }
  }
}

}  // namespace pellix::io
