#include "core/sync/item_keys.h"

#include <iterator>

namespace pellix::sync {

std::vector<ItemKey> KeysLost(const std::vector<ItemKey>& before,
                              const std::vector<ItemKey>& after) {
  std::vector<ItemKey> lost;
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                      std::back_inserter(lost));
  return lost;
}

}  // namespace pellix::sync
