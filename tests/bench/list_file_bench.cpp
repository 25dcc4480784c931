// Loading and saving a large list: the program reads every list at start and writes them back on
// exit, so these bound how long a big history makes the user wait.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "bench_data.h"
#include "core/io/app_folder.h"
#include "core/lists/list_file.h"
#include "core/platform_services.h"

namespace pellix::bench {
namespace {

constexpr std::size_t kItemCount = 100'000;
constexpr std::size_t kTextBytes = 10'000'000;
constexpr std::string_view kListName = "history";

const lists::Items& History() {
  static const lists::Items items = MakeHistoryItems(kItemCount, kTextBytes);
  return items;
}

const std::string& HistoryFile() {
  static const std::string content = lists::FormatListFile(History());
  return content;
}

// The program's folder for the file benchmarks: a fresh temporary folder, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("pellix-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  io::AppFolder App() const {
    return io::AppFolder((path_ / "").u16string(), PlatformTextServices());
  }

 private:
  std::filesystem::path path_;
};

const ScratchFolder& Scratch() {
  static const ScratchFolder folder;
  return folder;
}

// The generated data must be what a real file holds, or the figures mean nothing.
bool HistoryIsSound(benchmark::State& state) {
  if (lists::ParseListFile(HistoryFile()) != History()) {
    state.SkipWithError("generated items do not survive a list file");
    return false;
  }
  return true;
}

void Report(benchmark::State& state) {
  const auto iterations = static_cast<std::int64_t>(state.iterations());
  state.SetBytesProcessed(iterations * static_cast<std::int64_t>(HistoryFile().size()));
  state.SetItemsProcessed(iterations * static_cast<std::int64_t>(History().size()));
  state.SetLabel(std::to_string(History().size()) + " items, " +
                 std::to_string(HistoryFile().size()) + " bytes");
}

void BM_FormatListFile(benchmark::State& state) {
  if (!HistoryIsSound(state)) {
    return;
  }
  for (auto _ : state) {
    std::string content = lists::FormatListFile(History());
    benchmark::DoNotOptimize(content);
  }
  Report(state);
}
BENCHMARK(BM_FormatListFile)->Unit(benchmark::kMillisecond);

void BM_ParseListFile(benchmark::State& state) {
  if (!HistoryIsSound(state)) {
    return;
  }
  for (auto _ : state) {
    lists::Items items = lists::ParseListFile(HistoryFile());
    benchmark::DoNotOptimize(items);
  }
  Report(state);
}
BENCHMARK(BM_ParseListFile)->Unit(benchmark::kMillisecond);

// Through the real file system, so the atomic replace (temporary file, flush, rename) is in the
// figure; wall time, since the flush is mostly waiting.
void BM_WriteListFile(benchmark::State& state) {
  if (!HistoryIsSound(state)) {
    return;
  }
  const io::AppFolder app = Scratch().App();
  for (auto _ : state) {
    lists::WriteListFile(PlatformFileSystem(), app, kListName, History());
  }
  Report(state);
}
BENCHMARK(BM_WriteListFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadListFile(benchmark::State& state) {
  if (!HistoryIsSound(state)) {
    return;
  }
  const io::AppFolder app = Scratch().App();
  lists::WriteListFile(PlatformFileSystem(), app, kListName, History());
  {
    lists::Items check;
    lists::ReadListFile(PlatformFileSystem(), app, kListName, check);
    if (check != History()) {
      state.SkipWithError("the list file did not read back");
      return;
    }
  }
  for (auto _ : state) {
    lists::Items items;  // reading appends; a fresh list is what start-up fills
    lists::ReadListFile(PlatformFileSystem(), app, kListName, items);
    benchmark::DoNotOptimize(items);
  }
  Report(state);
}
BENCHMARK(BM_ReadListFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace pellix::bench
