#pragma once
// What a dialog shows instead of doing what was asked. Either box has OK and Cancel; which one
// is pressed makes no difference, and nothing has changed.

#include <string>

namespace pellix::list_admin {

enum class BoxKind { kWarning, kError };

struct Refusal {
  std::u16string message;
  BoxKind box = BoxKind::kWarning;

  friend bool operator==(const Refusal&, const Refusal&) = default;
};

}  // namespace pellix::list_admin
