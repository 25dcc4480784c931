#pragma once
// Search keys: a text folded so that a plain substring search ignores letter case and the
// width of letters, digits and katakana. Ａ, a and A fold alike, and so do ｶﾞ and ガ (a
// half-width katakana with its sound mark becomes the one full-width letter). Hiragana and
// katakana stay apart.

#include <string>
#include <string_view>

namespace pellix::text {

// Code page 932 text, folded one character at a time; the result is code page 932 again, with
// its characters still whole (a trail byte is never changed on its own).
std::string FoldCp932(std::string_view text);

// The same folding for UTF-16 text.
std::u16string FoldUtf16(std::u16string_view text);

// Where a match may start: `pos` is the first byte of a character of `text`, not the second
// byte of a two-byte one; the end of the text counts as one. Looks back only over the run of
// lead-byte values before `pos`.
bool IsCharStart(std::string_view text, std::size_t pos);

}  // namespace pellix::text
