#pragma once
// Processes' integrity levels as their tokens give them, for the rule that keeps a paste from
// typing into a process that would drop the keys.

#include "core/paste/integrity.h"

namespace pellix::win32 {

class Win32ProcessIntegrity final : public paste::ProcessIntegrity {
 public:
  std::optional<std::uint32_t> OwnLevel() const override;
  // Needs no more than PROCESS_QUERY_LIMITED_INFORMATION, which a process of the same user
  // grants even when it runs elevated.
  std::optional<std::uint32_t> LevelOf(std::uint32_t processId) const override;
};

}  // namespace pellix::win32
