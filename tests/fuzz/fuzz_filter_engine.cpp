// The engine on any filter files and any captured text, held against its plain reference:
// every list must receive the same items and `lastText` must end the same.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../unit/filter_engine_reference.h"
#include "core/capture/filter_engine.h"
#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/platform_services.h"
#include "fuzz_check.h"

namespace {

namespace capture = pellix::capture;
namespace lists = pellix::lists;

// The input is up to eight filter files, each ended by a NUL byte, then the captured text.
struct Input {
  std::vector<pellix::filters::FilterDef> filters;
  std::string text;
};

bool Split(std::string_view bytes, Input& input) {
  while (input.filters.size() < 8) {
    const std::size_t end = bytes.find('\0');
    if (end == std::string_view::npos) {
      break;
    }
    try {
      input.filters.push_back(pellix::filters::ParseFilterFile(bytes.substr(0, end), u"list.flt"));
    } catch (const pellix::io::IntegerConversionError&) {
      return false;  // a file the program refuses to load
    }
    bytes.remove_prefix(end + 1);
  }
  input.text = std::string(bytes);
  return true;
}

lists::ListStore StoreOf(const std::vector<pellix::filters::FilterDef>& filters) {
  lists::ListStore store;
  for (const pellix::filters::FilterDef& def : filters) {
    store.AddSlot(lists::ListSlot{"list", {}, def});
  }
  return store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input;
  if (!Split(std::string_view(reinterpret_cast<const char*>(data), size), input)) {
    return 0;
  }
  lists::ListStore fast = StoreOf(input.filters);
  lists::ListStore plain = StoreOf(input.filters);
  // Twice, so the second capture meets lists that already hold items.
  for (int round = 0; round < 2; ++round) {
    std::string fastText = input.text;
    std::string plainText = input.text;
    bool fastThrew = false;
    bool plainThrew = false;
    capture::FilterRun fastRun;
    capture::FilterRun plainRun;
    try {
      fastRun = capture::RunFilters(fast, fastText, pellix::PlatformTextServices());
    } catch (const pellix::io::IntegerConversionError&) {
      fastThrew = true;
    }
    try {
      plainRun = capture::reference::RunFilters(plain, plainText);
    } catch (const pellix::io::IntegerConversionError&) {
      plainThrew = true;
    }
    PELLIX_FUZZ_CHECK(fastThrew == plainThrew);
    PELLIX_FUZZ_CHECK(fastText == plainText);
    PELLIX_FUZZ_CHECK(fastRun.inserted == plainRun.inserted);
    for (std::size_t i = 0; i < input.filters.size(); ++i) {
      PELLIX_FUZZ_CHECK(fast.Slot(i).items == plain.Slot(i).items);
    }
  }
  return 0;
}
