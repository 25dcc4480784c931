#pragma once
// The tooltip of an item of the ordinary list.

#include <string>
#include <string_view>

namespace pellix::app {

// （以下略）　・ ・ ・ ・ ・ ・ ・ ・ in code page 932: the line that stands for the lines left
// out.
inline constexpr std::string_view kMoreLinesLine =
    "\x81\x69\x88\xC8\x89\xBA\x97\xAA\x81\x6A\x81\x40\x81\x45\x20\x81\x45\x20\x81\x45\x20\x81\x45"
    "\x20\x81\x45\x20\x81\x45\x20\x81\x45\x20\x81\x45\x20";

// An item of up to 5 lines is shown as it is. A longer one shows its first 5 lines and the line
// above, joined by CR LF, with the blanks and control characters at the end taken off.
std::string AnsiTooltipText(std::string_view item);

}  // namespace pellix::app
