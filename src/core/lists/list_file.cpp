#include "core/lists/list_file.h"

#include "core/text/cp932.h"
#include "core/text/file_encoding.h"
#include "core/text/wide_lines.h"

namespace pellix::lists {
namespace {

bool StartsWithMarker(std::string_view line) {
  return line.substr(0, 3) == kItemMarker;
}

}  // namespace

std::u16string ListFilePath(const io::AppFolder& folder, std::string_view listName) {
  return folder.PathFor(listName, u".dat");
}

Items ParseListFile(std::string_view content) {
  Items items;
  std::string pending;
  bool first = true;
  text::ForEachLine(content, [&](std::string_view line) {
    const bool opens = StartsWithMarker(line);
    if (first) {
      first = false;
      pending.assign(opens ? line.substr(kItemMarker.size()) : line);
    } else if (opens) {
      items.push_back(std::move(pending));
      pending.assign(line.substr(kItemMarker.size()));
    } else {
      pending.append("\r\n").append(line);
    }
  });
  if (!pending.empty()) {
    items.push_back(std::move(pending));
  }
  return items;
}

std::string FormatListFile(const Items& items) {
  std::size_t size = 0;
  for (const std::string& item : items) {
    size += kItemMarker.size() + item.size() + 2;
  }
  std::string out;
  out.reserve(size);
  for (const std::string& item : items) {
    out.append(kItemMarker).append(item).append("\r\n");
  }
  return out;
}

void ReadListFile(const io::FileSystem& files, const io::AppFolder& folder,
                  std::string_view listName, Items& items) {
  Items read = ParseListFile(files.ReadAll(ListFilePath(folder, listName)));
  items.insert(items.end(), std::make_move_iterator(read.begin()),
               std::make_move_iterator(read.end()));
}

void WriteListFile(const io::FileSystem& files, const io::AppFolder& folder,
                   std::string_view listName, const Items& items) {
  files.WriteAll(ListFilePath(folder, listName), FormatListFile(items));
}

WideItems ParseUnicodeListFile(const text::TextServices& services, std::string_view content) {
  const std::u16string text =
      text::DecodeFileText(services, content, text::EncodingByMark(content));
  WideItems items;
  for (const std::u16string_view line : text::SplitWideLines(text)) {
    items.emplace_back(line);
  }
  return items;
}

std::string FormatUnicodeListFile(const WideItems& items) {
  std::string out = "\xFF\xFE";
  const auto put = [&out](char16_t ch) {
    out += static_cast<char>(ch & 0xFF);
    out += static_cast<char>(ch >> 8);
  };
  for (const std::u16string& item : items) {
    for (const char16_t ch : item) {
      put(ch);
    }
    put(u'\r');
    put(u'\n');
  }
  return out;
}

}  // namespace pellix::lists
