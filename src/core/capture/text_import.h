#pragma once
// A text file taken in by hand: either sorted through the filters as one text, or put line by
// line into the shown list. Files may come from any editor, so a file that is UTF-8 or UTF-16
// is read as such and converted as a capture is; any other file is code page 932 as it stands.

#include <optional>
#include <string>
#include <string_view>

#include "core/capture/filter_engine.h"
#include "core/lists/list_id.h"
#include "core/lists/list_store.h"
#include "core/lists/view_state.h"
#include "core/text/text_services.h"

namespace pellix::capture {

// The file's text in code page 932, up to its first zero byte (or zero character). Characters
// the code page lacks become '?'.
std::string ImportedText(const text::TextServices& services, std::string_view fileBytes);

// Its lines: split at CR LF, CR and LF; a break at the very end adds no empty line.
lists::Items ImportedLines(const text::TextServices& services, std::string_view fileBytes);

// The lines for the Unicode list: read as its own file is read (a byte-order mark, else code
// page 932), except that a file of valid UTF-8 without a mark is UTF-8 here too. Split at CR LF,
// CR, LF and U+2028; a zero character ends the text.
lists::WideItems ImportedUnicodeLines(const text::TextServices& services,
                                      std::string_view fileBytes);

// Every line of `text` followed by CR LF, the last one too.
std::string JoinLinesWithCrLf(std::string_view text);

// Whether the joined text of an imported file goes to the filters: not when it is empty, a bare
// CR LF or a repeat of `lastText`. Unlike a capture, the text is never cut.
bool ShouldSortImportedText(std::string_view joined, std::string_view lastText);

// "はい": the file's lines joined, each followed by CR LF, become `lastText` and run through the
// filters as one text. Nothing happens (nullopt) when ShouldSortImportedText refuses the text.
std::optional<FilterRun> SortImportedFile(lists::ListStore& store, std::string& lastText,
                                          const text::TextServices& services,
                                          std::string_view fileBytes);

// What "いいえ" did to the list it filled.
struct LineImport {
  lists::ListId list;
  lists::EditResult result;
};

// "いいえ": the file's lines go into the current list at the focus mark of `shownView`, the
// view of that list (the Unicode list's view when the Unicode list is current). Nothing happens
// (nullopt) when no list is current.
std::optional<LineImport> InsertImportedFile(lists::ListStore& store,
                                             const lists::ViewState& shownView,
                                             const text::TextServices& services,
                                             std::string_view fileBytes);

}  // namespace pellix::capture
