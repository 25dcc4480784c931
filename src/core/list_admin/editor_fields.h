#pragma once
// The filter editor's fields as values, so that the window only copies them to and from its
// controls. Texts are code page 932, as the filter keeps them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/filters/filter_def.h"
#include "core/lists/list_store.h"

namespace pellix::list_admin {

// The type list's items; the selected index is what the filter's `type` holds, as text.
inline constexpr std::array<std::u16string_view, 4> kFilterTypeNames = {
    u"保管用", u"全て受け入れ", u"優先フィルター", u"非優先フィルター"};

struct EditorFields {
  std::string name;
  std::optional<int> type;  // the selected item of the type list; nullopt: none
  bool perLine = false;     // 改行ごとに処理
  std::string astring;
  std::string acount = "0";  // the count boxes hold text; see SpinValue
  std::string bstring;
  std::string bcount = "0";
  std::string cstring;
  bool zen = false;
  bool caps = false;
  bool small = false;
  std::array<std::string, filters::kReplacementRows> exfrom;
  std::array<std::string, filters::kReplacementRows> exto;

  friend bool operator==(const EditorFields&, const EditorFields&) = default;
};

// A count box's value: the decimal integer its text holds, without bounds, and 0 for any text
// that is no integer (or does not fit in 32 bits).
std::int32_t SpinValue(std::string_view text);

// 新規作成: name, type (storage), line mode, counts and check strings start afresh; the options
// and replacement rows stay as `last` showed them, so a run of similar filters is quick to make.
EditorFields FieldsForNewFilter(const EditorFields& last);

// The fields showing `def`. A type that is no integer, or none of the four, selects no item.
EditorFields FieldsFromFilterDef(const filters::FilterDef& def);

// 編集 of list `index`: its filter, under the list's own name, which names its files even when
// the filter file holds another `filname`.
EditorFields FieldsForList(const lists::ListStore& store, std::size_t index);

// The filter the fields describe, `filname` being the name field. `type` is the selected index
// in decimal, or empty when none is selected.
filters::FilterDef FilterDefFromFields(const EditorFields& fields);

}  // namespace pellix::list_admin
