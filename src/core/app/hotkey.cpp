#include "core/app/hotkey.h"

namespace pellix::app {

std::optional<int> HotkeyMenuPosition(std::uint32_t mods) {
  for (std::size_t position = 0; position < kHotkeyModsByMenuPosition.size(); ++position) {
    if (kHotkeyModsByMenuPosition[position] == mods) {
      return static_cast<int>(position);
    }
  }
  return std::nullopt;
}

std::optional<char> HotkeyLetterFromEntry(std::string_view entry) {
  if (entry.size() != 1) {
    return std::nullopt;
  }
  const char letter = entry.front();
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

}  // namespace pellix::app
