#include "core/paste/integrity.h"

namespace pellix::paste {

bool KeysWouldBeDropped(const ProcessIntegrity& integrity, std::uint32_t ownProcess,
                        std::uint32_t target) {
  if (target == ownProcess) {
    return false;  // the memo or a filter dialog
  }
  const std::optional<std::uint32_t> theirs = integrity.LevelOf(target);
  if (!theirs) {
    return false;
  }
  // Our own token can always be read; should it not be, a program started the ordinary way
  // runs at medium.
  return *theirs > integrity.OwnLevel().value_or(kMediumIntegrity);
}

}  // namespace pellix::paste
