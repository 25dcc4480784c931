#pragma once
// Filter files: "<list name>.flt" beside the executable, 27 key=value lines in code page 932.

#include <string>
#include <string_view>

#include "core/filters/filter_def.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"

namespace pellix::filters {

std::u16string FilterFilePath(const io::AppFolder& folder, std::string_view listName);

// Parses a filter file's content. Keys are matched without regard to case, the first matching
// line wins and the value is everything after the first '=', untrimmed. Throws
// IntegerConversionError for a count that is no decimal integer, naming `fileName` (the file's
// name without its folder) and the key.
FilterDef ParseFilterFile(std::string_view content, std::u16string fileName);

// The 27 lines, each ended by CR LF.
std::string FormatFilterFile(const FilterDef& def);

// The content of a filter file whose list was renamed to `name`: the first line whose key is
// "filname" (in any case) keeps its place and its key and takes `name` as its value; without
// such a line, one is added at the end. Every other line stays as it was, in its order, so a
// file written by another version keeps what this one does not know. Lines end with CR LF.
std::string WithFilname(std::string_view content, std::string_view name);

// Reads the filter file named after the list. The result is complete or an exception is thrown
// (FileOpenError, IntegerConversionError); the caller's record is never half-updated.
FilterDef ReadFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                         std::string_view listName);

// Writes `def` to the file named after its own `filname`.
void WriteFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                     const FilterDef& def);

}  // namespace pellix::filters
