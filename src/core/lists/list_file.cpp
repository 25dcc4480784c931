#include "core/lists/list_file.h"

#include <chrono>
#include <thread>

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

namespace {

// Hands `add` each item of the file's text, in order.
template <typename Add>
void ForEachListItem(std::string_view content, Add&& add) {
  std::string pending;
  bool first = true;
  text::ForEachLine(content, [&](std::string_view line) {
    const bool opens = StartsWithMarker(line);
    if (first) {
      first = false;
      pending.assign(opens ? line.substr(kItemMarker.size()) : line);
    } else if (opens) {
      add(pending);
      pending.assign(line.substr(kItemMarker.size()));
    } else {
      pending.append("\r\n").append(line);
    }
  });
  if (!pending.empty()) {
    add(pending);
  }
}

}  // namespace

Items ParseListFile(std::string_view content) {
  Items items;
  ForEachListItem(content, [&items](const std::string& item) { items.push_back(item); });
  return items;
}

ItemList ParseItemList(std::string_view content) {
  ItemList items;
  ForEachListItem(content, [&items](const std::string& item) { items.Append(item); });
  return items;
}

namespace {

template <typename ItemsOf>
std::string FormatItems(const ItemsOf& items) {
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

}  // namespace

std::string FormatListFile(const Items& items) {
  return FormatItems(items);
}

std::string FormatListFileFrom(const ItemList::Snapshot& items) {
  std::string out;
  items.ForEach(
      [&out](std::string_view item) { out.append(kItemMarker).append(item).append("\r\n"); });
  return out;
}

io::FileSystem::Pieces ListFilePieces(ItemList::Snapshot items) {
  constexpr std::size_t kPieceBytes = 1 << 20;
  struct Reader {
    ItemList::Snapshot items;
    std::size_t chunk = 0;
    std::size_t item = 0;  // within the chunk
    std::string piece;

    std::string_view operator()() {
      if (chunk > 0 || item > 0) {
        // A save in the background takes turns with the window, which must answer at once
        // even on a machine with few processors.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      piece.clear();
      while (chunk < items.ChunkCount() && piece.size() < kPieceBytes) {
        const ItemList::Chunk& texts = items.ChunkAt(chunk);
        if (item == texts.size()) {
          ++chunk;
          item = 0;
          continue;
        }
        piece.append(kItemMarker).append(texts[item++]).append("\r\n");
      }
      return piece;
    }
  };
  return Reader{std::move(items), 0, 0, std::string()};
}

std::vector<sync::ItemKey> FileItemKeys(const ItemList::Snapshot& items) {
  std::vector<sync::ItemKey> keys;
  keys.reserve(items.size());
  items.ForEach([&keys](std::string_view item) {
    if (item.find_first_of("\r\n") == std::string_view::npos) {
      keys.push_back(sync::KeyOf(item));
      return;
    }
    for (const std::string& read : ParseListFile(FormatListFile(Items{std::string(item)}))) {
      keys.push_back(sync::KeyOf(read));
    }
  });
  const auto& last = items.empty() ? nullptr : &items.ChunkAt(items.ChunkCount() - 1);
  if (last != nullptr && (*last)[last->size() - 1].empty()) {
    keys.pop_back();
  }
  return keys;
}

std::vector<sync::ItemKey> UnicodeFileItemKeys(const SharedWideItems::Pointers& items) {
  std::vector<sync::ItemKey> keys;
  keys.reserve(items.size());
  for (const SharedWideItems::Pointer& item : items) {
    std::vector<std::u16string_view> lines = text::SplitWideLines(*item);
    const char16_t last = item->empty() ? u'\r' : item->back();
    if (last == u'\r' || last == u'\n' || last == u'\u2028') {
      lines.emplace_back();
    }
    for (const std::u16string_view line : lines) {
      keys.push_back(sync::KeyOf(line));
    }
  }
  return keys;
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

namespace {

template <typename ItemList, typename TextOf>
std::string FormatUtf16Lines(const ItemList& items, TextOf&& textOf) {
  std::size_t units = 1;  // the mark
  for (const auto& item : items) {
    units += textOf(item).size() + 2;
  }
  std::string out(units * 2, '\0');
  char* at = out.data();
  const auto put = [&at](char16_t ch) {
    *at++ = static_cast<char>(ch & 0xFF);
    *at++ = static_cast<char>(ch >> 8);
  };
  put(u'\uFEFF');
  for (const auto& item : items) {
    for (const char16_t ch : textOf(item)) {
      put(ch);
    }
    put(u'\r');
    put(u'\n');
  }
  return out;
}

bool NonZeroAfterZero(std::string_view bytes) {
  const std::size_t zero = bytes.find('\0');
  return zero != std::string_view::npos &&
         bytes.find_first_not_of('\0', zero) != std::string_view::npos;
}

}  // namespace

std::string FormatUnicodeListFile(const WideItems& items) {
  return FormatUtf16Lines(items,
                          [](const std::u16string& item) -> const std::u16string& { return item; });
}

std::string FormatUnicodeListFile(const SharedWideItems::Pointers& items) {
  return FormatUtf16Lines(
      items, [](const SharedWideItems::Pointer& item) -> const std::u16string& { return *item; });
}

io::FileSystem::Pieces UnicodeListFilePieces(SharedWideItems::Snapshot items) {
  constexpr std::size_t kPieceUnits = 512 * 1024;
  struct Reader {
    SharedWideItems::Snapshot items;
    std::size_t item = 0;
    std::size_t unit = 0;  // within the item; its size stands for the line break after it
    bool marked = false;
    std::string piece;

    std::string_view operator()() {
      if (marked) {
        // A save in the background takes turns with the window, which must answer at once
        // even on a machine with few processors.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      piece.clear();
      const auto put = [this](char16_t ch) {
        piece += static_cast<char>(ch & 0xFF);
        piece += static_cast<char>(ch >> 8);
      };
      if (!marked) {
        put(u'\uFEFF');
        marked = true;
      }
      while (item < items->size() && piece.size() < kPieceUnits * 2) {
        const std::u16string& text = *(*items)[item];
        const std::size_t end = std::min(text.size(), unit + kPieceUnits);
        for (; unit < end; ++unit) {
          put(text[unit]);
        }
        if (unit == text.size()) {
          put(u'\r');
          put(u'\n');
          ++item;
          unit = 0;
        }
      }
      return piece;
    }
  };
  Reader reader;
  reader.items = std::move(items);
  return reader;
}

bool ListFileReadInPart(std::string_view content) {
  return NonZeroAfterZero(content);
}

bool UnicodeListFileReadInPart(std::string_view content) {
  const text::DetectedEncoding detected = text::EncodingByMark(content);
  const std::string_view body = content.substr(detected.markSize);
  if (detected.encoding != text::FileEncoding::kUtf16Le &&
      detected.encoding != text::FileEncoding::kUtf16Be) {
    return NonZeroAfterZero(body);
  }
  if (body.size() % 2 != 0) {
    return true;
  }
  const std::u16string units =
      text::Utf16FromBytes(body, detected.encoding == text::FileEncoding::kUtf16Be);
  const std::size_t zero = units.find(u'\0');
  return zero != std::u16string::npos &&
         units.find_first_not_of(u'\0', zero) != std::u16string::npos;
}

std::u16string KeepOriginal(const io::FileSystem& files, const std::u16string& path,
                            std::string_view content) {
  for (int number = 1;; ++number) {
    std::u16string copy = path + u".bak";
    if (number > 1) {
      for (const char digit : std::to_string(number)) {
        copy += static_cast<char16_t>(digit);
      }
    }
    if (!files.Exists(copy)) {
      files.WriteAll(copy, content);
      return copy;
    }
    if (files.ReadAll(copy) == content) {
      return copy;
    }
  }
}

}  // namespace pellix::lists
