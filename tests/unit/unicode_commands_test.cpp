#include "core/lists/unicode_commands.h"

#include <gtest/gtest.h>

#include "core/lists/list_file.h"
#include "core/platform_services.h"
#include "list_fixtures.h"
#include "test_folder.h"

namespace pellix::lists {
namespace {

using testing_support::MakeStore;
using testing_support::View;

WideItems Wide(std::size_t count) {
  WideItems items;
  for (std::size_t i = 0; i < count; ++i) {
    items.push_back(u"w" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
  }
  return items;
}

TEST(Wdelact, RemovesTheSelectionAndSelectsTheItemAtTheCaretsPlace) {
  struct Case {
    const char* what;
    ViewState before;
    WideItems items;
    EditResult result;
  };
  const Case cases[] = {
      {"middle", View({1, 2}, 1), {u"w0", u"w3", u"w4"}, {true, View({1}, 1)}},
      {"the last item: the new last one",
       View({4}, 4),
       {u"w0", u"w1", u"w2", u"w3"},
       {true, View({3}, 3)}},
      {"nothing selected: nothing happens", View({}, 2), Wide(5), {false, View({}, 2)}},
      {"everything", View({0, 1, 2, 3, 4}, 0), {}, {true, View({}, std::nullopt)}},
  };
  for (const Case& c : cases) {
    ListStore store = MakeStore({"ansi"}, {}, Wide(5));
    EXPECT_EQ(wdelact(store, c.before), c.result) << c.what;
    EXPECT_EQ(store.UnicodeItems(), c.items) << c.what;
    EXPECT_EQ(store.Slot(0).items, Items{"ansi"}) << c.what;
  }
}

TEST(Wclearhact, KeepsTheNewestHalf) {
  const std::pair<std::size_t, std::size_t> kept[] = {{4, 2}, {5, 2}, {1, 0}};
  for (const auto& [count, keep] : kept) {
    ListStore store = MakeStore({}, {}, Wide(count));
    const EditResult result = wclearhact(store, View({0}, 0));
    EXPECT_EQ(store.UnicodeItems(), Wide(keep)) << count;
    const EditResult expected = keep == 0 ? EditResult{true, View({}, std::nullopt)}
                                          : EditResult{true, View({0, keep - 1}, keep - 1)};
    EXPECT_EQ(result, expected) << count;
  }
  ListStore empty = MakeStore({});
  EXPECT_FALSE(wclearhact(empty, View({}, std::nullopt)).changed);
}

TEST(Wclearact, RemovesEverything) {
  ListStore store = MakeStore({}, {}, Wide(3));
  EXPECT_EQ(wclearact(store, View({1}, 1)), (EditResult{true, View({}, std::nullopt)}));
  EXPECT_TRUE(store.UnicodeItems().empty());
  EXPECT_EQ(wclearact(store, View({}, std::nullopt)), (EditResult{false, View({}, std::nullopt)}));
}

// The end of the run writes a Unicode list the user emptied, and leaves the file of one that was
// empty all along.
TEST(UnicodeListFile, ClearedItemsStayClearedAndAnUntouchedEmptyListKeepsItsFile) {
  pellix::testing_support::TestFolder folder;
  const io::FileSystem& files = PlatformFileSystem();
  const io::AppFolder app(folder.Dir(), PlatformTextServices());
  const std::u16string path = ListFilePath(app, "unicode");
  const std::string previous = FormatUnicodeListFile(WideItems{u"from the last run"});

  const auto save = [&](ListStore& store) {
    files.WriteAll(path, previous);
    store.SaveListFiles(files, app);
    return files.ReadAll(path);
  };
  ListStore untouched = MakeStore({});
  EXPECT_EQ(save(untouched), previous);

  const auto emptied = [](auto command) {
    ListStore store = MakeStore({}, {}, Wide(2));
    command(store);
    EXPECT_TRUE(store.UnicodeItems().empty());
    return store;
  };
  ListStore deleted = emptied([](ListStore& store) { wdelact(store, View({0, 1}, 0)); });
  ListStore cleared = emptied([](ListStore& store) { wclearact(store, View({}, 0)); });
  ListStore halved = emptied([](ListStore& store) {
    wclearhact(store, View({}, 0));
    wclearhact(store, View({}, 0));
  });
  for (ListStore* store : {&deleted, &cleared, &halved}) {
    EXPECT_EQ(ParseUnicodeListFile(PlatformTextServices(), save(*store)), WideItems{});
  }
}

}  // namespace
}  // namespace pellix::lists
