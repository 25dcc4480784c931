#include "core/lists/edit_session.h"

#include "core/text/codec.h"

namespace pellix::lists {

std::optional<std::u16string> OpenFocusedItem(ListStore& store, std::optional<std::size_t> focused,
                                              const text::TextServices& services) {
  const std::optional<std::size_t> current = store.Current();
  if (!current || !focused) {
    return std::nullopt;
  }
  const ListId list =
      IsUnicodeListName(store.Slot(*current).name) ? ListId::Unicode() : ListId::Ansi(*current);
  if (*focused >= store.ItemCount(list)) {
    return std::nullopt;
  }
  store.OpenItem(ItemPlace{list, *focused});
  if (list.unicode) {
    return store.UnicodeItems()[*focused];
  }
  return text::Cp932ToUtf16(services, store.Slot(list.slot).items[*focused]);
}

std::optional<WriteBack> WriteOpenedItem(ListStore& store, const std::u16string& text,
                                         const text::TextServices& services) {
  const std::optional<ItemPlace> place = store.Opened().Place();
  const std::optional<ListId> origin = store.Opened().Origin();
  store.CloseItem();
  if (place) {
    if (place->list.unicode) {
      store.ReplaceUnicodeItem(place->index, text);
    } else {
      store.ReplaceItem(place->list.slot, place->index, text::Utf16ToCp932(services, text));
    }
    return WriteBack{*place, false};
  }
  if (!origin || (!origin->unicode && origin->slot >= store.Count())) {
    return std::nullopt;
  }
  if (origin->unicode) {
    store.InsertUnicodeAtTop(text);
  } else {
    store.InsertAtTop(origin->slot, {text::Utf16ToCp932(services, text)});
  }
  return WriteBack{ItemPlace{*origin, 0}, true};
}

}  // namespace pellix::lists
