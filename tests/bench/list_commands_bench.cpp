// The list commands on a big history: 100,000 items, about 10 MB. Each runs on a fresh copy of
// the list, made and freed outside the timed part, so the figure is the command alone.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <string>

#include "bench_data.h"
#include "core/lists/bulk_commands.h"
#include "core/lists/list_commands.h"
#include "core/lists/unicode_commands.h"
#include "core/platform_services.h"
#include "core/text/codec.h"

namespace pellix::bench {
namespace {

constexpr std::size_t kItemCount = 100'000;
constexpr std::size_t kTextBytes = 10'000'000;
constexpr std::size_t kShown = 0;
constexpr std::size_t kOther = 1;
// A fixed number of runs: each needs a fresh copy of the lists, which for the quick commands
// would otherwise be made hundreds of thousands of times.
constexpr benchmark::IterationCount kRuns = 20;

const lists::Items& History() {
  static const lists::Items items = MakeHistoryItems(kItemCount, kTextBytes);
  return items;
}

const lists::WideItems& WideHistory() {
  static const lists::WideItems items = [] {
    lists::WideItems wide;
    for (const std::string& item : History()) {
      wide.push_back(text::Cp932ToUtf16(PlatformTextServices(), item));
    }
    return wide;
  }();
  return items;
}

// Two lists of the whole history, the first one shown, and the same in the Unicode list.
lists::ListStore FreshStore(bool withUnicode) {
  lists::ListStore store;
  store.AddSlot(lists::ListSlot{"history", History(), {}});
  store.AddSlot(lists::ListSlot{"records", History(), {}});
  if (withUnicode) {
    store.AddSlot(lists::ListSlot{"unicode", {}, {}});
    store.SetUnicodeItems(WideHistory());
  }
  store.SwitchList(kShown);
  return store;
}

// Times `command(store)` on fresh stores; `check(store, result)` must hold after each run, or
// the figure would be for a command that did not do its work.
template <typename Command, typename Check>
void TimeCommand(benchmark::State& state, Command&& command, Check&& check,
                 bool withUnicode = false) {
  std::optional<lists::ListStore> store;
  for (auto _ : state) {
    state.PauseTiming();
    store.emplace(FreshStore(withUnicode));
    state.ResumeTiming();
    const lists::EditResult result = command(*store);
    state.PauseTiming();
    if (!check(*store, result)) {
      state.SkipWithError("the command did not do its work");
      break;
    }
    store.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kItemCount));
  state.SetLabel(std::to_string(kItemCount) + " items");
}

std::size_t Count(const lists::ListStore& store, std::size_t list) {
  return store.Slot(list).items.size();
}

lists::ViewState EverySecondSelected() {
  lists::ViewState view;
  for (std::size_t i = 0; i < kItemCount; i += 2) {
    view.selected.push_back(i);
  }
  view.caret = kItemCount / 2;
  view.top = kItemCount / 2;
  return view;
}

void BM_DeleteHalfSelected(benchmark::State& state) {
  const lists::ViewState view = EverySecondSelected();
  TimeCommand(
      state, [&](lists::ListStore& s) { return lists::dellistitem(s, kShown, view, false); },
      [](const lists::ListStore& s, const lists::EditResult&) {
        return Count(s, kShown) == kItemCount / 2;
      });
}
BENCHMARK(BM_DeleteHalfSelected)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_ClearBackHalf(benchmark::State& state) {
  const lists::ViewState view = EverySecondSelected();
  TimeCommand(
      state, [&](lists::ListStore& s) { return lists::crearh(s, kShown, view); },
      [](const lists::ListStore& s, const lists::EditResult& result) {
        // The even indices below 49,999 stay selected, and 49,999 joins them.
        return Count(s, kShown) == kItemCount / 2 &&
               result.view.selected.size() == kItemCount / 4 + 1;
      });
}
BENCHMARK(BM_ClearBackHalf)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_Expand1000MultiLineItems(benchmark::State& state) {
  lists::ViewState view;
  std::size_t multiLine = 0;
  for (std::size_t i = 0; i < History().size(); ++i) {
    if (History()[i].find("\r\n") != std::string::npos) {
      ++multiLine;
    }
  }
  // A thousand multi-line items spread over the whole list.
  const std::size_t every = std::max<std::size_t>(1, multiLine / 1000);
  for (std::size_t i = 0, seen = 0; i < History().size() && view.selected.size() < 1000; ++i) {
    if (History()[i].find("\r\n") != std::string::npos && seen++ % every == 0) {
      view.selected.push_back(i);
    }
  }
  view.caret = view.selected.back();
  TimeCommand(
      state, [&](lists::ListStore& s) { return lists::aexpand(s, kShown, view); },
      [&](const lists::ListStore& s, const lists::EditResult& result) {
        return view.selected.size() == 1000 && Count(s, kShown) > kItemCount + 1000 &&
               result.view.selected.size() == Count(s, kShown) - kItemCount + 1000;
      });
}
BENCHMARK(BM_Expand1000MultiLineItems)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_ReplaceInEveryItem(benchmark::State& state) {
  const text::TextServices& services = PlatformTextServices();
  TimeCommand(
      state,
      [&](lists::ListStore& s) {
        return lists::aplace(s, kShown, {}, u"の", u"ノ", services);  // in most sentences
      },
      [&](const lists::ListStore& s, const lists::EditResult& result) {
        return result.changed && s.Slot(kShown).items != History();
      });
}
BENCHMARK(BM_ReplaceInEveryItem)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_ItemUpFromTheBottom(benchmark::State& state) {
  const lists::ViewState view{{kItemCount - 1}, kItemCount - 1, kItemCount - 20};
  TimeCommand(
      state, [&](lists::ListStore& s) { return lists::itemup(s, kShown, view); },
      [](const lists::ListStore& s, const lists::EditResult&) {
        return s.Slot(kShown).items[kItemCount - 2] == History()[kItemCount - 1];
      });
}
BENCHMARK(BM_ItemUpFromTheBottom)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_DragTopToBottom(benchmark::State& state) {
  TimeCommand(
      state,
      [&](lists::ListStore& s) { return lists::DragWithinList(s, kShown, {}, 0, kItemCount - 1); },
      [](const lists::ListStore& s, const lists::EditResult&) {
        return s.Slot(kShown).items[kItemCount - 2] == History()[0];
      });
}
BENCHMARK(BM_DragTopToBottom)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_MoveToAnotherList(benchmark::State& state) {
  const text::TextServices& services = PlatformTextServices();
  TimeCommand(
      state,
      [&](lists::ListStore& s) {
        return lists::MoveToList(s, kShown, {}, kItemCount / 2, kOther, services);
      },
      [](const lists::ListStore& s, const lists::EditResult&) {
        return Count(s, kOther) == kItemCount + 1 &&
               s.Slot(kOther).items[0] == History()[kItemCount / 2];
      });
}
BENCHMARK(BM_MoveToAnotherList)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_Sort(benchmark::State& state) {
  const text::TextServices& services = PlatformTextServices();
  TimeCommand(
      state, [&](lists::ListStore& s) { return lists::asort(s, kShown, {}, services); },
      [&](const lists::ListStore& s, const lists::EditResult& result) {
        const lists::ItemList& items = s.Slot(kShown).items;
        return result.changed && services.SortKey(text::Cp932ToUtf16(services, items.front())) <=
                                     services.SortKey(text::Cp932ToUtf16(services, items.back()));
      });
}
BENCHMARK(BM_Sort)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

// A stand-in for the platform's collation whose key is the UTF-16 code units in order: nothing
// to compute, so the figure is the sort and the reordering of the list alone.
class CodeUnitOrder final : public text::TextServices {
 public:
  std::optional<std::u16string> DecodeCp932(std::string_view text) const override {
    return PlatformTextServices().DecodeCp932(text);
  }
  std::optional<std::string> EncodeCp932(std::u16string_view text) const override {
    return PlatformTextServices().EncodeCp932(text);
  }
  std::u16string Map(text::Mapping mapping, std::u16string_view text) const override {
    return PlatformTextServices().Map(mapping, text);
  }
  int Compare(std::u16string_view a, std::u16string_view b, bool) const override {
    return a.compare(b);
  }
  std::string SortKey(std::u16string_view text) const override {
    std::string key;
    key.reserve(text.size() * 2);
    for (const char16_t unit : text) {
      key += static_cast<char>(unit >> 8);
      key += static_cast<char>(unit & 0xFF);
    }
    return key;
  }
};

void BM_SortWithAFakeKey(benchmark::State& state) {
  const CodeUnitOrder services;
  TimeCommand(
      state, [&](lists::ListStore& s) { return lists::asort(s, kShown, {}, services); },
      [&](const lists::ListStore& s, const lists::EditResult& result) {
        const lists::ItemList& items = s.Slot(kShown).items;
        return result.changed &&
               std::is_sorted(items.begin(), items.end(), [&](const auto& a, const auto& b) {
                 return services.SortKey(text::Cp932ToUtf16(services, a)) <
                        services.SortKey(text::Cp932ToUtf16(services, b));
               });
      });
}
BENCHMARK(BM_SortWithAFakeKey)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

// One capture's text put at the top of a list of 100,000 items (and of the list box's copy
// when it is the shown list).
void BM_InsertAtTop(benchmark::State& state) {
  const std::string capture = History()[kItemCount / 3];
  TimeCommand(
      state,
      [&](lists::ListStore& s) {
        s.InsertAtTop(kShown, {capture});
        return lists::EditResult{true, {}};
      },
      [&](const lists::ListStore& s, const lists::EditResult&) {
        return Count(s, kShown) == kItemCount + 1 && s.Slot(kShown).items[0] == capture &&
               s.Slot(kShown).items[1] == History()[0];
      });
}
BENCHMARK(BM_InsertAtTop)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

void BM_UnicodeDeleteHalfSelected(benchmark::State& state) {
  const lists::ViewState view = EverySecondSelected();
  TimeCommand(
      state, [&](lists::ListStore& s) { return lists::wdelact(s, view); },
      [](const lists::ListStore& s, const lists::EditResult&) {
        return s.UnicodeItems().size() == kItemCount / 2;
      },
      true);
}
BENCHMARK(BM_UnicodeDeleteHalfSelected)->Unit(benchmark::kMillisecond)->Iterations(kRuns);

}  // namespace
}  // namespace pellix::bench
