#include "core/list_admin/editor_fields.h"

#include "core/io/integer.h"

namespace pellix::list_admin {

std::int32_t SpinValue(std::string_view text) {
  return io::TryParseInt32(text).value_or(0);
}

EditorFields FieldsForNewFilter(const EditorFields& last) {
  EditorFields fields;
  fields.type = 0;
  fields.zen = last.zen;
  fields.caps = last.caps;
  fields.small = last.small;
  fields.exfrom = last.exfrom;
  fields.exto = last.exto;
  return fields;
}

EditorFields FieldsFromFilterDef(const filters::FilterDef& def) {
  EditorFields fields;
  fields.name = def.filname;
  const std::optional<std::int32_t> type = io::TryParseInt32(def.type);
  if (type && *type >= 0 && *type < static_cast<std::int32_t>(kFilterTypeNames.size())) {
    fields.type = *type;
  }
  fields.perLine = def.kaigyo != 0;
  fields.astring = def.astring;
  fields.acount = std::to_string(def.acount);
  fields.bstring = def.bstring;
  fields.bcount = std::to_string(def.bcount);
  fields.cstring = def.cstring;
  fields.zen = def.zen;
  fields.caps = def.caps;
  fields.small = def.small;
  fields.exfrom = def.exfrom;
  fields.exto = def.exto;
  return fields;
}

EditorFields FieldsForList(const lists::ListStore& store, std::size_t index) {
  const lists::ListSlot& slot = store.Slot(index);
  EditorFields fields = FieldsFromFilterDef(slot.filter);
  fields.name = slot.name;
  return fields;
}

filters::FilterDef FilterDefFromFields(const EditorFields& fields) {
  filters::FilterDef def;
  def.filname = fields.name;
  def.type = fields.type ? std::to_string(*fields.type) : std::string();
  def.kaigyo = fields.perLine ? 1 : 0;
  def.astring = fields.astring;
  def.bstring = fields.bstring;
  def.cstring = fields.cstring;
  def.acount = SpinValue(fields.acount);
  def.bcount = SpinValue(fields.bcount);
  def.zen = fields.zen;
  def.caps = fields.caps;
  def.small = fields.small;
  def.exfrom = fields.exfrom;
  def.exto = fields.exto;
  return def;
}

}  // namespace pellix::list_admin
