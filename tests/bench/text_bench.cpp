// The text work done on every capture and on every conversion from the list menu, on a page of
// mixed Japanese and Latin text.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench_data.h"
#include "core/platform_services.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"

namespace pellix::bench {
namespace {

constexpr std::size_t kChars = 10'000;

const std::string& Page() {
  static const std::string page = MakeMixedText(kChars);
  return page;
}

void Report(benchmark::State& state) {
  const auto iterations = static_cast<std::int64_t>(state.iterations());
  state.SetBytesProcessed(iterations * static_cast<std::int64_t>(Page().size()));
  state.SetItemsProcessed(iterations * static_cast<std::int64_t>(kChars));
}

void BM_CharLength(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text::CharLength(Page()));
  }
  if (text::CharLength(Page()) != kChars) {
    state.SkipWithError("the page does not have the intended length");
  }
  Report(state);
}
BENCHMARK(BM_CharLength);

void BM_FullToHalfWidth(benchmark::State& state) {
  for (auto _ : state) {
    std::string narrow = text::FullToHalfWidth(Page());
    benchmark::DoNotOptimize(narrow);
  }
  Report(state);
}
BENCHMARK(BM_FullToHalfWidth);

void BM_MapString(benchmark::State& state, text::Mapping mapping) {
  const text::TextServices& services = PlatformTextServices();
  for (auto _ : state) {
    std::string mapped = text::MapString(services, mapping, Page());
    benchmark::DoNotOptimize(mapped);
  }
  Report(state);
}
BENCHMARK_CAPTURE(BM_MapString, lower_case, text::Mapping::kLowerCase);
BENCHMARK_CAPTURE(BM_MapString, upper_case, text::Mapping::kUpperCase);
BENCHMARK_CAPTURE(BM_MapString, full_width, text::Mapping::kFullWidth);
BENCHMARK_CAPTURE(BM_MapString, half_width, text::Mapping::kHalfWidth);

}  // namespace
}  // namespace pellix::bench
