#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/settings/colors.h"

namespace pellix::settings {
namespace {

constexpr std::string_view kWrittenByTheProgram =
    "left=621\r\ntop=140\r\nheight=207\r\nwidth=257\r\nfontsize=9\r\nfontcolor=clWindowText\r\n"
    "sendtab=0\r\nlock=\r\nmemo=0\r\ntrans=0\r\noption=0\r\n"
    "list0=\x97\x9A\x97\xF0\r\nlist1=\x8B\x4C\x98\x5E\r\nlist2=unicode\r\n"
    "view=0\r\nfsmods=2\r\nhotkey=A\r\n";

TEST(Settings, TheProgramsOwnFileReadsAndWritesBackTheSame) {
  const SettingsPlan plan = ParseSettings(kWrittenByTheProgram);
  EXPECT_EQ(plan.left, 621);
  EXPECT_EQ(plan.width, 257);
  EXPECT_EQ(plan.height, 207);
  EXPECT_EQ(plan.fontColor, kWindowTextColor);
  EXPECT_EQ(plan.lists,
            (std::vector<std::string>{"\x97\x9A\x97\xF0", "\x8B\x4C\x98\x5E", "unicode"}));
  EXPECT_EQ(plan.option, 0);
  EXPECT_FALSE(plan.lock);

  SettingsState state;
  state.left = 621;
  state.top = 140;
  state.height = 207;
  state.width = 257;
  state.fontSize = 9;
  state.fontColor = *plan.fontColor;
  state.option = plan.option;
  state.lists = plan.lists;
  state.view = 0;
  EXPECT_EQ(FormatSettings(state), kWrittenByTheProgram);
}

TEST(Settings, HandWrittenVariants) {
  const SettingsPlan plan = ParseSettings(
      "LEFT=5\ntop=-7\nwidth=100\nheight=101\nleft=9\nlock=0\nsendtab=true\nmemo=1\n"
      "trans= 1\noption=12\nlist0=a=b\nlist1=unicode\nlist3=gone\nview=1\nfsmods=6\n"
      "hotkey=abc\nfontcolor=$000000FF\n");
  EXPECT_EQ(plan.left, 5);  // the first matching line wins, in any letter case
  EXPECT_EQ(plan.top, -7);
  EXPECT_FALSE(plan.width);  // 100 keeps the design size, 101 is applied
  EXPECT_EQ(plan.height, 101);
  EXPECT_TRUE(plan.lock);  // any value but the empty one
  EXPECT_FALSE(plan.sendTab);
  EXPECT_TRUE(plan.memo);
  EXPECT_FALSE(plan.trans);
  EXPECT_EQ(plan.option, 12);
  EXPECT_EQ(plan.lists, (std::vector<std::string>{"a=b", "unicode"}));  // stops at the gap
  EXPECT_EQ(plan.view, 1);
  EXPECT_EQ(plan.hotkeyMods, 6u);
  EXPECT_EQ(plan.hotkeyLetter, 'a');
  EXPECT_EQ(plan.fontColor, 0x0000FFu);
  EXPECT_FALSE(plan.fontSize);
}

TEST(Settings, BadValuesEndTheReadWithTheirMessageAndWhereTheyStand) {
  const auto message = [](std::string_view content) {
    try {
      ParseSettings(content);
    } catch (const io::AppError& error) {
      return error.Message();
    }
    return std::u16string(u"accepted");
  };
  const struct {
    const char* content;
    const char16_t* message;
  } cases[] = {
      {"left=1\ntop=1\nwidth=abc\nheight=1\n",
       u"'abc' is not a valid integer value\r\npellix.ini: width"},
      {"", u"'' is not a valid integer value\r\npellix.ini: left がありません"},
      {"left=1\ntop=1\nheight=1\n",
       u"'' is not a valid integer value\r\npellix.ini: width がありません"},
      {"left=1\ntop=\nwidth=1\nheight=1\n", u"'' is not a valid integer value\r\npellix.ini: top"},
      // A blank before '=' makes another key.
      {"left =1\nleft2=1\ntop=1\nwidth=1\nheight=1\n",
       u"'' is not a valid integer value\r\npellix.ini: left がありません"},
      // A named list needs a view.
      {"left=1\ntop=1\nwidth=1\nheight=1\nlist0=x\n",
       u"'' is not a valid integer value\r\npellix.ini: view がありません"},
      {"left=1\ntop=1\nwidth=1\nheight=1\nlist0=x\nview=-1\n",
       u"Range check error\r\npellix.ini: view"},
      {"left=1\ntop=1\nwidth=1\nheight=1\nfontcolor=clPink\n",
       u"'clPink' is not a valid integer value\r\npellix.ini: fontcolor"},
      {"left=1\ntop=1\nwidth=1\nheight=1\nfontcolor=$12G\n",
       u"'$12G' is not a valid integer value\r\npellix.ini: fontcolor"},
      {"left=1\ntop=1\nwidth=1\nheight=1\nfontsize=9pt\n",
       u"'9pt' is not a valid integer value\r\npellix.ini: fontsize"},
      {"left=1\ntop=1\nwidth=1\nheight=1\noption=x\n",
       u"'x' is not a valid integer value\r\npellix.ini: option"},
      {"left=1\ntop=1\nwidth=1\nheight=1\nfsmods=\x82\xA0\n",
       u"'?\?' is not a valid integer value\r\npellix.ini: fsmods"},
      {"left=1\ntop=1\nwidth=1\nheight=1\n", u"accepted"},  // no list, no view
  };
  for (const auto& [content, expected] : cases) {
    EXPECT_EQ(message(content), expected) << content;
  }
}

TEST(Settings, AZeroHotkeyByteReadsAsNoHotkey) {
  SettingsState state;
  state.hotkeyLetter = '\0';
  state.lists = {"x"};
  const std::string written = FormatSettings(state);
  EXPECT_NE(written.find(std::string("hotkey=\0\r\n", 10)), std::string::npos);
  EXPECT_FALSE(ParseSettings(written).hotkeyLetter);
}

TEST(Settings, HandWrittenNegativeModifiersSurviveTheNextStart) {
  const SettingsPlan plan =
      ParseSettings("left=0\r\ntop=0\r\nheight=0\r\nwidth=0\r\nfsmods=-1\r\n");
  SettingsState state;
  state.hotkeyMods = *plan.hotkeyMods;
  const std::string written = FormatSettings(state);
  EXPECT_NE(written.find("fsmods=-1\r\n"), std::string::npos);
  EXPECT_EQ(ParseSettings(written).hotkeyMods, plan.hotkeyMods);
}

TEST(Settings, OptionOutsideTheMenuWritesNoLineAndViewNeverBelowZero) {
  SettingsState state;
  state.option = 12;
  state.view = -1;
  const std::string written = FormatSettings(state);
  EXPECT_EQ(written.find("option="), std::string::npos);
  EXPECT_NE(written.find("\r\nview=0\r\n"), std::string::npos);
}

TEST(Colors, NamesNumbersAndHex) {
  EXPECT_EQ(FormatColor(0x0000FF), "clRed");
  EXPECT_EQ(FormatColor(0x123456), "$00123456");
  EXPECT_EQ(FormatColor(0x80000000 + 25), "$80000019");  // index 25 has no name
  EXPECT_EQ(FormatColor(0x80000000 + 26), "clHotLight");
  EXPECT_EQ(FormatColor(0x1FFFFFFF), "clNone");
  EXPECT_EQ(ParseColor("CLWHITE"), 0xFFFFFFu);
  EXPECT_EQ(ParseColor("255"), 255u);
  EXPECT_EQ(ParseColor("$80000019"), 0x80000019u);
  EXPECT_EQ(ParseColor(FormatColor(0xABCDEF)), 0xABCDEFu);
  EXPECT_FALSE(ParseColor("$12G"));
  EXPECT_FALSE(ParseColor("$"));
  EXPECT_FALSE(ParseColor("clPink"));
}

// What the list draws with: a system colour by its index (the high byte of a stored value is
// only its mark), an RGB value without the high byte, nothing for clNone and clDefault.
TEST(Colors, ShownAsTheSystemsOrTheirOwn) {
  EXPECT_EQ(ShownColorOf(*ParseColor("clWindowText")), (ShownColor{8, 0}));
  EXPECT_EQ(ShownColorOf(*ParseColor("clHotLight")), (ShownColor{26, 0}));
  EXPECT_EQ(ShownColorOf(*ParseColor("clRed")), (ShownColor{std::nullopt, 0x0000FF}));
  EXPECT_EQ(ShownColorOf(0x12ABCDEF), (ShownColor{std::nullopt, 0xABCDEF}));
  EXPECT_EQ(ShownColorOf(*ParseColor("clNone")), std::nullopt);
  EXPECT_EQ(ShownColorOf(*ParseColor("clDefault")), std::nullopt);
}

}  // namespace
}  // namespace pellix::settings
