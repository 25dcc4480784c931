// The tables of what the user reads of the commands: every menu line has a caption, no shortcut
// does two things, and the help page names everything the menus and the filter list dialog show.
// They are Win32 tables, so the test runs in the Windows build only (under Wine on Linux).
#ifdef _WIN32

#include "win32/ui/command_texts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace pellix::win32 {
namespace {

struct NamedMenu {
  const char* name;
  std::span<const MenuEntry> entries;
};

const NamedMenu kMenus[] = {
    {"list menu", kListMenu},
    {"Unicode list menu", kUnicodeListMenu},
    {"tray menu", kTrayMenu},
};

// Every caption a menu line shows, submenus' lines and submenus' own captions included, each
// with where it stands (for the failure messages).
void CollectCaptions(std::span<const MenuEntry> entries, const std::string& where,
                     std::vector<std::pair<std::wstring, std::string>>* captions) {
  for (const MenuEntry& entry : entries) {
    if (entry.submenu != nullptr) {
      captions->emplace_back(entry.submenu, where + " submenu");
      CollectCaptions(entry.entries, where + " > submenu", captions);
    } else if (entry.command != 0) {
      const CommandText* text = FindCommandText(entry.command);
      captions->emplace_back(text != nullptr && text->caption != nullptr ? text->caption : L"",
                             where + " command " + std::to_string(entry.command));
    }
  }
}

std::vector<std::pair<std::wstring, std::string>> MenuCaptions() {
  std::vector<std::pair<std::wstring, std::string>> captions;
  for (const NamedMenu& menu : kMenus) {
    CollectCaptions(menu.entries, menu.name, &captions);
  }
  return captions;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) {
    return {};
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

// The help page's text as a reader sees it: the tags taken out and the entities it uses read.
std::string PageText() {
  std::ifstream file(PELLIX_HELP_PAGE, std::ios::binary);
  EXPECT_TRUE(file) << "cannot read " << PELLIX_HELP_PAGE;
  const std::string html{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::string text;
  bool inTag = false;
  for (const char c : html) {
    if (c == '<') {
      inTag = true;
    } else if (c == '>' && inTag) {
      inTag = false;
    } else if (!inTag) {
      text += c;
    }
  }
  for (const auto& [entity, character] : std::map<std::string, std::string>{
           {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}}) {
    for (std::size_t at = text.find(entity); at != std::string::npos;
         at = text.find(entity, at + character.size())) {
      text.replace(at, entity.size(), character);
    }
  }
  return text;
}

TEST(CommandTexts, EveryMenuLineHasACaption) {
  for (const auto& [caption, where] : MenuCaptions()) {
    EXPECT_FALSE(caption.empty()) << where << " has no caption";
  }
  for (const NamedMenu& menu : kMenus) {
    for (const MenuEntry& entry : menu.entries) {
      if (entry.submenu != nullptr) {
        EXPECT_FALSE(entry.entries.empty()) << "an empty submenu in the " << menu.name;
        EXPECT_NE(entry.tag, 0u) << "a submenu without a tag in the " << menu.name;
      }
    }
  }
}

TEST(CommandTexts, TheMenusReachIntoTheirSubmenus) {
  std::set<std::wstring> captions;
  for (const auto& [caption, where] : MenuCaptions()) {
    captions.insert(caption);
  }
  for (const wchar_t* expected :
       {L"終了", L"ヘルプ", L"コピー（他アプリへの貼り付け）", L"全てクリア", L"キー入力で貼り付け",
        L"リダイレクト先のURLを抜き出し", L"Ctrl+Alt", L"変換", L"大文字を小文字に"}) {
    EXPECT_EQ(captions.count(expected), 1u) << Utf8(expected);
  }
}

TEST(CommandTexts, EveryCommandHasOneIdAndOneCaption) {
  std::set<UINT> ids;
  for (const CommandText& text : kCommandTexts) {
    EXPECT_TRUE(ids.insert(text.id).second) << "command " << text.id << " is written twice";
    EXPECT_TRUE(text.caption != nullptr && *text.caption != L'\0')
        << "command " << text.id << " has no caption";
    EXPECT_EQ(FindCommandText(text.id), &text);
  }
  EXPECT_EQ(FindCommandText(0), nullptr);
  // The paste options and hotkey items are numbered from their first; none of them may land on
  // a command of its own.
  std::set<UINT> named;
#define PELLIX_COLLECT(name, value) named.insert(value);
  PELLIX_COMMAND_IDS(PELLIX_COLLECT)
#undef PELLIX_COLLECT
  for (const CommandText& text : kCommandTexts) {
    const bool option = text.id > kCmdPasteOptionFirst && text.id < kCmdPasteOptionFirst + 10u;
    const bool hotkey = text.id > kCmdHotkeyFirst && text.id < kCmdHotkeyFirst + 5u;
    if (option || hotkey) {
      EXPECT_EQ(named.count(text.id), 0u) << "command " << text.id << " is numbered twice";
    }
  }
}

TEST(CommandTexts, NoShortcutDoesTwoThings) {
  // Del and Ctrl+Del act on whichever list has the focus: the Unicode list's commands may share
  // them with the ordinary list's, and no other command may.
  const std::set<std::pair<UINT, UINT>> sharedByFocus = {{kCmdDelete, kCmdUnicodeDelete},
                                                         {kCmdClear, kCmdUnicodeClear}};
  std::map<std::tuple<WORD, bool, bool, bool>, UINT> owner;
  int shortcuts = 0;
  for (const CommandText& text : kCommandTexts) {
    if (text.shortcut.key == 0) {
      continue;
    }
    ++shortcuts;
    const auto key = std::make_tuple(text.shortcut.key, text.shortcut.control, text.shortcut.alt,
                                     text.shortcut.shift);
    const auto [taken, added] = owner.emplace(key, text.id);
    if (!added) {
      const auto pair = std::minmax(taken->second, text.id);
      EXPECT_EQ(sharedByFocus.count({pair.first, pair.second}), 1u)
          << "commands " << taken->second << " and " << text.id << " share a shortcut";
    }
  }
  EXPECT_GT(shortcuts, 10);

  std::set<std::pair<BYTE, WORD>> editBoxKeys;
  std::set<WORD> editBoxCommands;
  for (const ACCEL& key : kEditBoxKeys) {
    EXPECT_TRUE(editBoxKeys.emplace(key.fVirt, key.key).second)
        << "the edit box's key " << key.key << " is taken twice";
    editBoxCommands.insert(key.cmd);
  }
  EXPECT_EQ(editBoxCommands, (std::set<WORD>{kEditBoxCopy, kEditBoxUpdate, kEditBoxCancel,
                                             kEditBoxCut, kEditBoxEnter}));
}

TEST(CommandTexts, TheFilterListDialogsButtonsHaveCaptions) {
  std::set<int> ids;
  for (const DialogButton& button : kFilterListButtons) {
    EXPECT_TRUE(ids.insert(button.id).second) << "button " << button.id << " is written twice";
    EXPECT_TRUE(button.caption != nullptr && *button.caption != L'\0') << "button " << button.id;
    EXPECT_STREQ(FilterListButtonCaption(button.id), button.caption);
  }
  EXPECT_EQ(ids, (std::set<int>{kIdFilterLoad, kIdFilterNew, kIdFilterRename, kIdFilterEdit,
                                kIdFilterDelete, kIdFilterUp, kIdFilterDown, IDOK}));
  EXPECT_STREQ(FilterListButtonCaption(kIdFilterList), L"");
}

TEST(CommandTexts, TheHelpPageNamesEveryMenuLineAndDialogButton) {
  const std::string page = PageText();
  ASSERT_NE(page.find("ホットキー"), std::string::npos) << "not the help page";
  std::vector<std::pair<std::wstring, std::string>> captions = MenuCaptions();
  for (const DialogButton& button : kFilterListButtons) {
    captions.emplace_back(button.caption, "filter list dialog button");
  }
  for (auto [caption, where] : captions) {
    if (where.ends_with("command " + std::to_string(kCmdVersionItem))) {
      // The version line changes with every release; the page names it by its fixed part.
      caption.erase(std::find_if(caption.begin(), caption.end(),
                                 [](wchar_t c) { return c >= L'0' && c <= L'9'; }),
                    caption.end());
      ASSERT_FALSE(caption.empty());
    }
    EXPECT_NE(page.find(Utf8(caption)), std::string::npos)
        << "the help page does not name " << Utf8(caption) << " (" << where << ")";
  }
}

}  // namespace
}  // namespace pellix::win32

#endif  // _WIN32
