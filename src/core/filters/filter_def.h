#pragma once
// How one list is filled by the capture: whether a text belongs there and how it is converted.

#include <array>
#include <cstdint>
#include <string>

namespace pellix::filters {

inline constexpr int kReplacementRows = 8;

// Filter type codes as stored in `type`; any other number acts like storage.
enum class FilterType : std::int32_t {
  kStorage = 0,
  kAcceptAll = 1,
  kPriority = 2,
  kNonPriority = 3,
};

// All texts are code page 932. `type` stays text: only the engine turns it into a number.
struct FilterDef {
  std::string filname;
  std::string type;
  std::int32_t kaigyo = 0;  // non-zero: every line is tested and inserted by itself
  std::string astring;      // check words 1, separated by half-width spaces
  std::string bstring;      // check words 2
  std::string cstring;      // the only characters a text may hold
  std::int32_t acount = 0;
  std::int32_t bcount = 0;
  bool zen = false;    // full-width alphanumerics to half width
  bool caps = false;   // upper case to lower case (the name reads the other way round)
  bool small = false;  // lower case to upper case
  std::array<std::string, kReplacementRows> exfrom;
  std::array<std::string, kReplacementRows> exto;

  bool operator==(const FilterDef&) const = default;
};

}  // namespace pellix::filters
