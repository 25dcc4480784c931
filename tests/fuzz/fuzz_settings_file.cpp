// The settings file is key=value text beside the exe that users edit by hand; the program reads
// it at every start and writes it back on exit.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/io/errors.h"
#include "core/settings/settings_file.h"
#include "fuzz_check.h"

namespace {

using pellix::settings::SettingsPlan;
using pellix::settings::SettingsState;

constexpr int kSmallestAppliedSize = 100;
constexpr std::string_view kLineBreaksAndNul("\r\n\0", 3);

// A value is one line's rest after '=': never a break, never a NUL.
bool FitsOnALine(std::string_view text) {
  return text.find_first_of(kLineBreaksAndNul) == std::string_view::npos;
}

void CheckPlanShape(const SettingsPlan& plan) {
  PELLIX_FUZZ_CHECK(!plan.width || *plan.width > kSmallestAppliedSize);
  PELLIX_FUZZ_CHECK(!plan.height || *plan.height > kSmallestAppliedSize);
  for (const std::string& name : plan.lists) {
    PELLIX_FUZZ_CHECK(!name.empty() && FitsOnALine(name));
  }
  // The view is read exactly when some list is named, and a negative one was refused.
  PELLIX_FUZZ_CHECK(plan.view.has_value() == !plan.lists.empty());
  PELLIX_FUZZ_CHECK(!plan.view || *plan.view >= 0);
  PELLIX_FUZZ_CHECK(!plan.hotkeyLetter || FitsOnALine(std::string_view(&*plan.hotkeyLetter, 1)));
}

// The message the user is shown quotes the offending value with every byte it cannot show
// turned into '?', and its second line names the file and the key (saying when it is missing).
void CheckConversionMessage(const pellix::io::IntegerConversionError& error) {
  const std::string_view message = error.what();
  const std::size_t lineBreak = message.find("\r\n");
  PELLIX_FUZZ_CHECK(lineBreak != std::string_view::npos);
  const std::string_view first = message.substr(0, lineBreak);
  constexpr std::string_view kTail = "' is not a valid integer value";
  PELLIX_FUZZ_CHECK(first.starts_with('\'') && first.ends_with(kTail));
  PELLIX_FUZZ_CHECK(first.size() >= 1 + kTail.size());
  for (const char ch : first) {
    PELLIX_FUZZ_CHECK(ch >= 0x20 && ch < 0x7F);
  }
  std::string_view where = message.substr(lineBreak + 2);
  PELLIX_FUZZ_CHECK(where.starts_with("pellix.ini: "));
  where.remove_prefix(std::string_view("pellix.ini: ").size());
  constexpr std::string_view kMissing = " がありません";  // UTF-8, as what() gives it
  if (where.ends_with(kMissing)) {
    // A required key without a line: there is nothing to quote.
    PELLIX_FUZZ_CHECK(first == "'' is not a valid integer value");
    where.remove_suffix(kMissing.size());
  }
  PELLIX_FUZZ_CHECK(where == "left" || where == "top" || where == "width" || where == "height" ||
                    where == "fontsize" || where == "fontcolor" || where == "option" ||
                    where == "view" || where == "fsmods");
}

// What the start-up would carry over from a plan into the state it writes back on exit; the
// state's own start values fill in whatever the file left out.
SettingsState StateFromPlan(const SettingsPlan& plan) {
  SettingsState state;
  state.left = plan.left;
  state.top = plan.top;
  state.width = plan.width.value_or(state.width);
  state.height = plan.height.value_or(state.height);
  state.fontSize = plan.fontSize.value_or(state.fontSize);
  state.fontColor = plan.fontColor.value_or(state.fontColor);
  state.sendTab = plan.sendTab;
  state.lock = plan.lock;
  state.memo = plan.memo;
  state.trans = plan.trans;
  state.option = plan.option;
  state.lists = plan.lists;
  state.view = plan.view.value_or(state.view);
  state.hotkeyMods = plan.hotkeyMods.value_or(state.hotkeyMods);
  state.hotkeyLetter = plan.hotkeyLetter.value_or(state.hotkeyLetter);
  return state;
}

// Any size, but often one next to the smallest applied size, where a wrong comparison shows.
int MadeUpSize(FuzzedDataProvider& provider) {
  return provider.ConsumeBool() ? provider.ConsumeIntegralInRange<int>(kSmallestAppliedSize - 2,
                                                                       kSmallestAppliedSize + 2)
                                : provider.ConsumeIntegral<int>();
}

// A state made from the fuzzer's bytes directly, so that writing is tried with values no parse
// gives: any size, colour and modifier set, a view of -1 (nothing selected), any letter.
SettingsState MadeUpState(FuzzedDataProvider& provider) {
  SettingsState state;
  state.left = provider.ConsumeIntegral<int>();
  state.top = provider.ConsumeIntegral<int>();
  state.height = MadeUpSize(provider);
  state.width = MadeUpSize(provider);
  state.fontSize = provider.ConsumeIntegral<int>();
  state.fontColor = provider.ConsumeIntegral<std::uint32_t>();
  state.sendTab = provider.ConsumeBool();
  state.lock = provider.ConsumeBool();
  state.memo = provider.ConsumeBool();
  state.trans = provider.ConsumeBool();
  if (provider.ConsumeBool()) {
    state.option = provider.ConsumeIntegralInRange<int>(-3, 12);
  }
  state.view = provider.ConsumeIntegralInRange<int>(-1, 20);
  state.hotkeyMods = provider.ConsumeIntegral<std::uint32_t>();
  state.hotkeyLetter = provider.ConsumeIntegral<char>();
  const int lists = provider.ConsumeIntegralInRange<int>(0, 6);
  for (int n = 0; n < lists; ++n) {
    state.lists.push_back(provider.ConsumeRandomLengthString(24));
  }
  return state;
}

// Only what the format can hold: list names that are one line's rest and not empty (an empty
// one ends the names), and a letter that is no line break. A NUL letter is allowed: it is what
// the program writes when no hotkey letter is set.
bool Writable(const SettingsState& state) {
  return std::all_of(state.lists.begin(), state.lists.end(),
                     [](const std::string& name) { return !name.empty() && FitsOnALine(name); }) &&
         state.hotkeyLetter != '\r' && state.hotkeyLetter != '\n';
}

std::optional<int> AppliedSize(int size) {
  return size > kSmallestAppliedSize ? std::optional<int>(size) : std::nullopt;
}

void CheckWriteThenRead(const SettingsState& state) {
  const std::string written = pellix::settings::FormatSettings(state);
  PELLIX_FUZZ_CHECK(written.ends_with("\r\n"));

  // Nothing may stop the program from reading the file it wrote itself.
  const SettingsPlan read = pellix::settings::ParseSettings(written);
  PELLIX_FUZZ_CHECK(read.left == state.left);
  PELLIX_FUZZ_CHECK(read.top == state.top);
  PELLIX_FUZZ_CHECK(read.width == AppliedSize(state.width));
  PELLIX_FUZZ_CHECK(read.height == AppliedSize(state.height));
  PELLIX_FUZZ_CHECK(read.fontSize == state.fontSize);
  PELLIX_FUZZ_CHECK(read.fontColor == state.fontColor);
  PELLIX_FUZZ_CHECK(read.sendTab == state.sendTab);
  PELLIX_FUZZ_CHECK(read.lock == state.lock);
  PELLIX_FUZZ_CHECK(read.memo == state.memo);
  PELLIX_FUZZ_CHECK(read.trans == state.trans);
  // Only a position of the paste options menu is written.
  const bool optionWritten = state.option && *state.option >= 0 && *state.option <= 9;
  PELLIX_FUZZ_CHECK(read.option == (optionWritten ? state.option : std::nullopt));
  PELLIX_FUZZ_CHECK(read.lists == state.lists);
  const std::optional<int> view =
      state.lists.empty() ? std::nullopt : std::optional<int>(std::max(state.view, 0));
  PELLIX_FUZZ_CHECK(read.view == view);
  PELLIX_FUZZ_CHECK(read.hotkeyMods == state.hotkeyMods);
  const std::optional<char> letter =
      state.hotkeyLetter == '\0' ? std::nullopt : std::optional<char>(state.hotkeyLetter);
  PELLIX_FUZZ_CHECK(read.hotkeyLetter == letter);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  std::optional<SettingsPlan> plan;
  try {
    plan = pellix::settings::ParseSettings(content);
  } catch (const pellix::io::IntegerConversionError& error) {
    // A value that is no number: the user is told and the program ends, the file unchanged.
    CheckConversionMessage(error);
  } catch (const pellix::io::RangeError& error) {
    // A negative view, likewise.
    PELLIX_FUZZ_CHECK(std::string_view(error.what()) == "Range check error\r\npellix.ini: view");
  } catch (...) {
    // Anything else would not reach the user as a message but end the program unexplained.
    PELLIX_FUZZ_CHECK(!"ParseSettings threw something other than its two errors");
  }
  if (plan) {
    CheckPlanShape(*plan);
    CheckWriteThenRead(StateFromPlan(*plan));
  }

  FuzzedDataProvider provider(data, size);
  const SettingsState madeUp = MadeUpState(provider);
  if (Writable(madeUp)) {
    CheckWriteThenRead(madeUp);
  }
  return 0;
}
