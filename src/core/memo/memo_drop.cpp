#include "core/memo/memo_drop.h"

namespace pellix::memo {
namespace {

template <typename Char>
std::basic_string<Char> Prepended(std::basic_string_view<Char> memo,
                                  std::basic_string_view<Char> dropText) {
  std::basic_string<Char> out;
  out.reserve(dropText.size() + 2 + memo.size());
  out.append(dropText);
  out += Char{'\r'};
  out += Char{'\n'};
  out.append(memo);
  return out;
}

}  // namespace

std::string MemoDropText(const std::vector<std::string>& items, paste::CheckedPosition option) {
  std::string text;
  if (option == static_cast<int>(paste::PasteOption::kNone)) {
    for (const std::string& item : items) {
      text.append(item).append("\r\n");
    }
    text.resize(paste::TrimRightControls(text).size());
    return text;
  }
  // The redirect only cuts a paste; the memo takes its items without separator.
  const std::string_view separator = paste::SeparatorAfterEachItem(option).value_or("");
  for (const std::string& item : items) {
    text.append(paste::TrimRightControls(item)).append(separator);
  }
  return text;
}

std::string MemoWithDrop(std::string_view memo, std::string_view dropText) {
  return Prepended(memo, dropText);
}

std::u16string MemoWithDrop(std::u16string_view memo, std::u16string_view dropText) {
  return Prepended(memo, dropText);
}

}  // namespace pellix::memo
