#include "core/capture/file_drop.h"

#include <algorithm>

#include "core/text/codec.h"

namespace pellix::capture {

std::string DropText(const text::TextServices& services, std::vector<std::u16string> paths) {
  // Stable, so names the locale holds equal keep the order the shell gave them in.
  std::stable_sort(paths.begin(), paths.end(),
                   [&services](const std::u16string& a, const std::u16string& b) {
                     return services.Compare(a, b, true) < 0;
                   });
  std::u16string joined;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    joined.append(i == 0 ? u"" : u"\r\n").append(paths[i]);
  }
  std::size_t end = joined.size();
  while (end > 0 && joined[end - 1] <= u' ') {
    --end;
  }
  joined.resize(end);
  return text::Utf16ToCp932(services, joined);
}

std::optional<FilterRun> SortDroppedFiles(lists::ListStore& store, std::string& lastText,
                                          const text::TextServices& services,
                                          std::vector<std::u16string> paths) {
  if (paths.empty()) {
    return std::nullopt;
  }
  lastText = DropText(services, std::move(paths));
  return RunFilters(store, lastText, services);
}

}  // namespace pellix::capture
