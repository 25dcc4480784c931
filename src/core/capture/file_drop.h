#pragma once
// Files dropped on the main window: their path names, never their contents, are sorted through
// the filters as one text.

#include <optional>
#include <string>
#include <vector>

#include "core/capture/filter_engine.h"
#include "core/lists/list_store.h"
#include "core/text/text_services.h"

namespace pellix::capture {

// The path names in the user locale's order without regard to case, joined by CR LF, with the
// trailing spaces and control characters of the whole removed, in code page 932. Paths of any
// length are kept whole.
std::string DropText(const text::TextServices& services, std::vector<std::u16string> paths);

// The drop's text becomes `lastText` and runs through the filters: no check for a repeat and no
// cut, so the same files dropped twice are sorted twice. A drop without files does nothing.
std::optional<FilterRun> SortDroppedFiles(lists::ListStore& store, std::string& lastText,
                                          const text::TextServices& services,
                                          std::vector<std::u16string> paths);

}  // namespace pellix::capture
