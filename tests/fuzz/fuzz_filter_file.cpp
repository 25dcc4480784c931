// Filter files are plain key=value text that users edit by hand.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/text/cp932.h"
#include "fuzz_check.h"

namespace {

using pellix::filters::FilterDef;
using pellix::filters::kReplacementRows;

// Every text field of the record.
template <typename Def, typename Visit>
void ForEachText(Def& def, Visit visit) {
  visit(def.filname);
  visit(def.type);
  visit(def.astring);
  visit(def.bstring);
  visit(def.cstring);
  for (int row = 0; row < kReplacementRows; ++row) {
    visit(def.exfrom[row]);
    visit(def.exto[row]);
  }
}

// A value is one line's rest, so a field that holds a break or a NUL cannot be written as one.
bool FitsOnLines(const FilterDef& def) {
  bool fits = true;
  ForEachText(def, [&fits](const std::string& text) {
    fits = fits && text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
  });
  return fits;
}

void CheckWriteThenRead(const FilterDef& def) {
  const std::string written = pellix::filters::FormatFilterFile(def);
  PELLIX_FUZZ_CHECK(pellix::text::SplitLines(written).size() == 27);
  PELLIX_FUZZ_CHECK(written.ends_with("\r\n"));
  // No IntegerConversionError is caught here: the counts were written by the program itself.
  PELLIX_FUZZ_CHECK(pellix::filters::ParseFilterFile(written, u"list.flt") == def);
}

// A record made from the fuzzer's bytes directly, so that writing is tried with values no
// parse would produce: any 32-bit count, '=' and key-like text inside values, and so on.
FilterDef MadeUpRecord(FuzzedDataProvider& provider) {
  FilterDef def;
  def.kaigyo = provider.ConsumeIntegral<std::int32_t>();
  def.acount = provider.ConsumeIntegral<std::int32_t>();
  def.bcount = provider.ConsumeIntegral<std::int32_t>();
  def.zen = provider.ConsumeBool();
  def.caps = provider.ConsumeBool();
  def.small = provider.ConsumeBool();
  ForEachText(def,
              [&provider](std::string& text) { text = provider.ConsumeRandomLengthString(48); });
  return def;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  std::optional<FilterDef> parsed;
  try {
    parsed = pellix::filters::ParseFilterFile(content, u"list.flt");
  } catch (const pellix::io::IntegerConversionError&) {
    // A count that is no number: the user is told, and the list keeps its old filter.
  }
  if (parsed) {
    PELLIX_FUZZ_CHECK(FitsOnLines(*parsed));
    CheckWriteThenRead(*parsed);
  }

  FuzzedDataProvider provider(data, size);
  const FilterDef madeUp = MadeUpRecord(provider);
  if (FitsOnLines(madeUp)) {
    CheckWriteThenRead(madeUp);
  }
  return 0;
}
