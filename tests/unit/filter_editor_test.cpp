#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/list_admin/editor_fields.h"
#include "core/list_admin/filter_editor_commit.h"
#include "core/list_admin/list_name_rules.h"
#include "dialog_fixture.h"

namespace pellix::list_admin {
namespace {

using Names = std::vector<std::u16string>;

EditorFields Sample() {
  EditorFields fields;
  fields.name = "url";
  fields.type = 2;
  fields.perLine = true;
  fields.astring = "http https";
  fields.acount = "1";
  fields.bstring = "www";
  fields.bcount = "-2";
  fields.cstring = "0123456789";
  fields.zen = true;
  fields.small = true;
  fields.exfrom[0] = "a=b";
  fields.exto[0] = "c";
  fields.exfrom[7] = "\x95\x5C";
  return fields;
}

TEST(EditorFields, MakeTheFilterTheEditorShows) {
  filters::FilterDef expected;
  expected.filname = "url";
  expected.type = "2";
  expected.kaigyo = 1;
  expected.astring = "http https";
  expected.acount = 1;
  expected.bstring = "www";
  expected.bcount = -2;
  expected.cstring = "0123456789";
  expected.zen = true;
  expected.small = true;
  expected.exfrom[0] = "a=b";
  expected.exto[0] = "c";
  expected.exfrom[7] = "\x95\x5C";
  EXPECT_EQ(FilterDefFromFields(Sample()), expected);
  // Showing it again gives the same fields back.
  EXPECT_EQ(FieldsFromFilterDef(expected), Sample());

  EditorFields off = Sample();
  off.perLine = false;
  off.type = 0;
  EXPECT_EQ(FilterDefFromFields(off).kaigyo, 0);
  EXPECT_EQ(FilterDefFromFields(off).type, "0");
}

TEST(EditorFields, ACountIsTheIntegerInItsTextOrZero) {
  EXPECT_EQ(SpinValue("42"), 42);
  EXPECT_EQ(SpinValue("-7"), -7);
  EXPECT_EQ(SpinValue("+3"), 3);
  EXPECT_EQ(SpinValue("2147483647"), 2147483647);
  for (const char* text : {"", "abc", "1x", " 1", "2147483648", "0x10"}) {
    EXPECT_EQ(SpinValue(text), 0) << text;
  }
}

TEST(EditorFields, ATypeOutsideTheFourOrNoIntegerSelectsNothing) {
  filters::FilterDef def;
  for (const char* type : {"0", "1", "2", "3"}) {
    def.type = type;
    EXPECT_EQ(FieldsFromFilterDef(def).type, type[0] - '0');
  }
  for (const char* type : {"", "4", "7", "-1", "x", "1 "}) {
    def.type = type;
    EXPECT_FALSE(FieldsFromFilterDef(def).type.has_value()) << type;
  }
  def.kaigyo = 2;  // written by hand: line mode all the same
  EXPECT_TRUE(FieldsFromFilterDef(def).perLine);
}

TEST(EditorFields, ANewFilterKeepsOnlyTheOptionsAndReplacementsLastShown) {
  const EditorFields fresh = FieldsForNewFilter(Sample());
  EXPECT_TRUE(fresh.name.empty());
  EXPECT_EQ(fresh.type, 0);
  EXPECT_FALSE(fresh.perLine);
  EXPECT_EQ(fresh.acount, "0");
  EXPECT_EQ(fresh.bcount, "0");
  EXPECT_TRUE(fresh.astring.empty() && fresh.bstring.empty() && fresh.cstring.empty());
  EXPECT_TRUE(fresh.zen);
  EXPECT_FALSE(fresh.caps);
  EXPECT_TRUE(fresh.small);
  EXPECT_EQ(fresh.exfrom, Sample().exfrom);
  EXPECT_EQ(fresh.exto, Sample().exto);
  EXPECT_EQ(FieldsForNewFilter(fresh), fresh);
}

class FilterEditorTest : public testing_support::DialogTest {
 protected:
  EditorOutcome Commit(std::size_t editIndex, const EditorFields& fields) {
    return CommitEditor(store_, files_, app_, services_, editIndex, fields);
  }
  static EditorFields Named(std::string name) {
    EditorFields fields = Sample();
    fields.name = std::move(name);
    return fields;
  }
  static std::optional<Refusal> Warning(std::u16string_view message) {
    return Refusal{std::u16string(message), BoxKind::kWarning};
  }
};

TEST_F(FilterEditorTest, ChecksTheNameFirstThenTheTypeThenTheName) {
  AddLists({"a", "unicode"});
  files_.WriteAll(FilterPath("deleted"), "filname=deleted\r\n");
  const Names filesBefore = FileNames();
  EditorFields fields = Named("");
  fields.type.reset();
  EXPECT_EQ(Commit(2, fields).refusal, Warning(u"フィルター名がありません"));
  fields.name = "new";
  EXPECT_EQ(Commit(2, fields).refusal, Warning(u"タイプを指定してください"));
  EXPECT_EQ(Commit(0, fields).refusal, Warning(u"タイプを指定してください"));
  for (const char* taken : {"A", "deleted"}) {
    EXPECT_EQ(Commit(2, Named(taken)).refusal, Warning(u"フィルター名の重複！")) << taken;
    EXPECT_EQ(Commit(1, Named(taken)).refusal, Warning(u"フィルター名の重複！")) << taken;
  }
  EXPECT_EQ(Commit(2, Named("p|q")).refusal,
            Warning(u"「p|q」はファイル名に使えないため、フィルター名にできません"));
  EXPECT_EQ(Commit(1, Named("wide")).refusal, Warning(kUnicodeNameMessage));
  EXPECT_EQ(store_.Count(), 2u);
  EXPECT_EQ(store_.Slot(0).name, "a");
  EXPECT_EQ(FileNames(), filesBefore);
  EXPECT_THROW(Commit(3, Sample()), io::RangeError);
}

TEST_F(FilterEditorTest, ANewFilterAppendsAnEmptyListAndWritesItsFilterFile) {
  AddLists({"a"});
  store_.SwitchList(0);
  const EditorOutcome outcome = Commit(1, Sample());
  EXPECT_EQ(outcome, (EditorOutcome{std::nullopt, 1, true}));
  ASSERT_EQ(store_.Count(), 2u);
  EXPECT_EQ(store_.Slot(1).name, "url");
  EXPECT_TRUE(store_.Slot(1).items.empty());
  EXPECT_EQ(store_.Slot(1).filter, FilterDefFromFields(Sample()));
  EXPECT_EQ(filters::ReadFilterFile(files_, app_, "url"), FilterDefFromFields(Sample()));
  EXPECT_EQ(store_.Current(), 0u);
}

TEST_F(FilterEditorTest, ANewFilterThatCannotBeWrittenAddsNoList) {
  files_.heldPath = FilterPath("url");
  EXPECT_THROW(Commit(0, Sample()), io::FileCreateError);
  EXPECT_EQ(store_.Count(), 0u);
}

TEST_F(FilterEditorTest, AnUnchangedNameRewritesTheFilterInPlace) {
  AddLists({"a", "url"});
  lists::WriteListFile(files_, app_, "url", {"x"});
  // The file holds another filname; the list's own name names its files and wins.
  files_.WriteAll(FilterPath("url"), "filname=elsewhere\r\ntype=1\r\n");
  store_.SetItems(1, {"x"});
  const Names filesBefore = FileNames();
  EXPECT_EQ(FieldsForList(store_, 1).name, "url");

  EXPECT_EQ(Commit(1, Sample()), (EditorOutcome{std::nullopt, 1, false}));
  EXPECT_EQ(FileNames(), filesBefore);
  EXPECT_EQ(filters::ReadFilterFile(files_, app_, "url"), FilterDefFromFields(Sample()));
  EXPECT_EQ(store_.Slot(1).filter, FilterDefFromFields(Sample()));
  EXPECT_EQ(store_.Slot(1).items, (lists::Items{"x"}));
}

TEST_F(FilterEditorTest, AChangedNameLeavesNoFileOfTheOldName) {
  AddLists({"a", "old"});
  lists::WriteListFile(files_, app_, "old", {"kept"});
  store_.SwitchList(1);
  EXPECT_EQ(Commit(1, Named("url")), (EditorOutcome{std::nullopt, 1, false}));
  EXPECT_EQ(FileNames(), (Names{u"a.flt", u"url.dat", u"url.flt"}));
  EXPECT_EQ(filters::ReadFilterFile(files_, app_, "url"), FilterDefFromFields(Sample()));
  EXPECT_EQ(files_.ReadAll(ListPath("url")), "][)kept\r\n");
  EXPECT_EQ(store_.Slot(1).name, "url");
  EXPECT_EQ(store_.Slot(1).filter.filname, "url");
  EXPECT_EQ(store_.Current(), 1u);

  // Letter case alone renames the files too.
  EXPECT_FALSE(Commit(1, Named("URL")).refusal.has_value());
  EXPECT_EQ(FileNames(), (Names{u"URL.dat", u"URL.flt", u"a.flt"}));
}

TEST_F(FilterEditorTest, AFilterThatCannotBeWrittenGivesTheFilesTheirOldNamesBack) {
  AddLists({"old"});
  lists::WriteListFile(files_, app_, "old", {"kept"});
  const std::string filterBefore = files_.ReadAll(FilterPath("old"));
  files_.heldPath = FilterPath("url");
  EXPECT_THROW(Commit(0, Named("url")), io::FileCreateError);
  EXPECT_EQ(FileNames(), (Names{u"old.dat", u"old.flt"}));
  EXPECT_EQ(files_.ReadAll(FilterPath("old")), filterBefore);
  EXPECT_EQ(store_.Slot(0).name, "old");
  EXPECT_TRUE(store_.Slot(0).filter.type == "0");
}

TEST_F(FilterEditorTest, AFilterWhoseTypeIsNoneOfTheFourMustBeGivenOne) {
  WriteFilter("seven", "7");
  Add("seven");
  const EditorFields shown = FieldsForList(store_, 0);
  EXPECT_EQ(Commit(0, shown).refusal, Warning(u"タイプを指定してください"));
  EXPECT_EQ(filters::ReadFilterFile(files_, app_, "seven").type, "7");
}

}  // namespace
}  // namespace pellix::list_admin
