#include "core/app/saver.h"

#include "core/io/errors.h"
#include "core/sync/shared_files.h"

namespace pellix::app {

std::u16string SettingsPath(const io::AppFolder& folder) {
  return folder.Dir() + u"pellix.ini";
}

void Saver::WriteSettings(const Model& model) {
  std::string content = settings::FormatSettings(SettingsFromModel(model));
  files_->WriteAll(SettingsPath(*folder_), content);
  settingsWritten_ = std::move(content);
}

std::vector<SaveFailure> Saver::SaveChanges(
    const Model& model, const std::function<void(const std::u16string& path)>& takeIn) {
  // Another instance may write the list again while its change is taken in here: a few rounds.
  constexpr int kRounds = 3;
  std::vector<SaveFailure> failures;
  const auto write = [&](const std::u16string& path, std::string content) {
    try {
      files_->WriteAll(path, content);
      return true;
    } catch (const io::AppError& error) {
      failures.push_back(SaveFailure{path, error.Message(), std::move(content)});
      return false;
    }
  };
  const auto writeList = [&](const std::u16string& path, auto&& format) {
    for (int round = 1;; ++round) {
      try {
        files_->WriteAll(path, format());
        return true;
      } catch (const sync::ChangedElsewhere& changed) {
        if (!takeIn || round == kRounds) {
          failures.push_back(SaveFailure{path, changed.Message(), format()});
          return false;
        }
        takeIn(path);
      } catch (const io::AppError& error) {
        failures.push_back(SaveFailure{path, error.Message(), format()});
        return false;
      }
    }
  };
  std::string settings = settings::FormatSettings(SettingsFromModel(model));
  if (settings != settingsWritten_ && write(SettingsPath(*folder_), settings)) {
    settingsWritten_ = std::move(settings);
  }
  if (listsWritten_ != model.lists.Revision()) {
    bool allWritten = true;
    ForEachListFile(model.lists, *folder_, [&](const std::u16string& path, auto&& format) {
      allWritten = writeList(path, format) && allWritten;
    });
    if (allWritten) {
      listsWritten_ = model.lists.Revision();
    }
  }
  return failures;
}

}  // namespace pellix::app
