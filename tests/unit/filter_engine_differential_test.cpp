// The engine against its plain reference on many generated filter sets and texts: long ones
// too, where the engine reuses what it worked out, and texts full of the characters where code
// page 932 is tricky (trail bytes that look like ASCII or like lead bytes, letters of every
// case and width, lone lead bytes).

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/capture/filter_engine.h"
#include "core/platform_services.h"
#include "filter_engine_reference.h"

namespace pellix::capture {
namespace {

// Pieces that texts, words, permitted characters and replacement rows are made of.
const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> pieces = {
      "a",        "b", "A", "B",  "t",  "T",  "e",    "l",    "L",   "0",
      "1",        "-", " ", "\\", "\r", "\n", "\r\n", "http", "TEL", "com",
      "\x82\x60",  // Ａ
      "\x82\x81",  // ａ
      "\x82\x4F",  // ０
      "\x81\x40",  // ideographic space
      "\x81\x8F",  // full-width yen sign
      "\x83\x9F",  // Α
      "\x83\xBF",  // α
      "\x87\x54",  // Ⅰ
      "\xEE\xEF",  // ⅰ, the NEC-selected copy
      "\xFA\x40",  // ⅰ
      "\x95\x5C",  // 表: its second byte is a backslash
      "\x82\xA0",  // あ
      "\x83\x65",  // テ
      "\x81\x81",  // ＝: a trail byte in the lead-byte range
      "\xE0\x81",  // a lead byte followed by a lead-range trail
      "\x82",      // a lead byte without its trail
      "\xB1",      // half-width katakana
  };
  return pieces;
}

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}

  std::size_t Below(std::size_t limit) {
    return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random_);
  }
  bool OneIn(std::size_t n) { return Below(n) == 0; }

  std::string Text(std::size_t pieces) {
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) {
      text += Pieces()[Below(Pieces().size())];
    }
    return text;
  }

  // Words of one or two pieces, separated by one or more spaces.
  std::string Words() {
    std::string words;
    const std::size_t count = Below(4);
    for (std::size_t i = 0; i < count; ++i) {
      words += std::string(Below(3), ' ') + Text(1 + Below(2));
    }
    return words;
  }

  filters::FilterDef Filter() {
    filters::FilterDef def;
    static const char* const kTypes[] = {"0", "1", "2", "2", "3", "3", "5"};
    def.type = kTypes[Below(std::size(kTypes))];
    def.kaigyo = static_cast<std::int32_t>(Below(3));
    if (OneIn(3)) {
      def.cstring = Text(1 + Below(6));
    } else {
      def.astring = Words();
      def.acount = static_cast<std::int32_t>(Below(4)) - 1;
      if (OneIn(2)) {
        def.bstring = Words();
        def.bcount = static_cast<std::int32_t>(Below(3));
      }
    }
    def.zen = OneIn(2);
    def.caps = OneIn(3);
    def.small = OneIn(3);
    const std::size_t rows = OneIn(2) ? 0 : Below(filters::kReplacementRows + 1);
    for (std::size_t row = 0; row < rows; ++row) {
      def.exfrom[row] = OneIn(5) ? "" : Text(1 + Below(2));
      def.exto[row] = Text(Below(3));
    }
    return def;
  }

  // Mostly short texts, some far longer than what the engine keeps for reuse.
  std::string Capture() {
    const std::size_t pieces = OneIn(2) ? 200 + Below(600) : Below(40);
    std::string text = Text(pieces);
    if (OneIn(4)) {
      text += text;  // a text that repeats itself: the same lines twice
    }
    return text;
  }

 private:
  std::mt19937 random_;
};

lists::ListStore StoreOf(const std::vector<filters::FilterDef>& defs) {
  lists::ListStore store;
  for (std::size_t i = 0; i < defs.size(); ++i) {
    store.AddSlot(lists::ListSlot{"list" + std::to_string(i), {}, defs[i]});
  }
  return store;
}

TEST(FilterEngineDifferential, AgreesWithTheReferenceOnGeneratedFilterSetsAndTexts) {
  const text::TextServices& services = PlatformTextServices();
  for (unsigned seed = 0; seed < 600; ++seed) {
    Generator generate(seed);
    std::vector<filters::FilterDef> defs(1 + generate.Below(10));
    for (std::size_t i = 0; i < defs.size(); ++i) {
      defs[i] = generate.Filter();
      // Lists often convert alike, which the engine makes use of.
      if (i > 0 && generate.OneIn(2)) {
        const filters::FilterDef& earlier = defs[generate.Below(i)];
        defs[i].zen = earlier.zen;
        defs[i].caps = earlier.caps;
        defs[i].small = earlier.small;
        defs[i].exfrom = earlier.exfrom;
        defs[i].exto = earlier.exto;
      }
    }
    lists::ListStore fast = StoreOf(defs);
    lists::ListStore plain = StoreOf(defs);
    for (int capture = 0; capture < 4; ++capture) {
      const std::string text = generate.Capture();
      std::string fastText = text;
      std::string plainText = text;
      const FilterRun fastRun = RunFilters(fast, fastText, services);
      const FilterRun plainRun = reference::RunFilters(plain, plainText);
      ASSERT_EQ(fastText, plainText) << "seed " << seed << " capture " << capture;
      ASSERT_EQ(fastRun.inserted, plainRun.inserted) << "seed " << seed;
      ASSERT_FALSE(fastRun.failed);
      for (std::size_t i = 0; i < defs.size(); ++i) {
        ASSERT_EQ(fast.Slot(i).items, plain.Slot(i).items) << "seed " << seed << " list " << i;
      }
    }
  }
}

TEST(FilterEngineDifferential, TestsAndConversionsAgreeWithTheReference) {
  const text::TextServices& services = PlatformTextServices();
  Generator generate(932);
  for (int round = 0; round < 3000; ++round) {
    const std::string text =
        generate.OneIn(10) ? generate.Capture() : generate.Text(generate.Below(12));
    const std::string words = generate.Words();
    const auto count = static_cast<std::int32_t>(generate.Below(4)) - 1;
    ASSERT_EQ(ContainsWords(text, words, count), reference::ContainsWords(text, words, count))
        << "text " << text << " words " << words << " count " << count;
    const std::string characters = generate.Text(generate.Below(6));
    ASSERT_EQ(OnlyLimitingChars(text, characters), reference::OnlyLimitingChars(text, characters))
        << "text " << text << " characters " << characters;
    const std::string from = generate.Text(generate.Below(3));
    const std::string to = generate.Text(generate.Below(3));
    ASSERT_EQ(filters::ReplaceAll(text, from, to), reference::ReplaceAll(text, from, to))
        << "text " << text << " from " << from;
    const filters::FilterDef def = generate.Filter();
    ASSERT_EQ(ApplyConversions(def, text, services), reference::ApplyConversions(def, text))
        << "text " << text;
  }
}

}  // namespace
}  // namespace pellix::capture
