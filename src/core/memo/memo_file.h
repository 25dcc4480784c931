#pragma once
// The memo's file "memo.txt" beside the program: exactly the memo's text, code page 932 with
// CR LF line breaks and nothing added at the end.

#include <string>
#include <string_view>

#include "core/io/app_folder.h"
#include "core/io/file_system.h"

namespace pellix::memo {

inline constexpr std::u16string_view kMemoFileName = u"memo.txt";

std::u16string MemoFilePath(const io::AppFolder& folder);

// The memo's text from the file's bytes: a lone CR or a lone LF becomes CR LF, as the memo's
// field holds its breaks; a zero byte ends the text, as the field cannot hold one.
std::string ParseMemoFile(std::string_view bytes);

// The memo's text, or an empty one when there is no memo file yet. Throws FileOpenError when
// the file is there but cannot be read.
std::string ReadMemoFile(const io::FileSystem& files, const io::AppFolder& folder);

// Replaces the file with exactly `text`. Throws FileCreateError.
void WriteMemoFile(const io::FileSystem& files, const io::AppFolder& folder, std::string_view text);

}  // namespace pellix::memo
