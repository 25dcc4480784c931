#pragma once
// Windows drops, without a word, keys typed into a window whose process runs at a higher
// integrity level than the typist's (a program run as administrator, when we are not). Seen
// before typing, the user can be told instead of being left to guess.

#include <cstdint>
#include <optional>

namespace pellix::paste {

// Mandatory integrity levels as Windows numbers them (the last part of the label's SID).
inline constexpr std::uint32_t kLowIntegrity = 0x1000;
inline constexpr std::uint32_t kMediumIntegrity = 0x2000;
inline constexpr std::uint32_t kHighIntegrity = 0x3000;
inline constexpr std::uint32_t kSystemIntegrity = 0x4000;

// The system's answer about processes' levels; nullopt where it gives none.
class ProcessIntegrity {
 public:
  virtual std::optional<std::uint32_t> OwnLevel() const = 0;
  virtual std::optional<std::uint32_t> LevelOf(std::uint32_t processId) const = 0;

 protected:
  ~ProcessIntegrity() = default;
};

// Whether keys typed into a window of process `target` would be dropped. A level that cannot be
// read decides nothing: keys are typed as they always were.
bool KeysWouldBeDropped(const ProcessIntegrity& integrity, std::uint32_t ownProcess,
                        std::uint32_t target);

}  // namespace pellix::paste
