// What the windows do with the model: a clipboard change taken in, the text of a paste, the
// hotkey's answer and the memo's place.

#include "core/app/window_rules.h"

#include <gtest/gtest.h>

#include "core/platform_services.h"
#include "core/search/search_query.h"

namespace pellix::app {
namespace {

using lists::Items;
using lists::WideItems;

// "all" takes every capture and is shown; the second list is the UTF-16 list, or without the
// Unicode capture an ordinary list that keeps nothing.
Model MakeModel(bool unicodeCapture) {
  Model model;
  filters::FilterDef everything;
  everything.type = "1";
  model.lists.AddSlot(lists::ListSlot{"all", {}, everything});
  filters::FilterDef storage;
  storage.type = "0";
  model.lists.AddSlot(lists::ListSlot{unicodeCapture ? "unicode" : "kept", {}, storage});
  model.lists.SwitchList(0);
  return model;
}

ClipboardContent Text(std::u16string wide, std::string ansi) {
  return ClipboardContent{false, std::move(wide), std::move(ansi)};
}

const text::TextServices& Services() {
  return PlatformTextServices();
}

TEST(CaptureClipboard, TheUnicodeListTakesEveryChangeTheFiltersNoRepeat) {
  Model model = MakeModel(true);
  EXPECT_TRUE(CaptureClipboard(model, Text(u"a", "a"), Services()).unicodeInserted);
  const CaptureOutcome repeat = CaptureClipboard(model, Text(u"a", "a"), Services());
  EXPECT_TRUE(repeat.unicodeInserted);
  EXPECT_FALSE(repeat.run);  // the filters saw the same text last time
  CaptureClipboard(model, Text(u"b", "b"), Services());
  EXPECT_EQ(model.lists.Slot(0).items, (Items{"b", "a"}));
  EXPECT_EQ(model.lists.UnicodeItems().size(), 3u);
  EXPECT_EQ(model.lastText, "b");

  // An empty text goes nowhere; no text at all leaves the last one in place.
  const CaptureOutcome empty = CaptureClipboard(model, Text(u"", ""), Services());
  EXPECT_FALSE(empty.unicodeInserted);
  EXPECT_FALSE(empty.run);
  EXPECT_FALSE(CaptureClipboard(model, ClipboardContent{}, Services()).run);
  EXPECT_EQ(model.lastText, "b");
}

TEST(CaptureClipboard, SecretsOwnWritesAndAnOffUnicodeCaptureTakeNothing) {
  Model model = MakeModel(false);
  const CaptureOutcome first = CaptureClipboard(model, Text(u"x", "x"), Services());
  EXPECT_FALSE(first.unicodeInserted);
  ASSERT_TRUE(first.run);
  EXPECT_EQ(first.run->inserted, (std::vector<std::size_t>{1, 0}));

  const CaptureOutcome secret =
      CaptureClipboard(model, ClipboardContent{true, u"pw", "pw"}, Services());
  EXPECT_FALSE(secret.unicodeInserted || secret.run);
  EXPECT_EQ(model.lists.Slot(0).items, (Items{"x"}));
  EXPECT_EQ(model.lastText, "x");

  model.ownWrite = true;
  EXPECT_TRUE(TakeOwnWrite(model));
  EXPECT_FALSE(TakeOwnWrite(model));  // only the one change our write caused
}

TEST(TakePasteText, TakesTheShownListsSelectionAndMarksOrdinaryPastes) {
  Model model = MakeModel(true);
  model.lists.InsertAtTop(0, {"one", "two"});
  model.lists.InsertUnicodeAtTop(u"ü");
  model.view.pasteOption = std::nullopt;

  EXPECT_EQ(TakePasteText(model, false, {0, 1}, false, Services()), u"");
  EXPECT_FALSE(model.pastedSinceHotkey);  // no current item: nothing pasted
  EXPECT_EQ(TakePasteText(model, false, {1}, true, Services()), u"two");
  EXPECT_TRUE(model.pastedSinceHotkey);

  model.pastedSinceHotkey = false;
  model.lists.SwitchList(1);
  EXPECT_EQ(TakePasteText(model, true, {0}, false, Services()), u"ü\r\n");
  EXPECT_FALSE(model.pastedSinceHotkey);
}

// After クリアー the text copied last is taken again when copied again, unless the lock kept it.
TEST(ClearLists, AClearForgetsTheLastTextUnlessLocked) {
  Model model = MakeModel(true);
  CaptureClipboard(model, Text(u"keep", "keep"), Services());
  CaptureClipboard(model, Text(u"again", "again"), Services());
  model.lockFlag = true;
  ClearOrdinaryList(model, 0, lists::ViewState{});
  EXPECT_EQ(model.lists.Slot(0).items.size(), 2u);
  EXPECT_FALSE(CaptureClipboard(model, Text(u"again", "again"), Services()).run);

  search::ListSearch search;
  search.Set(model.lists, lists::ListId::Ansi(0), search::SearchQuery(u"again", Services()));
  EXPECT_FALSE(ClearSearchResults(model, search));
  model.lockFlag = false;
  ASSERT_TRUE(ClearSearchResults(model, search));
  EXPECT_EQ(model.lists.Slot(0).items, (Items{"keep"}));
  EXPECT_TRUE(CaptureClipboard(model, Text(u"again", "again"), Services()).run);

  ClearOrdinaryList(model, 0, lists::ViewState{});
  EXPECT_TRUE(model.lists.Slot(0).items.empty());
  EXPECT_TRUE(CaptureClipboard(model, Text(u"again", "again"), Services()).run);
}

TEST(AnswerHotkey, ShowsHidesOrBringsForwardAfterAPaste) {
  Model model;
  EXPECT_EQ(AnswerHotkey(model, false, false), HotkeyAnswer::kShow);
  EXPECT_EQ(AnswerHotkey(model, true, true), HotkeyAnswer::kHide);
  EXPECT_EQ(AnswerHotkey(model, true, false), HotkeyAnswer::kBringForward);
  model.pastedSinceHotkey = true;
  EXPECT_EQ(AnswerHotkey(model, true, true), HotkeyAnswer::kBringForward);
  EXPECT_FALSE(model.pastedSinceHotkey);
  EXPECT_EQ(AnswerHotkey(model, true, true), HotkeyAnswer::kHide);
}

TEST(FocusOnActivation, WithTheSearchOpenTheFocusComesBackWhereItWas) {
  // Del after clicking a result must delete the item, not edit the field.
  EXPECT_EQ(FocusOnActivation(true, FocusedPart::kList), FocusedPart::kList);
  EXPECT_EQ(FocusOnActivation(true, FocusedPart::kSearchField), FocusedPart::kSearchField);
  EXPECT_EQ(FocusOnActivation(true, FocusedPart::kOtherControl), FocusedPart::kOtherControl);
  EXPECT_EQ(FocusOnActivation(true, FocusedPart::kNone), FocusedPart::kSearchField);
  // Without the field, the list is ready for keys whatever had the focus.
  for (const FocusedPart last : {FocusedPart::kNone, FocusedPart::kList, FocusedPart::kSearchField,
                                 FocusedPart::kOtherControl}) {
    EXPECT_EQ(FocusOnActivation(false, last), FocusedPart::kList);
  }
}

TEST(MemoPlacement, DocksOnTheRightAndNarrowsAtTheWorkAreasEdge) {
  const Placement main{100, 50, 240, 200};
  EXPECT_EQ(MemoPlacement(main, 1000).left, 341);
  EXPECT_EQ(MemoPlacement(main, 1000).width, 240);
  EXPECT_EQ(MemoPlacement(main, 1000).top, 50);
  EXPECT_EQ(MemoPlacement(main, 1000).height, 200);
  EXPECT_EQ(MemoPlacement(main, 500).width, 159);
}

TEST(UnicodeListNames, TheCaptureTakesAnyCaseTheViewOnlyTheExactName) {
  lists::ListStore store;
  store.AddSlot(lists::ListSlot{"Unicode", {}, {}});
  store.SwitchList(0);
  EXPECT_FALSE(store.UnicodeCapture());
  EXPECT_FALSE(store.UnicodeListShown());
  store.NoteUnicodeCaptureNames();
  EXPECT_TRUE(store.UnicodeCapture());
  EXPECT_TRUE(lists::NamesUnicodeCapture("UNICODE"));
  EXPECT_FALSE(lists::NamesUnicodeCapture("unicod"));
  EXPECT_FALSE(lists::NamesUnicodeCapture("unicode2"));
  store.AddSlot(lists::ListSlot{"unicode", {}, {}});
  store.SwitchList(1);
  EXPECT_TRUE(store.UnicodeListShown());
}

}  // namespace
}  // namespace pellix::app
