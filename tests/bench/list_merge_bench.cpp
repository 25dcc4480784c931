// The cost of taking in what another instance changed in a big list: 100,000 items (about 10 MB)
// on each side, ten captures on the other PC and one there deleted, five captures here. The
// comparison runs on the writer's thread (it reads the other's file); the plan and the change
// run on the window's, so they are what the window waits for.

#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "core/sync/list_merge.h"

namespace pellix::bench {
namespace {

constexpr std::size_t kItemCount = 100'000;
constexpr std::size_t kTextBytes = 10'000'000;

struct Sides {
  std::vector<sync::ItemKey> base;
  lists::Items here;
  lists::Items found;
};

const Sides& MergeSides() {
  static const Sides sides = [] {
    Sides made;
    const lists::Items history = MakeHistoryItems(kItemCount, kTextBytes);
    made.base = sync::KeysInOrder(history);
    made.here = history;
    made.found = history;
    for (int k = 0; k < 10; ++k) {
      made.found.insert(made.found.begin(), "captured there " + std::to_string(k));
    }
    made.found.erase(made.found.begin() + 5000);
    for (int k = 0; k < 5; ++k) {
      made.here.insert(made.here.begin(), "captured here " + std::to_string(k));
    }
    return made;
  }();
  return sides;
}

// The writer's part: the keys of the file found, compared with the base.
void BM_CompareFoundList(benchmark::State& state) {
  const Sides& sides = MergeSides();
  for (auto _ : state) {
    benchmark::DoNotOptimize(sync::CompareLists(sides.base, sides.found));
  }
}
BENCHMARK(BM_CompareFoundList)->Unit(benchmark::kMillisecond);

// The window's part: which items go and which come in, over the list here.
void BM_PlanMerge(benchmark::State& state) {
  const Sides& sides = MergeSides();
  const sync::ListChange<std::string> change = sync::CompareLists(sides.base, sides.found);
  for (auto _ : state) {
    benchmark::DoNotOptimize(sync::PlanMerge(change, sides.here, sync::MergeMode::kBoth));
  }
}
BENCHMARK(BM_PlanMerge)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellix::bench
