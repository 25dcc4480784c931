#include "core/capture/file_drop.h"

#include <gtest/gtest.h>

#include "core/platform_services.h"

namespace pellix::capture {
namespace {

using lists::Items;

const text::TextServices& Services() {
  return PlatformTextServices();
}

TEST(DropText, SortsThePathsWithoutRegardToCase) {
  EXPECT_EQ(DropText(Services(), {u"C:\\d\\b.txt", u"C:\\d\\A.txt", u"C:\\d\\c.txt"}),
            "C:\\d\\A.txt\r\nC:\\d\\b.txt\r\nC:\\d\\c.txt");
  EXPECT_EQ(DropText(Services(), {u"C:\\x\\B", u"C:\\x\\a"}), "C:\\x\\a\r\nC:\\x\\B");
}

TEST(DropText, OneFileGivesItsPath) {
  EXPECT_EQ(DropText(Services(), {u"C:\\\u8cc7\u6599\\\u5831\u544a.txt"}),
            "C:\\\x8E\x91\x97\xBF\\\x95\xF1\x8D\x90.txt");  // 資料\報告
}

TEST(DropText, KeepsLongPathsWholeAndTrimsOnlyTheEnd) {
  const std::u16string deep = u"C:\\" + std::u16string(400, u'd') + u"\\f.txt";
  EXPECT_EQ(DropText(Services(), {deep}).size(), deep.size());
  EXPECT_EQ(DropText(Services(), {u" C:\\a b \t"}), " C:\\a b");
  // Characters the code page lacks become '?' as in a capture.
  EXPECT_EQ(DropText(Services(), {u"C:\\caf\u00E9"}), "C:\\caf?");
}

TEST(SortDroppedFiles, SortsThePathsEveryTimeWithoutARepeatCheck) {
  lists::ListStore store;
  filters::FilterDef all;
  all.type = "1";
  store.AddSlot(lists::ListSlot{"all", {}, all});
  std::string lastText = "C:\\a";
  auto run = SortDroppedFiles(store, lastText, Services(), {u"C:\\a"});
  ASSERT_TRUE(run);
  EXPECT_EQ(run->inserted, std::vector<std::size_t>{1});
  run = SortDroppedFiles(store, lastText, Services(), {u"C:\\a"});
  ASSERT_TRUE(run);
  EXPECT_EQ(store.Slot(0).items, (Items{"C:\\a", "C:\\a"}));
  EXPECT_EQ(lastText, "C:\\a");

  EXPECT_FALSE(SortDroppedFiles(store, lastText, Services(), {}));
  EXPECT_EQ(store.Slot(0).items.size(), 2u);
}

}  // namespace
}  // namespace pellix::capture
