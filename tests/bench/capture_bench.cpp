// What one capture costs: the filters of sixteen lists of every kind run on a typical copy and
// on a long text.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_data.h"
#include "core/capture/filter_engine.h"
#include "core/platform_services.h"

namespace pellix::bench {
namespace {

// Four lists of each type; half of them test line by line; limiting characters, check words,
// width and case conversions and all eight replacement rows are in use.
lists::ListStore SixteenLists() {
  lists::ListStore store;
  for (int i = 0; i < 16; ++i) {
    pellix::filters::FilterDef def;
    def.filname = "list" + std::to_string(i);
    def.type = std::to_string(i % 4);
    def.kaigyo = (i / 4) % 2;
    if (i % 3 == 0) {
      def.cstring = "0123456789-() \x81\x40";  // a telephone number, spaces allowed
    } else {
      def.astring = "http https \x83\x65\x83\x58\x83\x67 TEL";  // テスト
      def.acount = 1 + i % 2;
      def.bstring = i % 2 == 0 ? "" : "com jp";
      def.bcount = 1;
    }
    def.zen = i % 2 == 0;
    def.caps = i % 4 == 1;
    def.small = i % 8 == 3;
    for (int row = 0; row < pellix::filters::kReplacementRows; ++row) {
      def.exfrom[row] = std::string(1, static_cast<char>('a' + row)) + "b";
      def.exto[row] = "x";
    }
    store.AddSlot(lists::ListSlot{def.filname, {}, def});
  }
  return store;
}

void RunOn(benchmark::State& state, const std::string& text) {
  lists::ListStore store = SixteenLists();
  const text::TextServices& services = PlatformTextServices();
  std::size_t inserted = 0;
  for (auto _ : state) {
    std::string lastText = text;
    const capture::FilterRun run = capture::RunFilters(store, lastText, services);
    for (std::size_t i = 0; i < store.Count(); ++i) {
      inserted += run.inserted[i];
      store.SetItems(i, {});  // keep the lists small so every run does the same work
    }
  }
  state.counters["items_per_run"] =
      benchmark::Counter(static_cast<double>(inserted) / static_cast<double>(state.iterations()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

void BM_RunFilters_10000Chars(benchmark::State& state) {
  static const std::string text = MakeMixedText(10'000);
  RunOn(state, text);
}
BENCHMARK(BM_RunFilters_10000Chars)->Unit(benchmark::kMicrosecond);

// What most captures are: a phrase, a URL or a sentence or two.
void BM_RunFilters_200Chars(benchmark::State& state) {
  static const std::string text = MakeMixedText(200);
  RunOn(state, text);
}
BENCHMARK(BM_RunFilters_200Chars)->Unit(benchmark::kMicrosecond);

void BM_RunFilters_1000Lines(benchmark::State& state) {
  static const std::string text = [] {
    std::string lines;
    for (int i = 0; i < 1000; ++i) {
      lines += i % 5 == 0
                   ? "TEL 03-1234-" + std::to_string(1000 + i)
                   : "https://example.com/" + std::to_string(i) + " \x83\x65\x83\x58\x83\x67";
      lines += "\r\n";
    }
    return lines;
  }();
  RunOn(state, text);
}
BENCHMARK(BM_RunFilters_1000Lines)->Unit(benchmark::kMicrosecond);

// Inserting a capture's lines at the top of a list that already holds 100,000 items.
void BM_RunFilters_LinesIntoABigList(benchmark::State& state) {
  lists::ListStore store;
  pellix::filters::FilterDef def;
  def.type = "2";
  def.kaigyo = 1;
  store.AddSlot(lists::ListSlot{"big", MakeHistoryItems(100'000, 10'000'000), def});
  std::string lines;
  for (int i = 0; i < 1000; ++i) {
    lines += "line " + std::to_string(i) + "\r\n";
  }
  const text::TextServices& services = PlatformTextServices();
  for (auto _ : state) {
    std::string lastText = lines;
    capture::RunFilters(store, lastText, services);
    state.PauseTiming();
    const lists::ItemList& items = store.Slot(0).items;
    store.SetItems(0, lists::Items(items.begin() + 1000, items.end()));
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RunFilters_LinesIntoABigList)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pellix::bench
