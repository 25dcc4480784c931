// The keys a paste sends and when it sends them: the held modifiers out of the way, a text typed
// as characters, the waits for the target and the fingers, and the targets that drop our keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

#include "core/paste/integrity.h"
#include "core/paste/key_events.h"
#include "core/paste/key_gate.h"
#include "core/paste/typed_text.h"

namespace pellix::paste {
namespace {

using Events = std::vector<KeyEvent>;

KeyEvent Down(std::uint16_t key) {
  return KeyEvent{key, u'\0', false};
}
KeyEvent Up(std::uint16_t key) {
  return KeyEvent{key, u'\0', true};
}
KeyEvent CharDown(char16_t unit) {
  return KeyEvent{0, unit, false};
}
KeyEvent CharUp(char16_t unit) {
  return KeyEvent{0, unit, true};
}

bool IsModifier(std::uint16_t key) {
  return key == keys::kControl ||
         std::find(kModifierKeys.begin(), kModifierKeys.end(), key) != kModifierKeys.end();
}

// Plays the events on a keyboard whose keys in `held` are down, and records which modifiers
// were down whenever another key went down.
struct Replay {
  std::map<std::uint16_t, std::set<std::uint16_t>> modifiersAt;  // key -> modifiers down then
  std::set<std::uint16_t> downAtEnd;
};

Replay Play(const HeldKeys& held, const Events& events) {
  Replay replay;
  std::set<std::uint16_t> down(held.begin(), held.end());
  for (const KeyEvent& event : events) {
    if (event.key == 0) {
      continue;
    }
    if (event.up) {
      EXPECT_EQ(down.erase(event.key), 1u) << "key " << event.key << " let go while up";
      continue;
    }
    if (!IsModifier(event.key)) {
      std::set<std::uint16_t> modifiers;
      std::copy_if(down.begin(), down.end(), std::inserter(modifiers, modifiers.end()), IsModifier);
      replay.modifiersAt[event.key] = modifiers;
    }
    down.insert(event.key);
  }
  replay.downAtEnd = down;
  return replay;
}

TEST(PasteKeys, NothingHeldIsCtrlVAsEver) {
  EXPECT_EQ(PasteKeys({}, false),
            (Events{Down(keys::kControl), Down(keys::kV), Up(keys::kV), Up(keys::kControl)}));
  EXPECT_EQ(PasteKeys({}, true), (Events{Down(keys::kControl), Down(keys::kV), Up(keys::kV),
                                         Up(keys::kControl), Down(keys::kTab), Up(keys::kTab)}));
}

TEST(PasteKeys, TheTargetSeesOnlyCtrlWithVAndNothingWithTabWhateverIsHeld) {
  const std::vector<HeldKeys> cases = {
      {keys::kLeftShift},
      {keys::kRightShift, keys::kLeftAlt},
      {keys::kLeftControl},
      {keys::kRightControl, keys::kLeftShift},
      {keys::kLeftWin},
      {keys::kLeftShift, keys::kRightShift, keys::kLeftControl, keys::kRightControl, keys::kLeftAlt,
       keys::kRightAlt, keys::kLeftWin, keys::kRightWin},
  };
  for (const HeldKeys& held : cases) {
    for (const bool tab : {false, true}) {
      const Replay replay = Play(held, PasteKeys(held, tab));
      EXPECT_EQ(replay.modifiersAt.at(keys::kV), std::set<std::uint16_t>{keys::kControl})
          << "held " << held.size() << " keys";
      if (tab) {
        EXPECT_TRUE(replay.modifiersAt.at(keys::kTab).empty());
      } else {
        EXPECT_EQ(replay.modifiersAt.count(keys::kTab), 0u);
      }
      // Afterwards the keyboard is as the fingers are.
      EXPECT_EQ(replay.downAtEnd, std::set<std::uint16_t>(held.begin(), held.end()));
    }
  }
}

TEST(PasteKeys, AnAltOrWindowsKeyNeverMakesALonePress) {
  // Let go or pressed again on its own, Alt opens the target's menu bar and a Windows key the
  // Start menu: a key goes down between its press and its release, both times.
  for (const std::uint16_t lone :
       {keys::kLeftAlt, keys::kRightAlt, keys::kLeftWin, keys::kRightWin}) {
    const Events events = PasteKeys({lone}, false);
    const auto up = std::find(events.begin(), events.end(), Up(lone));
    const auto downAgain = std::find(events.begin(), events.end(), Down(lone));
    ASSERT_NE(up, events.end());
    ASSERT_NE(downAgain, events.end());
    EXPECT_TRUE(std::any_of(events.begin(), up, [](const KeyEvent& e) { return !e.up; }))
        << "nothing went down before " << lone << " was let go";
    EXPECT_TRUE(std::any_of(downAgain + 1, events.end(),
                            [](const KeyEvent& e) { return !e.up && e.key != 0; }))
        << "nothing goes down after " << lone << " is pressed again, before the user lets go";
  }
  // Shift and Ctrl need no such key.
  const Events shifted = PasteKeys({keys::kLeftShift, keys::kRightControl}, false);
  EXPECT_EQ(std::count(shifted.begin(), shifted.end(), Down(keys::kMask)), 0);
}

TEST(AroundHeldKeys, WrapsTypedCharactersTheSameWay) {
  const Events typed = {CharDown(u'a'), CharUp(u'a')};
  EXPECT_EQ(AroundHeldKeys({}, typed), typed);
  EXPECT_EQ(AroundHeldKeys({keys::kRightShift}, typed),
            (Events{Up(keys::kRightShift), CharDown(u'a'), CharUp(u'a'), Down(keys::kRightShift)}));
}

Events TypeAll(std::u16string_view text, bool tab = false) {
  TypedText typed(text, tab);
  return typed.Next(1000);
}

TEST(TypedText, CharactersLineBreaksAndTabs) {
  EXPECT_EQ(TypeAll(u"a日"),
            (Events{CharDown(u'a'), CharUp(u'a'), CharDown(u'日'), CharUp(u'日')}));
  // CR LF, a lone CR and a lone LF are one Enter each.
  EXPECT_EQ(TypeAll(u"x\r\ny\rz\n"),
            (Events{CharDown(u'x'), CharUp(u'x'), Down(keys::kEnter), Up(keys::kEnter),
                    CharDown(u'y'), CharUp(u'y'), Down(keys::kEnter), Up(keys::kEnter),
                    CharDown(u'z'), CharUp(u'z'), Down(keys::kEnter), Up(keys::kEnter)}));
  EXPECT_EQ(TypeAll(u"\n\r"),
            (Events{Down(keys::kEnter), Up(keys::kEnter), Down(keys::kEnter), Up(keys::kEnter)}));
  EXPECT_EQ(TypeAll(u"a\tb"), (Events{CharDown(u'a'), CharUp(u'a'), Down(keys::kTab),
                                      Up(keys::kTab), CharDown(u'b'), CharUp(u'b')}));
  // Tab mode: a Tab after the text.
  EXPECT_EQ(TypeAll(u"q", true),
            (Events{CharDown(u'q'), CharUp(u'q'), Down(keys::kTab), Up(keys::kTab)}));
  EXPECT_EQ(TypeAll(u"", true), (Events{Down(keys::kTab), Up(keys::kTab)}));
}

TEST(TypedText, ControlCharactersThatWouldActAsKeysAreLeftOut) {
  // A backspace would delete, an Esc close a dialog.
  EXPECT_EQ(TypeAll(u"a\b\x1B\x01\x7F"
                    u"b"),
            (Events{CharDown(u'a'), CharUp(u'a'), CharDown(u'b'), CharUp(u'b')}));
  EXPECT_EQ(TypedText(u"\b\x1B", false).Total(), 0u);
  EXPECT_TRUE(TypedText(u"\b", false).Done());
}

TEST(TypedText, SlicesNeverSplitACharacterAndCountWhatIsTyped) {
  const std::u16string text = u"\U0001F600\r\nab";  // a pair, a line break, two letters
  TypedText typed(text, false);
  EXPECT_EQ(typed.Total(), 4u);
  EXPECT_EQ(typed.Next(1),
            (Events{CharDown(0xD83D), CharUp(0xD83D), CharDown(0xDE00), CharUp(0xDE00)}));
  EXPECT_EQ(typed.Typed(), 1u);
  EXPECT_EQ(typed.Next(2),
            (Events{Down(keys::kEnter), Up(keys::kEnter), CharDown(u'a'), CharUp(u'a')}));
  EXPECT_FALSE(typed.Done());
  EXPECT_EQ(typed.Next(5), (Events{CharDown(u'b'), CharUp(u'b')}));
  EXPECT_TRUE(typed.Done());
  EXPECT_EQ(typed.Typed(), 4u);
  EXPECT_TRUE(typed.Next(5).empty());
  // A half of a pair without its other half is typed as it is.
  EXPECT_EQ(TypeAll(u"\xD83D"
                    u"a"),
            (Events{CharDown(0xD83D), CharUp(0xD83D), CharDown(u'a'), CharUp(u'a')}));
}

TEST(TypingPace, AHundredASecondWithoutBurstsAfterAPause) {
  TypingPace pace(1000);
  EXPECT_EQ(pace.Due(1000), 1u);  // the first at once
  EXPECT_EQ(pace.Due(1000), 0u);
  std::size_t typed = 1;
  // A timer that fires every 15.6 ms or so, as Windows' does for a 10 ms one.
  for (std::uint64_t now = 1000; now <= 11'000; now += 16) {
    typed += pace.Due(now);
  }
  EXPECT_NEAR(static_cast<double>(typed), 1001.0, 5.0);
  // Ten seconds with nothing typed earn one slice, not a thousand characters.
  EXPECT_EQ(pace.Due(21'000), TypingPace::kMostAtOnce);
  EXPECT_EQ(pace.Due(21'005), 0u);
  EXPECT_EQ(pace.Due(21'010), 1u);
}

constexpr std::uint64_t kStart = 10'000;

TEST(KeyGate, WaitsBoundedForTheTargetToComeForward) {
  KeyGate gate(kStart);
  const TargetLook behind{true, false, false, false};
  EXPECT_EQ(gate.Look(behind, kStart), std::nullopt);
  EXPECT_EQ(gate.Look(behind, kStart + KeyGate::kComeForwardMs - 1), std::nullopt);
  EXPECT_EQ(gate.Look(behind, kStart + KeyGate::kComeForwardMs), Outcome::kNotInFront);

  KeyGate late(kStart);
  EXPECT_EQ(late.Look(behind, kStart + 900), std::nullopt);
  EXPECT_EQ(late.Look(TargetLook{true, true, false, false}, kStart + 950), Outcome::kDelivered);
}

TEST(KeyGate, GivesTheFingersHalfASecondThenTypesAnyway) {
  KeyGate gate(kStart);
  const TargetLook held{true, true, true, false};
  EXPECT_EQ(gate.Look(held, kStart + 10), std::nullopt);
  EXPECT_EQ(gate.Look(held, kStart + KeyGate::kLetGoMs - 1), std::nullopt);
  EXPECT_EQ(gate.Look(held, kStart + KeyGate::kLetGoMs), Outcome::kDelivered);

  KeyGate letGo(kStart);
  EXPECT_EQ(letGo.Look(held, kStart + 100), std::nullopt);
  EXPECT_EQ(letGo.Look(TargetLook{true, true, false, false}, kStart + 120), Outcome::kDelivered);

  // Each slice of a text gets the same time again.
  letGo.Typed(kStart + 2000);
  EXPECT_EQ(letGo.Look(held, kStart + 2100), std::nullopt);
  EXPECT_EQ(letGo.Look(held, kStart + 2000 + KeyGate::kLetGoMs), Outcome::kDelivered);
}

TEST(KeyGate, ATargetThatGoesOrLosesTheFrontStopsAtOnce) {
  KeyGate gone(kStart);
  EXPECT_EQ(gone.Look(TargetLook{false, false, false, false}, kStart), Outcome::kTargetGone);

  KeyGate typing(kStart);
  EXPECT_EQ(typing.Look(TargetLook{true, true, false, false}, kStart + 50), Outcome::kDelivered);
  typing.Typed(kStart + 50);
  // Another window in front: the next keys would land there, so no waiting for it to go.
  EXPECT_EQ(typing.Look(TargetLook{true, false, false, false}, kStart + 60), Outcome::kLostFront);

  KeyGate escaped(kStart);
  EXPECT_EQ(escaped.Look(TargetLook{true, true, false, true}, kStart), Outcome::kCancelled);
}

class FakeIntegrity final : public ProcessIntegrity {
 public:
  std::optional<std::uint32_t> OwnLevel() const override { return own; }
  std::optional<std::uint32_t> LevelOf(std::uint32_t process) const override {
    const auto found = levels.find(process);
    return found != levels.end() ? std::optional(found->second) : std::nullopt;
  }

  std::optional<std::uint32_t> own = kMediumIntegrity;
  std::map<std::uint32_t, std::uint32_t> levels;
};

TEST(KeysWouldBeDropped, OnlyByAProcessAboveOurs) {
  FakeIntegrity integrity;
  integrity.levels = {{10, kMediumIntegrity},
                      {11, kHighIntegrity},
                      {12, kLowIntegrity},
                      {13, kSystemIntegrity},
                      {14, kMediumIntegrity + 0x100}};
  constexpr std::uint32_t kOwn = 1;
  EXPECT_FALSE(KeysWouldBeDropped(integrity, kOwn, 10));
  EXPECT_TRUE(KeysWouldBeDropped(integrity, kOwn, 11));
  EXPECT_FALSE(KeysWouldBeDropped(integrity, kOwn, 12));
  EXPECT_TRUE(KeysWouldBeDropped(integrity, kOwn, 13));
  EXPECT_TRUE(KeysWouldBeDropped(integrity, kOwn, 14));  // medium plus is above medium
  // A level that cannot be read: typed as always.
  EXPECT_FALSE(KeysWouldBeDropped(integrity, kOwn, 99));

  // Run as administrator ourselves, an elevated target takes our keys; a system one does not.
  integrity.own = kHighIntegrity;
  EXPECT_FALSE(KeysWouldBeDropped(integrity, kOwn, 11));
  EXPECT_TRUE(KeysWouldBeDropped(integrity, kOwn, 13));

  // Our own level unknown: counted as an ordinary start's.
  integrity.own = std::nullopt;
  EXPECT_TRUE(KeysWouldBeDropped(integrity, kOwn, 11));
  EXPECT_FALSE(KeysWouldBeDropped(integrity, kOwn, 10));

  // Our own windows (the memo) are never asked about.
  integrity.levels[kOwn] = kSystemIntegrity;
  EXPECT_FALSE(KeysWouldBeDropped(integrity, kOwn, kOwn));
}

}  // namespace
}  // namespace pellix::paste
