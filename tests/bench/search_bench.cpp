// Finding items as the user types, on a history of 100,000 items of about 100 bytes (10 MB):
// one keystroke is one pass of the query over the folded copies, and the first search of a list
// folds its items once.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_data.h"
#include "core/platform_services.h"
#include "core/search/list_search.h"
#include "core/text/codec.h"
#include "core/text/utf.h"

namespace pellix::bench {
namespace {

constexpr std::size_t kItemCount = 100'000;
constexpr std::size_t kTextBytes = 10'000'000;

const lists::Items& History() {
  static const lists::Items items = MakeHistoryItems(kItemCount, kTextBytes);
  return items;
}

lists::ListStore FreshStore() {
  lists::ListStore store;
  store.AddSlot(lists::ListSlot{"history", History(), {}});
  store.AddSlot(lists::ListSlot{"unicode", {}, {}});
  lists::WideItems wide;
  for (const std::string& item : History()) {
    wide.push_back(text::Cp932ToUtf16(PlatformTextServices(), item));
  }
  store.SetUnicodeItems(std::move(wide));
  store.SwitchList(0);
  return store;
}

lists::ListStore& Store() {
  static lists::ListStore store = FreshStore();
  return store;
}

// What the user has typed so far; each query is one keystroke's work.
const char16_t* const kQueries[] = {
    u"e",         // one letter: nearly every item matches
    u"windows",   // full-width in the items
    u"データ",    // half-width katakana in the items
    u"会議 url",  // two words, in any order
    u"zq",        // nothing matches: every item scanned to its end
};

void Keystroke(benchmark::State& state, lists::ListStore& store, lists::ListId list) {
  const search::SearchQuery query(kQueries[state.range(0)], PlatformTextServices());
  std::size_t matches = search::FindMatches(store, list, query).size();  // folds, untimed
  for (auto _ : state) {
    matches = search::FindMatches(store, list, query).size();
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.SetLabel(text::Utf16ToUtf8(kQueries[state.range(0)]));
}

void BM_SearchKeystrokeAnsi(benchmark::State& state) {
  Keystroke(state, Store(), lists::ListId::Ansi(0));
}
BENCHMARK(BM_SearchKeystrokeAnsi)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_SearchKeystrokeUnicode(benchmark::State& state) {
  Keystroke(state, Store(), lists::ListId::Unicode());
}
BENCHMARK(BM_SearchKeystrokeUnicode)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// The first keystroke in a list: its items folded, then searched.
void FirstKeystroke(benchmark::State& state, const lists::Items& items) {
  const search::SearchQuery query(u"e", PlatformTextServices());
  for (auto _ : state) {
    state.PauseTiming();
    lists::ListStore store;
    store.AddSlot(lists::ListSlot{"history", items, {}});
    state.ResumeTiming();
    benchmark::DoNotOptimize(search::FindMatches(store, lists::ListId::Ansi(0), query).size());
    state.PauseTiming();
    store = lists::ListStore();  // freed outside the timed part
    state.ResumeTiming();
  }
}

void BM_SearchFirstKeystrokeFolds(benchmark::State& state) {
  FirstKeystroke(state, History());
}
BENCHMARK(BM_SearchFirstKeystrokeFolds)->Iterations(10)->Unit(benchmark::kMillisecond);

// A capture while a search is shown: the item's key is folded and the results found again.
void CaptureDuringSearch(benchmark::State& state, const lists::Items& items) {
  lists::ListStore store;
  store.AddSlot(lists::ListSlot{"history", items, {}});
  search::ListSearch search;
  search.Set(store, lists::ListId::Ansi(0), search::SearchQuery(u"会議", PlatformTextServices()));
  for (auto _ : state) {
    store.InsertAtTop(0, {"新しい会議の議事録"});
    search.Follow(store);
  }
  state.counters["matches"] = static_cast<double>(search.Rows().size());
}

void BM_SearchCaptureDuringSearch(benchmark::State& state) {
  CaptureDuringSearch(state, History());
}
BENCHMARK(BM_SearchCaptureDuringSearch)->Iterations(50)->Unit(benchmark::kMillisecond);

// The same over a history of a million items (100 MB): a keystroke, the first one, which folds
// them all, and a capture while the search is shown.
const lists::Items& Million() {
  static const lists::Items items = MakeHistoryItems(10 * kItemCount, 10 * kTextBytes);
  return items;
}

lists::ListStore& MillionStore() {
  static lists::ListStore store = [] {
    lists::ListStore made;
    made.AddSlot(lists::ListSlot{"history", Million(), {}});
    made.SwitchList(0);
    return made;
  }();
  return store;
}

void BM_SearchKeystrokeAnsiMillion(benchmark::State& state) {
  Keystroke(state, MillionStore(), lists::ListId::Ansi(0));
}
BENCHMARK(BM_SearchKeystrokeAnsiMillion)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_SearchFirstKeystrokeFoldsMillion(benchmark::State& state) {
  FirstKeystroke(state, Million());
}
BENCHMARK(BM_SearchFirstKeystrokeFoldsMillion)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_SearchCaptureDuringSearchMillion(benchmark::State& state) {
  CaptureDuringSearch(state, Million());
}
BENCHMARK(BM_SearchCaptureDuringSearchMillion)->Iterations(20)->Unit(benchmark::kMillisecond);

// A key that adds to the word over a million items: the search looks among the last matches
// alone ("e": four items in ten), against a fresh search for the longer word.
void BM_SearchAddedKeyMillion(benchmark::State& state) {
  lists::ListStore& store = MillionStore();
  const lists::ListId list = lists::ListId::Ansi(0);
  const search::SearchQuery shorter(u"e", PlatformTextServices());
  const search::SearchQuery longer(u"en", PlatformTextServices());
  search::FindMatches(store, list, longer);  // folds, untimed
  std::size_t matches = 0;
  for (auto _ : state) {
    state.PauseTiming();
    search::ListSearch search;
    search.Set(store, list, shorter);
    state.ResumeTiming();
    if (state.range(0) == 0) {
      search.Set(store, list, longer);
      matches = search.Rows().size();
    } else {
      matches = search::FindMatches(store, list, longer).size();
    }
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.SetLabel(state.range(0) == 0 ? "among the last matches" : "afresh");
}
BENCHMARK(BM_SearchAddedKeyMillion)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellix::bench
