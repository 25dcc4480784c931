#include "core/settings/settings_file.h"

#include "core/io/errors.h"
#include "core/io/key_value_lines.h"
#include "core/settings/colors.h"

namespace pellix::settings {
namespace {

constexpr int kSmallestAppliedSize = 100;

}  // namespace

SettingsPlan ParseSettings(std::string_view content) {
  const io::KeyValueLines lines(content, std::u16string(kSettingsFileName));
  SettingsPlan plan;
  plan.left = lines.Integer("left");
  plan.top = lines.Integer("top");
  if (const int width = lines.Integer("width"); width > kSmallestAppliedSize) {
    plan.width = width;
  }
  if (const int height = lines.Integer("height"); height > kSmallestAppliedSize) {
    plan.height = height;
  }
  plan.fontSize = lines.OptionalInteger("fontsize");
  if (const std::string_view color = lines.Value("fontcolor"); !color.empty()) {
    plan.fontColor = ParseColor(color);
    if (!plan.fontColor) {
      throw io::IntegerConversionError(color, lines.Where("fontcolor"));
    }
  }
  plan.sendTab = lines.Value("sendtab") == "1";
  plan.memo = lines.Value("memo") == "1";
  plan.trans = lines.Value("trans") == "1";
  plan.option = lines.OptionalInteger("option");
  plan.lock = !lines.Value("lock").empty();
  for (int n = 0;; ++n) {
    const std::string_view name = lines.Value("list" + std::to_string(n));
    if (name.empty()) {
      break;
    }
    plan.lists.emplace_back(name);
  }
  if (!plan.lists.empty()) {
    plan.view = lines.Integer("view");
    if (*plan.view < 0) {
      throw io::RangeError(lines.Where("view"));
    }
  }
  if (const auto mods = lines.OptionalInteger("fsmods")) {
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
  // Read back as a signed 32-bit number: a negative value written by hand must come back as it
  // was, not as a number the next start refuses.
  line("fsmods", std::to_string(static_cast<std::int32_t>(state.hotkeyMods)));
  line("hotkey", std::string(1, state.hotkeyLetter));
  return out;
}

}  // namespace pellix::settings
