// The merge of two instances' versions of a list, on any three versions the fuzzer can make of
// one: the base, this side's and the other side's. Each byte is an edit of the base, read in
// turn for this side and then, after a 0xFF byte, for the other side: a low byte puts one of a
// few texts on top (few, so that equal texts are common), a high one takes an item out.

#include <cstddef>
#include <cstdint>
#include <string>

#include "../unit/merge_properties.h"
#include "fuzz_check.h"

namespace {

using pellix::sync::testing_support::Texts;

Texts Edited(Texts list, const std::uint8_t*& data, const std::uint8_t* end) {
  for (; data < end && *data != 0xFF; ++data) {
    if (*data < 0x80) {
      list.insert(list.begin(), std::string(1, static_cast<char>('a' + *data % 7)));
    } else if (!list.empty()) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(*data % list.size()));
    }
  }
  if (data < end) {
    ++data;
  }
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* end = data + size;
  const Texts base = Edited({}, data, end);
  const Texts here = Edited(base, data, end);
  const Texts found = Edited(base, data, end);
  const auto broken = pellix::sync::testing_support::CheckMerge(base, here, found);
  if (broken) {
    std::fprintf(stderr, "%s\n", broken->c_str());
  }
  PELLIX_FUZZ_CHECK(!broken);
  // A copy made beside this side's list only ever adds, and only what this side never held.
  const Texts added = pellix::sync::testing_support::MergeLists(base, here, found,
                                                                pellix::sync::MergeMode::kAddOnly);
  PELLIX_FUZZ_CHECK(added.size() >= here.size());
  PELLIX_FUZZ_CHECK(pellix::sync::testing_support::InOrder(here, added));
  return 0;
}
