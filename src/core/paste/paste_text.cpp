#include "core/paste/paste_text.h"

#include "core/text/cp932.h"
#include "core/text/wide_lines.h"

namespace pellix::paste {
namespace {

constexpr std::string_view kRedirectMarker = "url=http";
constexpr std::size_t kHttpOffset = 4;  // "url=" comes before the address

std::string CutAtRedirect(std::string text) {
  for (std::size_t pos = 0; pos < text.size(); pos += text::CharSizeAt(text, pos)) {
    if (std::string_view(text).substr(pos, kRedirectMarker.size()) == kRedirectMarker) {
      return text.substr(pos + kHttpOffset);
    }
  }
  return text;
}

std::u16string CutAtRedirect(std::u16string text) {
  const std::size_t found = text.find(u"url=http");
  return found == std::u16string::npos ? text : text.substr(found + kHttpOffset);
}

}  // namespace

std::optional<std::string_view> SeparatorAfterEachItem(CheckedPosition option) {
  switch (option.value_or(-1)) {
    case static_cast<int>(PasteOption::kNone):
    case static_cast<int>(PasteOption::kRedirectUrl):
      return std::nullopt;
    case static_cast<int>(PasteOption::kTab):
      return "\t";
    case static_cast<int>(PasteOption::kSpace):
      return " ";
    case static_cast<int>(PasteOption::kComma):
      return ",";
    case static_cast<int>(PasteOption::kLineBreak):
      return "\r\n";
    default:
      return "";  // 区切りの削除, a separator line, or nothing checked
  }
}

std::string_view TrimRightControls(std::string_view item) {
  std::size_t end = item.size();
  while (end > 0 && static_cast<unsigned char>(item[end - 1]) <= 32) {
    --end;
  }
  // A trailing byte of 32 or less can never be the second half of a two-byte character (those
  // are 0x40 and above), so the cut never splits one.
  return item.substr(0, end);
}

std::string BuildAnsiPasteText(const std::vector<std::string>& items, CheckedPosition option) {
  const std::optional<std::string_view> separator = SeparatorAfterEachItem(option);
  std::string text;
  if (!separator) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      text.append(i == 0 ? "" : "\r\n").append(items[i]);
    }
    return option == static_cast<int>(PasteOption::kRedirectUrl) ? CutAtRedirect(std::move(text))
                                                                 : text;
  }
  for (const std::string& item : items) {
    text.append(TrimRightControls(item)).append(*separator);
  }
  return text;
}

std::u16string BuildUnicodePasteText(const std::vector<std::u16string>& items,
                                     CheckedPosition option) {
  std::u16string text;
  for (const std::u16string& item : items) {
    text += text.empty() ? u"" : u"\r\n";
    text += item;
  }
  if (text.empty() || option == static_cast<int>(PasteOption::kNone)) {
    return text;
  }
  if (option == static_cast<int>(PasteOption::kRedirectUrl)) {
    return CutAtRedirect(std::move(text));
  }
  const std::string_view narrow = SeparatorAfterEachItem(option).value_or("");
  const std::u16string separator(narrow.begin(), narrow.end());
  std::u16string shaped;
  for (const std::u16string_view line : text::SplitWideLines(text)) {
    shaped.append(line).append(separator).append(u"\r\n");
  }
  return shaped;
}

}  // namespace pellix::paste
