#include "core/sync/list_merge.h"

#include <gtest/gtest.h>

#include <random>

#include "merge_properties.h"

namespace pellix::sync {
namespace {

using testing_support::CheckMerge;
using testing_support::MergeLists;
using testing_support::Texts;

struct MergeCase {
  const char* what;
  Texts base;
  Texts here;
  Texts found;
  Texts merged;
};

class ListMergeCases : public testing::TestWithParam<MergeCase> {};

TEST_P(ListMergeCases, MergesAsAUserOfTwoPcsExpects) {
  const MergeCase& c = GetParam();
  EXPECT_EQ(MergeLists(c.base, c.here, c.found), c.merged);
  EXPECT_EQ(CheckMerge(c.base, c.here, c.found), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListMergeCases,
    testing::Values(
        MergeCase{"captures on both sides: the other's on top, in their order",
                  {"a", "b"},
                  {"h1", "a", "b"},
                  {"f2", "f1", "a", "b"},
                  {"f2", "f1", "h1", "a", "b"}},
        MergeCase{"a delete there is a delete here",
                  {"a", "b", "c"},
                  {"a", "b", "c"},
                  {"a", "c"},
                  {"a", "c"}},
        MergeCase{"a delete here stays, a capture there comes in",
                  {"a", "b"},
                  {"b"},
                  {"x", "a", "b"},
                  {"x", "b"}},
        MergeCase{"both deleted the same item", {"a", "b"}, {"b"}, {"b"}, {"b"}},
        MergeCase{"a text both copied is kept once", {"a"}, {"x", "a"}, {"x", "a"}, {"x", "a"}},
        MergeCase{"of a text held twice, the other removed one: the lower one goes",
                  {"a", "b", "a"},
                  {"n", "a", "b", "a"},
                  {"b", "a"},
                  {"n", "a", "b"}},
        MergeCase{"a copy here of a text the other removed stays",
                  {"a", "b"},
                  {"a", "a", "b"},
                  {"b"},
                  {"a", "b"}},
        MergeCase{"the other cleared the list, a capture here stays",
                  {"a", "b"},
                  {"h", "a", "b"},
                  {},
                  {"h"}},
        MergeCase{"an empty base", {}, {"h"}, {"f"}, {"f", "h"}},
        MergeCase{"an item edited there: the new text comes in on top, the old one goes",
                  {"a", "b", "c"},
                  {"h", "a", "b", "c"},
                  {"a", "B", "c"},
                  {"B", "h", "a", "c"}}),
    [](const testing::TestParamInfo<MergeCase>& info) {
      return "case" + std::to_string(info.index);
    });

TEST(ListMerge, AnUnchangedListTakesTheOthersVersionExactly) {
  // Of two equal texts, the bottom one went.
  const Texts base{"a", "b", "c", "b"};
  const Texts found{"y", "x", "a", "b", "c"};
  const ListChange<std::string> change = CompareLists(KeysInOrder(base), found);
  EXPECT_TRUE(change.simple);
  EXPECT_EQ(MergeLists(base, base, found), found);
  EXPECT_EQ(change.lost, std::vector<ItemKey>{KeyOf(std::string("b"))});
}

TEST(ListMerge, AReorderThereIsNoSimpleChangeAndMovesNothingHere) {
  const Texts base{"a", "b", "c"};
  const Texts found{"c", "a", "b"};
  const ListChange<std::string> change = CompareLists(KeysInOrder(base), found);
  EXPECT_FALSE(change.simple);
  EXPECT_TRUE(change.Empty());
  const Texts here{"h", "a", "b", "c"};
  EXPECT_EQ(MergeLists(base, here, found), here);
}

TEST(ListMerge, RandomEditsOnBothSidesKeepEveryPromise) {
  // Few distinct texts, so that duplicates and texts both sides touch are common.
  std::mt19937 random(20261209);
  const auto pick = [&random](std::size_t below) {
    return std::uniform_int_distribution<std::size_t>(0, below - 1)(random);
  };
  const auto text = [&] { return std::string(1, static_cast<char>('a' + pick(6))); };
  const auto edit = [&](Texts list) {
    for (std::size_t step = pick(5); step > 0; --step) {
      if (!list.empty() && pick(2) == 0) {
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(pick(list.size())));
      } else {
        list.insert(list.begin(), text());
      }
    }
    return list;
  };
  for (int round = 0; round < 5000; ++round) {
    Texts base;
    for (std::size_t n = pick(8); n > 0; --n) {
      base.push_back(text());
    }
    const Texts here = edit(base);
    const Texts found = edit(base);
    const auto broken = CheckMerge(base, here, found);
    ASSERT_EQ(broken, std::nullopt) << "round " << round;
  }
}

TEST(ListMerge, ACopyMadeBesideTakesOnlyWhatNothingHereKnew) {
  const Texts base{"b", "z"};
  // Here "z" was removed lately and the list saved; the copy was made before it saw that.
  const Texts here{"h", "b"};
  const Texts copy{"c", "b", "z"};
  const std::vector<ItemKey> removedLately{KeyOf(std::string("z"))};
  EXPECT_EQ(MergeLists(Texts{"h", "b"}, here, copy, MergeMode::kAddOnly, removedLately),
            (Texts{"c", "h", "b"}));
  // Nothing is taken out for what the copy lacks, and it adds nothing twice.
  EXPECT_EQ(MergeLists(base, here, Texts{}, MergeMode::kAddOnly), here);
  EXPECT_EQ(MergeLists(base, Texts{"c", "h", "b"}, copy, MergeMode::kAddOnly, removedLately),
            (Texts{"c", "h", "b"}));
}

TEST(ListMerge, WideListsMergeAsNarrowOnes) {
  const std::vector<std::u16string> base{u"あ", u"い"};
  const std::vector<std::u16string> here{u"ここ", u"あ", u"い"};
  const std::vector<std::u16string> found{u"そこ", u"い"};
  const ListChange<std::u16string> change = CompareLists(KeysInOrder(base), found);
  EXPECT_EQ(Merged(here, change, PlanMerge(change, here, MergeMode::kBoth)),
            (std::vector<std::u16string>{u"そこ", u"ここ", u"い"}));
}

}  // namespace
}  // namespace pellix::sync
