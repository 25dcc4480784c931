#include "core/lists/item_conversion.h"

#include "core/text/conversions.h"

namespace pellix::lists {

namespace {

std::string Converted(std::string_view item, ItemConversion conversion,
                      const text::TextServices& services) {
  switch (conversion) {
    case ItemConversion::kFullToHalfWidth:
      return text::FullToHalfWidth(item);
    case ItemConversion::kToFullWidth:
      return text::MapString(services, text::Mapping::kFullWidth, item);
    case ItemConversion::kToLowerCase:
      return text::MapString(services, text::Mapping::kLowerCase, item);
    case ItemConversion::kToUpperCase:
      return text::MapString(services, text::Mapping::kUpperCase, item);
  }
  return std::string(item);
}

}  // namespace

bool ConvertFocusedItem(ListStore& store, std::size_t list, int focusIndex,
                        ItemConversion conversion, const text::TextServices& services) {
  const ItemList& items = store.Slot(list).items;
  if (focusIndex < 0 || static_cast<std::size_t>(focusIndex) >= items.size()) {
    return false;
  }
  const auto item = static_cast<std::size_t>(focusIndex);
  store.ReplaceItem(list, item, Converted(items[item], conversion, services));
  return true;
}

}  // namespace pellix::lists
