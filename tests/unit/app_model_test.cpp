#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/model.h"
#include "core/app/saver.h"
#include "core/app/startup.h"
#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/lists/default_lists.h"
#include "core/lists/list_file.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::app {
namespace {

class AppModelTest : public testing::Test {
 protected:
  void WriteFilter(std::string_view name, std::string_view type = "0") {
    filters::FilterDef def;
    def.filname = std::string(name);
    def.type = std::string(type);
    filters::WriteFilterFile(files_, app_, def);
  }
  void Load(const std::optional<std::string>& settings) {
    model_.placement = Placement{1, 2, 257, 207};
    LoadModel(model_, settings ? std::optional(settings::ParseSettings(*settings)) : std::nullopt,
              files_, app_, services_);
  }
  std::string Ini() const { return files_.ReadAll(SettingsPath(app_)); }

  testing_support::TestFolder folder_;
  const text::TextServices& services_ = PlatformTextServices();
  const io::FileSystem& files_ = PlatformFileSystem();
  io::AppFolder app_{folder_.Dir(), services_};
  Model model_;
};

TEST_F(AppModelTest, AFirstStartHasTheThreeListsShowsHistoryAndWritesItsDefaults) {
  Load(std::nullopt);
  ASSERT_EQ(model_.lists.Count(), 3u);
  EXPECT_EQ(model_.lists.Slot(0).name, lists::kHistoryListName);
  EXPECT_EQ(model_.lists.Current(), 0u);
  EXPECT_TRUE(model_.lists.UnicodeCapture());
  EXPECT_EQ(model_.hotkey.mods, 2u);
  EXPECT_EQ(model_.hotkey.letter, 'A');

  Saver saver(files_, app_);
  EXPECT_TRUE(saver.SaveChanges(model_).empty());
  EXPECT_EQ(Ini(),
            "left=1\r\ntop=2\r\nheight=207\r\nwidth=257\r\nfontsize=9\r\n"
            "fontcolor=clWindowText\r\nsendtab=0\r\nlock=\r\nmemo=0\r\ntrans=0\r\noption=0\r\n"
            "list0=\x97\x9A\x97\xF0\r\nlist1=\x8B\x4C\x98\x5E\r\nlist2=unicode\r\nview=0\r\n"
            "fsmods=2\r\nhotkey=A\r\n");
}

TEST_F(AppModelTest, TheSettingsChooseListsOptionsTheShownListAndTheLastText) {
  for (const char* name : {"a", "b", "Unicode"}) {
    WriteFilter(name);
  }
  lists::WriteListFile(files_, app_, "b", {"top of b", "second"});
  Load(
      "left=-5\r\ntop=7\r\nheight=100\r\nwidth=300\r\nfontsize=12\r\nsendtab=1\r\nlock=0\r\n"
      "memo=1\r\ntrans=1\r\noption=12\r\nlist0=a\r\nlist1=b\r\nlist2=Unicode\r\nview=1\r\n"
      "fsmods=4\r\nhotkey=q\r\n");
  EXPECT_EQ(model_.placement.left, -5);
  EXPECT_EQ(model_.placement.width, 300);
  EXPECT_EQ(model_.placement.height, 207);  // 100 is too small to apply
  EXPECT_TRUE(model_.sendTabFlag && model_.lockFlag && model_.view.memo && model_.view.transparent);
  EXPECT_EQ(model_.view.pasteOption, 12);  // outside the menu: no option checked
  EXPECT_EQ(model_.view.fontSize, 12);
  EXPECT_EQ(model_.lists.Current(), 1u);
  EXPECT_EQ(model_.lastText, "top of b");
  // Only the exact name holds UTF-16 items, but the capture into it is on for any case.
  EXPECT_TRUE(model_.lists.UnicodeCapture());
  EXPECT_EQ(model_.hotkey.mods, 4u);
  EXPECT_EQ(model_.hotkey.letter, 'q');  // a hand-written letter is used as it stands

  const settings::SettingsState state = SettingsFromModel(model_);
  EXPECT_EQ(state.lists, (std::vector<std::string>{"a", "b", "Unicode"}));
  EXPECT_EQ(state.view, 1);
  EXPECT_EQ(state.option, 12);
}

TEST_F(AppModelTest, AViewOutsideTheListsShowsNoneAndTheUnicodeListSetsNoLastText) {
  WriteFilter("a");
  WriteFilter("unicode");
  lists::WriteListFile(files_, app_, "a", {"item"});
  Load("left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\nlist0=a\r\nlist1=unicode\r\nview=5\r\n");
  EXPECT_FALSE(model_.lists.Current());
  EXPECT_EQ(SettingsFromModel(model_).view, -1);  // written as 0

  Model other;
  LoadModel(other,
            settings::ParseSettings(
                "left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\nlist0=a\r\nlist1=unicode\r\nview=1\r\n"),
            files_, app_, services_);
  EXPECT_EQ(other.lists.Current(), 1u);
  EXPECT_EQ(other.lastText, "");
}

TEST_F(AppModelTest, ListsReadSideBySideJoinInTheirOrderAndTheFirstFailureInThatOrderIsReported) {
  for (const char* name : {"a", "b", "c", "d"}) {
    WriteFilter(name);
    lists::WriteListFile(files_, app_, name, {std::string(name) + "1", std::string(name) + "2"});
  }
  Load(
      "left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\nlist0=d\r\nlist1=b\r\nlist2=a\r\nlist3=c\r\n"
      "view=2\r\n");
  ASSERT_EQ(model_.lists.Count(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string name(1, "dbac"[i]);
    EXPECT_EQ(model_.lists.Slot(i).name, name);
    EXPECT_EQ(model_.lists.Slot(i).items, (lists::Items{name + "1", name + "2"}));
  }
  EXPECT_EQ(model_.lastText, "a1");

  // "y" and "z" have no filter file: the start stops with the error of "y", the earlier one.
  Model other;
  try {
    LoadModel(other,
              settings::ParseSettings("left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\nlist0=a\r\nlist1="
                                      "y\r\nlist2=z\r\nview=0\r\n"),
              files_, app_, services_);
    FAIL() << "no error";
  } catch (const io::AppError& error) {
    EXPECT_EQ(error.Message(), io::FileOpenError(filters::FilterFilePath(app_, "y")).Message());
  }
}

TEST_F(AppModelTest, ANameThatIsNoFileNameStopsTheStartBeforeAnyListIsRead) {
  WriteFilter("a");
  EXPECT_THROW(
      Load("left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\nlist0=a\r\nlist1=..\\up\r\nview=0\r\n"),
      io::AppError);
  EXPECT_EQ(model_.lists.Count(), 0u);
  // A settings file naming no list starts with the defaults, like a first start.
  Load("left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\n");
  EXPECT_EQ(model_.lists.Count(), 3u);
  EXPECT_EQ(model_.lists.Current(), 0u);
}

TEST_F(AppModelTest, ABadNameOrOneNamedTwiceStopsTheStartNamingTheSettingsLines) {
  // Every list could be read, so only the names stop the start.
  for (const char* name : {"memo", "MeMo", "a", "\x82\x81", "\x82\x60"}) {
    WriteFilter(name);
  }
  const auto message = [this](std::string_view lists) {
    Model model;
    try {
      LoadModel(model,
                settings::ParseSettings("left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\nview=0\r\n" +
                                        std::string(lists)),
                files_, app_, services_);
    } catch (const io::AppError& error) {
      EXPECT_EQ(model.lists.Count(), 0u);
      return error.Message();
    }
    return std::u16string(u"accepted");
  };
  const struct {
    const char* lists;
    const char16_t* message;
  } cases[] = {
      {"list0=memo\r\nlist1=a\r\nlist2=memo\r\n",
       u"pellix.ini の list0 \"memo\" と list2 \"memo\" は同じファイルを使うため、読み込めません"},
      {"list0=a\r\nlist1=memo\r\nlist2=MeMo\r\n",
       u"pellix.ini の list1 \"memo\" と list2 \"MeMo\" は同じファイルを使うため、読み込めません"},
      // Full-width letters have their case on Windows' file systems too.
      {"list0=\x82\x81\r\nlist1=\x82\x60\r\n",
       u"pellix.ini の list0 \"ａ\" と list1 \"Ａ\" は同じファイルを使うため、読み込めません"},
      {"list0=a\r\nlist1=x\x81/y\r\n",
       u"pellix.ini の list1 \"x\uFFFD/y\" はファイル名に使えないため、読み込めません"},
      {"list0=a\r\nlist1=memo\r\nlist2=\x82\x81\r\n", u"accepted"},
  };
  for (const auto& [lists, expected] : cases) {
    EXPECT_EQ(message(lists), expected) << lists;
  }
}

TEST_F(AppModelTest, TheSaverWritesOnlyWhatChangedSinceItLastWrote) {
  Load(std::nullopt);
  Saver saver(files_, app_);
  ASSERT_TRUE(saver.SaveChanges(model_).empty());
  const auto historyFile = lists::ListFilePath(app_, lists::kHistoryListName);
  std::filesystem::remove(std::filesystem::path(std::u16string(historyFile)));
  std::filesystem::remove(std::filesystem::path(SettingsPath(app_)));

  EXPECT_TRUE(saver.SaveChanges(model_).empty());  // nothing changed: nothing written
  EXPECT_FALSE(files_.Exists(historyFile));
  EXPECT_FALSE(files_.Exists(SettingsPath(app_)));

  model_.lists.InsertAtTop(0, {"new"});
  model_.placement.left = 99;
  EXPECT_TRUE(saver.SaveChanges(model_).empty());
  EXPECT_EQ(files_.ReadAll(historyFile), "][)new\r\n");
  EXPECT_TRUE(Ini().starts_with("left=99\r\n"));

  // WriteSettings always writes, as the hotkey menu asks.
  std::filesystem::remove(std::filesystem::path(SettingsPath(app_)));
  saver.WriteSettings(model_);
  EXPECT_TRUE(files_.Exists(SettingsPath(app_)));
}

TEST_F(AppModelTest, TheSaverReportsEveryFailureAndStillWritesTheRest) {
  Load(std::nullopt);
  std::filesystem::create_directory(std::filesystem::path(SettingsPath(app_)));
  model_.lists.InsertAtTop(0, {"kept"});
  Saver saver(files_, app_);
  const std::vector<SaveFailure> failures = saver.SaveChanges(model_);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].path, SettingsPath(app_));
  // The create message first, then the system's reason.
  EXPECT_TRUE(
      failures[0].message.starts_with(io::FileCreateError(SettingsPath(app_)).Message() + u"\r\n"));
  EXPECT_GT(failures[0].message.size(),
            io::FileCreateError(SettingsPath(app_)).Message().size() + 2);
  // What was to be written is kept, so the caller can ask, or keep it elsewhere.
  EXPECT_TRUE(failures[0].content.starts_with("left="));
  EXPECT_EQ(files_.ReadAll(lists::ListFilePath(app_, lists::kHistoryListName)), "][)kept\r\n");
  // The settings were not written, so the next save tries them again.
  std::filesystem::remove(std::filesystem::path(SettingsPath(app_)));
  EXPECT_TRUE(saver.SaveChanges(model_).empty());
  EXPECT_TRUE(files_.Exists(SettingsPath(app_)));
}

}  // namespace
}  // namespace pellix::app
