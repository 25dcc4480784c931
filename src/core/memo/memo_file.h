#pragma once
// The memo's file "memo.txt" beside the program: exactly the memo's text with CR LF line breaks
// and nothing added at the end. The program writes code page 932; a memo another editor saved
// in UTF-8 or UTF-16 is read as such and written back the way it came, so neither its
// characters nor its encoding are lost.

#include <string>
#include <string_view>

#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/text/file_encoding.h"
#include "core/text/text_services.h"

namespace pellix::memo {

inline constexpr std::u16string_view kMemoFileName = u"memo.txt";

std::u16string MemoFilePath(const io::AppFolder& folder);

struct MemoText {
  std::u16string text;
  text::DetectedEncoding encoding;  // the file's, to write it back in
};

// The memo from the file's bytes, told apart as a text import tells them (a mark, else valid
// UTF-8, else code page 932): a lone CR or a lone LF becomes CR LF, as the memo's field holds
// its breaks; a zero character ends the text, as the field cannot hold one.
MemoText ParseMemoFile(const text::TextServices& services, std::string_view bytes);

// The file's bytes for `text` in `encoding`, its mark included.
std::string FormatMemoFile(const text::TextServices& services, std::u16string_view text,
                           text::DetectedEncoding encoding);

// The memo, or an empty code page 932 one when there is no memo file yet. Throws FileOpenError
// when the file is there but cannot be read.
MemoText ReadMemoFile(const io::FileSystem& files, const io::AppFolder& folder,
                      const text::TextServices& services);

// Replaces the file with exactly the memo. Throws FileCreateError.
void WriteMemoFile(const io::FileSystem& files, const io::AppFolder& folder,
                   const text::TextServices& services, const MemoText& memo);

}  // namespace pellix::memo
