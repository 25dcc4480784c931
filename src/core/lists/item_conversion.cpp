#include "core/lists/item_conversion.h"

#include "core/text/conversions.h"

namespace pellix::lists {

bool ConvertFocusedItem(Items& items, int focusIndex, ItemConversion conversion,
                        const text::TextServices& services) {
  if (focusIndex < 0 || static_cast<std::size_t>(focusIndex) >= items.size()) {
    return false;
  }
  std::string& item = items[static_cast<std::size_t>(focusIndex)];
  switch (conversion) {
    case ItemConversion::kFullToHalfWidth:
      item = text::FullToHalfWidth(item);
      break;
    case ItemConversion::kToFullWidth:
      item = text::MapString(services, text::Mapping::kFullWidth, item);
      break;
    case ItemConversion::kToLowerCase:
      item = text::MapString(services, text::Mapping::kLowerCase, item);
      break;
    case ItemConversion::kToUpperCase:
      item = text::MapString(services, text::Mapping::kUpperCase, item);
      break;
  }
  return true;
}

}  // namespace pellix::lists
