#include "core/settings/settings_file.h"

#include "core/io/errors.h"
#include "core/io/integer.h"
#include "core/settings/colors.h"
#include "core/text/cp932.h"

namespace pellix::settings {
namespace {

constexpr int kSmallestAppliedSize = 100;

bool KeyEquals(std::string_view key, std::string_view wanted) {
  if (key.size() != wanted.size()) {
    return false;
  }
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(key[i]) != lower(wanted[i])) {
      return false;
    }
  }
  return true;
}

class Lines {
 public:
  explicit Lines(std::string_view content) : lines_(text::SplitLines(content)) {}

  std::string_view Value(std::string_view key) const {
    for (const std::string& line : lines_) {
      const std::size_t eq = line.find('=');
      if (eq != std::string::npos && KeyEquals(std::string_view(line).substr(0, eq), key)) {
        return std::string_view(line).substr(eq + 1);
      }
    }
    return {};
  }

  // A value that must be there and be a number: missing reads as the empty text, which is none.
  int Required(std::string_view key) const { return io::ParseInt32(Value(key)); }

  std::optional<int> Optional(std::string_view key) const {
    const std::string_view value = Value(key);
    return value.empty() ? std::nullopt : std::optional<int>(io::ParseInt32(value));
  }

 private:
  std::vector<std::string> lines_;
};

}  // namespace

SettingsPlan ParseSettings(std::string_view content) {
  const Lines lines(content);
  SettingsPlan plan;
  plan.left = lines.Required("left");
  plan.top = lines.Required("top");
  if (const int width = lines.Required("width"); width > kSmallestAppliedSize) {
    plan.width = width;
  }
  if (const int height = lines.Required("height"); height > kSmallestAppliedSize) {
    plan.height = height;
  }
  plan.fontSize = lines.Optional("fontsize");
  if (const std::string_view color = lines.Value("fontcolor"); !color.empty()) {
    plan.fontColor = ParseColor(color);
  }
  plan.sendTab = lines.Value("sendtab") == "1";
  plan.memo = lines.Value("memo") == "1";
  plan.trans = lines.Value("trans") == "1";
  plan.option = lines.Optional("option");
  plan.lock = !lines.Value("lock").empty();
  for (int n = 0;; ++n) {
    const std::string_view name = lines.Value("list" + std::to_string(n));
    if (name.empty()) {
      break;
    }
    plan.lists.emplace_back(name);
  }
  if (!plan.lists.empty()) {
    plan.view = lines.Required("view");
    if (*plan.view < 0) {
      throw io::RangeError();
    }
  }
  if (const auto mods = lines.Optional("fsmods")) {
    plan.hotkeyMods = static_cast<std::uint32_t>(*mods);
  }
  if (const std::string_view letter = lines.Value("hotkey"); !letter.empty()) {
    plan.hotkeyLetter = letter.front();
  }
  return plan;
}

std::string FormatSettings(const SettingsState& state) {
  std::string out;
  const auto line = [&out](std::string_view key, std::string_view value) {
    out.append(key).append("=").append(value).append("\r\n");
  };
  line("left", std::to_string(state.left));
  line("top", std::to_string(state.top));
  line("height", std::to_string(state.height));
  line("width", std::to_string(state.width));
  line("fontsize", std::to_string(state.fontSize));
  line("fontcolor", FormatColor(state.fontColor));
  line("sendtab", state.sendTab ? "1" : "0");
  line("lock", state.lock ? "1" : "");
  line("memo", state.memo ? "1" : "0");
  line("trans", state.trans ? "1" : "0");
  if (state.option && *state.option >= 0 && *state.option <= 9) {
    line("option", std::to_string(*state.option));
  }
  for (std::size_t n = 0; n < state.lists.size(); ++n) {
    line("list" + std::to_string(n), state.lists[n]);
  }
  line("view", std::to_string(state.view < 0 ? 0 : state.view));
  line("fsmods", std::to_string(state.hotkeyMods));
  line("hotkey", std::string(1, state.hotkeyLetter));
  return out;
}

std::optional<int> HotkeyMenuPosition(std::uint32_t mods) {
  switch (mods) {
    case 2:
      return 0;
    case 4:
      return 1;
    case 1:
      return 2;
    case 6:
      return 3;
    case 3:
      return 4;
    default:
      return std::nullopt;
  }
}

}  // namespace pellix::settings
