#include "core/app/first_start.h"

#include <gtest/gtest.h>

namespace pellix::app {
namespace {

TEST(FirstStartNotice, OnlyTheFirstStartNamesTheHotkeyAndWhereItChanges) {
  const std::optional<Notice> first = FirstStartNotice(false, Hotkey{});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->title, u"ぺりくす T&K");
  EXPECT_EQ(first->text.find(u"Ctrl+A で一覧を表示"), 0u);
  EXPECT_NE(first->text.find(u"「ホットキーの変更」"), std::u16string::npos);
  EXPECT_FALSE(FirstStartNotice(true, Hotkey{}));

  // The balloon's text field holds 255 characters and a zero; the title 63.
  EXPECT_LT(first->text.size(), 256u);
  EXPECT_LT(first->title.size(), 64u);
}

TEST(HotkeyName, SpellsTheModifiersInTheUsualOrderAndTheKey) {
  EXPECT_EQ(HotkeyName(Hotkey{2, 'A'}), u"Ctrl+A");
  EXPECT_EQ(HotkeyName(Hotkey{6, 'B'}), u"Ctrl+Shift+B");
  EXPECT_EQ(HotkeyName(Hotkey{3, '7'}), u"Ctrl+Alt+7");
  EXPECT_EQ(HotkeyName(Hotkey{1, 'Z'}), u"Alt+Z");
  EXPECT_EQ(HotkeyName(Hotkey{4, '@'}), u"Shift+0x40");  // no key of its own name
  EXPECT_EQ(HotkeyName(Hotkey{2, '\0'}), u"");           // none registered
  const std::optional<Notice> none = FirstStartNotice(false, Hotkey{2, '\0'});
  ASSERT_TRUE(none);
  EXPECT_EQ(none->text.find(u"Ctrl+"), std::u16string::npos);
  EXPECT_NE(none->text.find(u"「ホットキーの変更」"), std::u16string::npos);
}

}  // namespace
}  // namespace pellix::app
