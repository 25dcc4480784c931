#include "core/capture/text_import.h"

#include "core/lists/insert_lines.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"
#include "core/text/file_encoding.h"
#include "core/text/wide_lines.h"

namespace pellix::capture {

std::string ImportedText(const text::TextServices& services, std::string_view fileBytes) {
  const text::DetectedEncoding detected = text::DetectEncoding(fileBytes);
  if (detected.encoding == text::FileEncoding::kCp932) {
    return std::string(fileBytes.substr(0, fileBytes.find('\0')));
  }
  return text::Utf16ToCp932(services, text::DecodeFileText(services, fileBytes, detected));
}

lists::Items ImportedLines(const text::TextServices& services, std::string_view fileBytes) {
  return text::SplitLines(ImportedText(services, fileBytes));
}

lists::WideItems ImportedUnicodeLines(const text::TextServices& services,
                                      std::string_view fileBytes) {
  const std::u16string text =
      text::DecodeFileText(services, fileBytes, text::DetectEncoding(fileBytes));
  lists::WideItems lines;
  for (const std::u16string_view line : text::SplitWideLines(text)) {
    lines.emplace_back(line);
  }
  return lines;
}

std::string JoinLinesWithCrLf(std::string_view text) {
  std::string joined;
  joined.reserve(text.size() + text.size() / 16 + 2);
  text::ForEachLine(text, [&joined](std::string_view line) { joined.append(line).append("\r\n"); });
  return joined;
}

bool ShouldSortImportedText(std::string_view joined, std::string_view lastText) {
  return !joined.empty() && joined != "\r\n" && joined != lastText;
}

std::optional<FilterRun> SortImportedFile(lists::ListStore& store, std::string& lastText,
                                          const text::TextServices& services,
                                          std::string_view fileBytes) {
  std::string joined = JoinLinesWithCrLf(ImportedText(services, fileBytes));
  if (!ShouldSortImportedText(joined, lastText)) {
    return std::nullopt;
  }
  lastText = std::move(joined);
  return RunFilters(store, lastText, services);
}

std::optional<LineImport> InsertImportedFile(lists::ListStore& store,
                                             const lists::ViewState& shownView,
                                             const text::TextServices& services,
                                             std::string_view fileBytes) {
  const std::optional<std::size_t> current = store.Current();
  if (!current) {
    return std::nullopt;
  }
  if (lists::IsUnicodeListName(store.Slot(*current).name)) {
    return LineImport{
        lists::ListId::Unicode(),
        lists::InsertUnicodeLines(store, shownView, ImportedUnicodeLines(services, fileBytes))};
  }
  return LineImport{
      lists::ListId::Ansi(*current),
      lists::InsertLines(store, *current, shownView, ImportedLines(services, fileBytes))};
}

}  // namespace pellix::capture
