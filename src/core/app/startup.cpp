#include "core/app/startup.h"

#include <algorithm>
#include <future>
#include <string>
#include <vector>

#include "core/app/saver.h"
#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/io/leftovers.h"
#include "core/lists/default_lists.h"
#include "core/lists/list_names.h"
#include "core/text/ascii.h"
#include "core/text/codec.h"
#include "core/text/utf.h"

namespace pellix::app {
namespace {

void ApplyOptions(Model& model, const settings::SettingsPlan& plan) {
  model.placement.left = plan.left;
  model.placement.top = plan.top;
  model.placement.width = plan.width.value_or(model.placement.width);
  model.placement.height = plan.height.value_or(model.placement.height);
  model.view.fontSize = plan.fontSize.value_or(model.view.fontSize);
  model.view.fontColor = plan.fontColor.value_or(model.view.fontColor);
  model.sendTabFlag = plan.sendTab;
  model.view.memo = plan.memo;
  model.view.transparent = plan.trans;
  if (plan.option) {
    model.view.pasteOption = plan.option;
  }
  model.lockFlag = plan.lock;
  model.hotkey.mods = plan.hotkeyMods.value_or(model.hotkey.mods);
  model.hotkey.letter = plan.hotkeyLetter.value_or(model.hotkey.letter);
}

std::u16string ListLine(const text::TextServices& services, std::size_t n, std::string_view name) {
  return u"list" + text::Utf8ToUtf16(std::to_string(n)) + u" \"" +
         text::Cp932ToUtf16(services, name) + u"\"";
}

// A name the file system would see differently from the program, or one whose files another
// slot already uses: two slots of one file would each write it back, the later one's stale
// copy over the earlier one's changes. Either stops the start before anything is read.
void CheckNames(const settings::SettingsPlan& plan, const text::TextServices& services) {
  const std::u16string ini(settings::kSettingsFileName);
  std::vector<std::u16string> keys;
  keys.reserve(plan.lists.size());
  for (std::size_t n = 0; n < plan.lists.size(); ++n) {
    const std::string& name = plan.lists[n];
    if (!lists::IsPlainFileName(services, name)) {
      throw io::AppError(ini + u" の " + ListLine(services, n, name) +
                         u" はファイル名に使えないため、読み込めません");
    }
    keys.push_back(lists::ListNameKey(services, name));
    const auto first = std::find(keys.begin(), keys.end() - 1, keys.back());
    if (first != keys.end() - 1) {
      const auto earlier = static_cast<std::size_t>(first - keys.begin());
      throw io::AppError(ini + u" の " + ListLine(services, earlier, plan.lists[earlier]) +
                         u" と " + ListLine(services, n, name) +
                         u" は同じファイルを使うため、読み込めません");
    }
  }
}

void ShowFirst(Model& model, std::optional<std::size_t> view) {
  lists::ListStore& store = model.lists;
  if (!view || *view >= store.Count()) {
    store.ClearCurrent();
    return;
  }
  store.SwitchList(*view);
  const lists::ListSlot& slot = store.Slot(*view);
  if (!lists::IsUnicodeListName(slot.name) && !slot.items.empty()) {
    model.lastText = slot.items.front();
  }
}

}  // namespace

std::vector<ListRead> LoadModel(Model& model, const std::optional<settings::SettingsPlan>& plan,
                                const io::FileSystem& files, const io::AppFolder& folder,
                                const text::TextServices& services,
                                const std::function<void()>& onRead) {
  std::vector<ListRead> later;
  if (plan) {
    CheckNames(*plan, services);
    ApplyOptions(model, *plan);
    const std::size_t shown = plan->view ? static_cast<std::size_t>(*plan->view) : SIZE_MAX;
    const auto readLater = [&](std::size_t n, const std::string& name) {
      if (lists::IsUnicodeListName(name)) {
        return false;
      }
      const std::optional<io::FileStamp> stamp = files.Stat(lists::ListFilePath(folder, name));
      return stamp && stamp->size > (n == shown ? kShownReadAtStartBytes : kReadAtStartBytes);
    };
    // Each list is read and parsed on a thread of its own (a history of 100,000 items is
    // megabytes of text), and they join the store in their order; the first failure in that
    // order is the one reported, as when they were read one after the other.
    std::vector<std::optional<std::future<lists::LoadedList>>> reads;
    reads.reserve(plan->lists.size());
    for (std::size_t n = 0; n < plan->lists.size(); ++n) {
      const std::string& name = plan->lists[n];
      if (readLater(n, name)) {
        reads.emplace_back();
        continue;
      }
      reads.push_back(std::async(std::launch::async, [&files, &folder, &services, &name] {
        return lists::ReadList(files, folder, services, name);
      }));
    }
    for (std::size_t n = 0; n < reads.size(); ++n) {
      if (reads[n]) {
        model.lists.AddLoadedList(reads[n]->get());
        continue;
      }
      // Its filter is read now: captures go by it from the start.
      const std::string& name = plan->lists[n];
      model.lists.AddLoadingSlot(name, filters::ReadFilterFile(files, folder, name));
    }
    for (std::size_t n = 0; n < reads.size(); ++n) {
      if (!reads[n]) {
        later.emplace_back(
            n,
            [&files, &folder, &services, name = plan->lists[n]] {
              return lists::ReadList(files, folder, services, name);
            },
            onRead);
      }
    }
  }
  if (model.lists.Count() == 0) {
    lists::AddDefaultLists(model.lists, files, folder, services);
    ShowFirst(model, 0);
  } else {
    ShowFirst(model, static_cast<std::size_t>(plan->view.value_or(0)));
  }
  // The selector's own search for "unicode" ignores letter case.
  for (std::size_t i = 0; i < model.lists.Count(); ++i) {
    if (text::EqualsIgnoringAsciiCase(model.lists.Slot(i).name, lists::kUnicodeListName)) {
      model.lists.EnableUnicodeCapture();
    }
  }
  return later;
}

FolderLoad LoadFromFolder(Model& model, const io::FileSystem& files, const io::AppFolder& folder,
                          const text::TextServices& services, std::u16string_view tag,
                          const std::function<void()>& onRead) {
  io::CleanUpLeftovers(files, folder.Dir(), tag);
  const std::u16string iniPath = SettingsPath(folder);
  std::optional<settings::SettingsPlan> plan;
  if (files.Exists(iniPath)) {
    plan = settings::ParseSettings(files.ReadAll(iniPath));
  }
  FolderLoad load;
  load.settingsExisted = plan.has_value();
  load.reads = LoadModel(model, plan, files, folder, services, onRead);
  return load;
}

}  // namespace pellix::app
