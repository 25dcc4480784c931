#include "core/app/saver.h"

#include "core/io/errors.h"

namespace pellix::app {

std::u16string SettingsPath(const io::AppFolder& folder) {
  return folder.Dir() + u"pellix.ini";
}

void Saver::WriteSettings(const Model& model) {
  std::string content = settings::FormatSettings(SettingsFromModel(model));
  files_->WriteAll(SettingsPath(*folder_), content);
  settingsWritten_ = std::move(content);
}

std::vector<std::u16string> Saver::SaveChanges(const Model& model) {
  std::vector<std::u16string> failures;
  try {
    if (settings::FormatSettings(SettingsFromModel(model)) != settingsWritten_) {
      WriteSettings(model);
    }
  } catch (const io::AppError& error) {
    failures.push_back(error.Message());
  }
  if (listsWritten_ != model.lists.Revision()) {
    try {
      model.lists.SaveListFiles(*files_, *folder_);
      listsWritten_ = model.lists.Revision();
    } catch (const io::AppError& error) {
      failures.push_back(error.Message());
    }
  }
  return failures;
}

}  // namespace pellix::app
