#pragma once
// UTF-8 ⇄ UTF-16 without the platform. Malformed input becomes U+FFFD, one per bad sequence.

#include <string>
#include <string_view>

namespace pellix::text {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace pellix::text
