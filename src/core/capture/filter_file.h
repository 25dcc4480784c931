#pragma once
// Filter files: "<list name>.flt" beside the executable, 27 key=value lines in code page 932.

#include <string>
#include <string_view>

#include "core/capture/filter_def.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"

namespace pellix::capture {

std::u16string FilterFilePath(const io::AppFolder& folder, std::string_view listName);

// Parses a filter file's content. Keys are matched without regard to case, the first matching
// line wins and the value is everything after the first '=', untrimmed. Throws
// IntegerConversionError for a count that is no decimal integer.
FilterDef ParseFilterFile(std::string_view content);

// The 27 lines, each ended by CR LF.
std::string FormatFilterFile(const FilterDef& def);

// Reads the filter file named after the list. The result is complete or an exception is thrown
// (FileOpenError, IntegerConversionError); the caller's record is never half-updated.
FilterDef ReadFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                         std::string_view listName);

// Writes `def` to the file named after its own `filname`.
void WriteFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                     const FilterDef& def);

}  // namespace pellix::capture
