// The packed, chunked list the store keeps ordinary lists in: it must be the same list as a
// plain vector after any run of changes, however they cross its chunks, and a snapshot taken
// before a change must never see it, on any thread.

#include "core/lists/item_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/lists/list_file.h"

namespace pellix::lists {
namespace {

using Texts = std::vector<std::string>;
using Chunked = ItemList;

Texts Numbered(std::size_t count, const std::string& prefix) {
  Texts texts;
  for (std::size_t i = 0; i < count; ++i) {
    texts.push_back(prefix + std::to_string(i));
  }
  return texts;
}

Texts Read(const Chunked::Snapshot& snapshot) {
  Texts texts;
  snapshot.ForEach([&texts](std::string_view text) { texts.emplace_back(text); });
  return texts;
}

TEST(ChunkedTexts, AnyRunOfChangesLeavesTheListAPlainVectorWouldHold) {
  std::mt19937 random(1209);
  const auto pick = [&random](std::size_t below) {
    return std::uniform_int_distribution<std::size_t>(0, below - 1)(random);
  };
  // Lists around and well past a chunk, so that changes cross chunks, split and empty them.
  for (const std::size_t start : {0u, 3u, 4096u, 9000u, 20000u}) {
    Texts plain = Numbered(start, "s");
    Chunked chunked(plain);
    for (int step = 0; step < 400; ++step) {
      switch (pick(6)) {
        case 0: {  // captures, or a run of imported lines, anywhere
          const std::size_t at = plain.empty() || pick(2) == 0 ? 0 : pick(plain.size() + 1);
          Texts texts = Numbered(1 + pick(step % 50 == 0 ? 9000 : 5), "n" + std::to_string(step));
          plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(at), texts.begin(), texts.end());
          chunked.Insert(at, std::move(texts));
          break;
        }
        case 1: {  // a deletion of some items, spread over the list
          std::vector<std::size_t> gone;
          for (std::size_t i = 0; i < plain.size(); ++i) {
            if (pick(plain.size() < 50 ? 3 : 700) == 0) {
              gone.push_back(i);
            }
          }
          for (auto it = gone.rbegin(); it != gone.rend(); ++it) {
            plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(*it));
          }
          chunked.EraseAscending(gone);
          break;
        }
        case 2:
          if (!plain.empty()) {
            const std::size_t at = pick(plain.size());
            plain[at] += "*";
            chunked.Replace(at, plain[at]);
          }
          break;
        case 3:
          if (pick(10) == 0) {
            const std::size_t count = plain.empty() ? 0 : pick(plain.size());
            plain.resize(count);
            chunked.KeepFirst(count);
          }
          break;
        case 4:
          if (pick(20) == 0) {
            plain = chunked.ToVector();
            chunked = Chunked(plain);
          }
          break;
        default:
          break;
      }
      ASSERT_EQ(chunked.size(), plain.size()) << "step " << step;
    }
    EXPECT_TRUE(chunked == plain) << "from " << start;
    EXPECT_EQ(Read(chunked.Take()), plain);
    EXPECT_EQ(chunked.ToVector(), plain);
  }
}

TEST(ChunkedTexts, ASnapshotKeepsWhatItSawWhateverChangesAfterIt) {
  Chunked list(Numbered(10000, "a"));
  const Chunked::Snapshot before = list.Take();
  const Texts seen = Read(before);
  list.Insert(0, {"top"});
  list.Replace(5000, "edited");
  list.EraseAscending({1, 9000});
  list.KeepFirst(20);
  EXPECT_EQ(Read(before), seen);
  EXPECT_EQ(before.size(), 10000u);
  EXPECT_EQ(list.size(), 20u);
  EXPECT_EQ(list[0], "top");
}

TEST(ItemList, ItemsOfAnySizeSplitTheirChunksByBytesToo) {
  // A few long texts fill a chunk's bytes long before its count.
  Texts plain(3, std::string(900'000, 'x'));
  Chunked list(plain);
  for (int k = 0; k < 5; ++k) {
    plain.insert(plain.begin(), std::string(700'000, static_cast<char>('a' + k)));
    list.Insert(0, {plain.front()});
  }
  EXPECT_TRUE(list == plain);
  EXPECT_GT(list.Take().ChunkCount(), 2u);
}

TEST(ChunkedTexts, ASnapshotIsReadOnAnotherThreadWhileTheListChanges) {
  Chunked list(Numbered(30000, "t"));
  for (int round = 0; round < 20; ++round) {
    const Chunked::Snapshot snapshot = list.Take();
    const std::size_t expected = snapshot.size();
    std::size_t counted = 0;
    std::thread reader([&] {
      std::string formatted = FormatListFileFrom(snapshot);
      counted = ParseListFile(formatted).size();
    });
    for (int k = 0; k < 200; ++k) {
      list.Insert(0, {"capture " + std::to_string(round) + "/" + std::to_string(k)});
      const auto at = static_cast<std::size_t>(k) * 7;
      list.Replace(at, std::string(list[at]) + "!");
    }
    list.EraseAscending({10, 20000});
    reader.join();
    EXPECT_EQ(counted, expected) << "round " << round;
  }
}

TEST(ChunkedTexts, TheFileIsWrittenInPiecesAsWholeAndItsKeysAreWhatAReaderFinds) {
  // Odd items: a lone LF, a continuation line that starts with the marker, an empty last item.
  Chunked list(Numbered(6000, "item "));
  list.Insert(100, {"a\nb", "p\r\n][)q", "x][)y"});
  list.Insert(list.size(), {"z", ""});
  const Chunked::Snapshot snapshot = list.Take();
  std::string streamed;
  io::FileSystem::Pieces pieces = ListFilePieces(snapshot);
  for (std::string_view piece = pieces(); !piece.empty(); piece = pieces()) {
    streamed.append(piece);
  }
  EXPECT_EQ(streamed, FormatListFile(list.ToVector()));
  EXPECT_EQ(FileItemKeys(snapshot), sync::KeysInOrder(ParseListFile(streamed)));
  EXPECT_TRUE(ParseItemList(streamed) == ParseListFile(streamed));
}

}  // namespace
}  // namespace pellix::lists
