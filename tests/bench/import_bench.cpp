// What importing a 10 MB text file costs: reading it (code page 932 as it stands, or UTF-8
// detected and converted), sorting it through a typical set of lists as one text, and putting
// its lines into a list that already holds 100,000 items.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_data.h"
#include "core/capture/text_import.h"
#include "core/platform_services.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"
#include "core/text/utf.h"

namespace pellix::bench {
namespace {

constexpr std::size_t kFileBytes = 10 * 1024 * 1024;

// Lines of 20 to 80 characters of mixed Japanese and Latin text, CR LF after each.
const std::string& Cp932File() {
  static const std::string file = [] {
    const std::string prose = MakeMixedText(200'000);
    std::string out;
    out.reserve(kFileBytes + 256);
    std::size_t pos = 0;
    std::size_t lineChars = 20;
    while (out.size() < kFileBytes) {
      const std::size_t bytes = text::PrefixBytesForChars(prose.substr(pos), lineChars);
      out.append(prose, pos, bytes).append("\r\n");
      pos += bytes;
      if (prose.size() - pos < 400) {
        pos = 0;
      }
      lineChars = 20 + (lineChars * 7 + 13) % 61;
    }
    return out;
  }();
  return file;
}

const std::string& Utf8File() {
  static const std::string file =
      text::Utf16ToUtf8(text::Cp932ToUtf16(PlatformTextServices(), Cp932File()));
  return file;
}

// The same with one character the code page lacks near its start, as an emoji in a mail.
const std::string& Utf8FileWithEmoji() {
  static const std::string file = "\xF0\x9F\x98\x80\r\n" + Utf8File();
  return file;
}

pellix::filters::FilterDef Filter(std::string type, int kaigyo) {
  pellix::filters::FilterDef def;
  def.type = std::move(type);
  def.kaigyo = kaigyo;
  return def;
}

// The default lists and what people commonly add: addresses and telephone numbers line by
// line, mail in whole texts, and a half-width copy of everything.
lists::ListStore TypicalLists() {
  lists::ListStore store;
  store.AddSlot(lists::ListSlot{"history", {}, Filter("1", 0)});
  store.AddSlot(lists::ListSlot{"records", {}, Filter("0", 0)});
  pellix::filters::FilterDef url = Filter("2", 1);
  url.astring = "http:// https://";
  url.acount = 1;
  store.AddSlot(lists::ListSlot{"url", {}, url});
  pellix::filters::FilterDef tel = Filter("2", 1);
  tel.cstring = "0123456789-() ";
  store.AddSlot(lists::ListSlot{"tel", {}, tel});
  pellix::filters::FilterDef mail = Filter("3", 0);
  mail.astring = "@";
  mail.acount = 1;
  mail.bstring = ".com .jp";
  mail.bcount = 1;
  store.AddSlot(lists::ListSlot{"mail", {}, mail});
  pellix::filters::FilterDef narrow = Filter("3", 0);
  narrow.zen = true;
  store.AddSlot(lists::ListSlot{"narrow", {}, narrow});
  store.AddSlot(lists::ListSlot{"unicode", {}, Filter("0", 0)});
  return store;
}

void SortFile(benchmark::State& state, const std::string& file) {
  lists::ListStore store = TypicalLists();
  const text::TextServices& services = PlatformTextServices();
  std::size_t inserted = 0;
  for (auto _ : state) {
    std::string lastText;
    const auto run = capture::SortImportedFile(store, lastText, services, file);
    state.PauseTiming();
    for (std::size_t i = 0; i < store.Count(); ++i) {
      inserted += run ? run->inserted[i] : 0;
      store.SetItems(i, {});
    }
    state.ResumeTiming();
  }
  state.counters["items_per_run"] =
      benchmark::Counter(static_cast<double>(inserted) / static_cast<double>(state.iterations()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(file.size()));
}

void BM_ImportSort_Cp932_10MB(benchmark::State& state) {
  SortFile(state, Cp932File());
}
BENCHMARK(BM_ImportSort_Cp932_10MB)->Unit(benchmark::kMillisecond);

void BM_ImportSort_Utf8_10MB(benchmark::State& state) {
  SortFile(state, Utf8File());
}
BENCHMARK(BM_ImportSort_Utf8_10MB)->Unit(benchmark::kMillisecond);

void InsertFile(benchmark::State& state, const std::string& file) {
  lists::ListStore store = TypicalLists();
  const lists::Items existing = MakeHistoryItems(100'000, 10'000'000);
  store.SwitchList(1);
  const text::TextServices& services = PlatformTextServices();
  const lists::ViewState view{{50'000}, 50'000, 49'990};
  std::size_t lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    store.SetItems(1, existing);
    state.ResumeTiming();
    const auto done = capture::InsertImportedFile(store, view, services, file);
    lines = done ? done->result.view.selected.size() : 0;
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(file.size()));
}

void BM_ImportLines_Cp932_10MB_Into100k(benchmark::State& state) {
  InsertFile(state, Cp932File());
}
BENCHMARK(BM_ImportLines_Cp932_10MB_Into100k)->Unit(benchmark::kMillisecond);

void BM_ImportLines_Utf8_10MB_Into100k(benchmark::State& state) {
  InsertFile(state, Utf8File());
}
BENCHMARK(BM_ImportLines_Utf8_10MB_Into100k)->Unit(benchmark::kMillisecond);

void BM_ImportLines_Utf8WithEmoji_10MB_Into100k(benchmark::State& state) {
  InsertFile(state, Utf8FileWithEmoji());
}
BENCHMARK(BM_ImportLines_Utf8WithEmoji_10MB_Into100k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellix::bench
