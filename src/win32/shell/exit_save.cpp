#include "win32/shell/exit_save.h"

#include "core/app/recovery.h"
#include "win32/platform/local_folders.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/error_reporter.h"

namespace pellix::win32 {
namespace {

// "%LOCALAPPDATA%\pellix\recovery\", with its separator; empty when the system has no such
// folder.
std::u16string RecoveryRoot() {
  const std::u16string local = LocalProgramFolder();
  return local.empty() ? local : local + u"recovery\\";
}

std::wstring Question(const std::vector<app::SaveFailure>& failures) {
  std::u16string text = u"次のファイルを保存できません。";
  for (const app::SaveFailure& failure : failures) {
    text += u"\r\n\r\n" + failure.message;
  }
  text +=
      u"\r\n\r\n再試行するともう一度保存します。キャンセルすると終了をやめ、"
      u"項目はすべてそのまま残ります。";
  return ToWide(text);
}

}  // namespace

std::vector<app::SaveFailure> ExitSave::SaveAll() {
  if (context_.finishReads) {
    context_.finishReads();
  }
  std::vector<app::SaveFailure> failures;
  if (memo_ != nullptr) {
    if (std::optional<app::SaveFailure> memo = memo_->SaveForExit()) {
      failures.push_back(std::move(*memo));
    }
  }
  for (app::SaveFailure& failure : context_.saver.SaveChanges(context_.model, context_.takeIn)) {
    failures.push_back(std::move(failure));
  }
  return failures;
}

ExitSave::Outcome ExitSave::SaveBeforeClose(HWND owner, std::vector<std::u16string>* failedPaths) {
  for (;;) {
    const std::vector<app::SaveFailure> failures = SaveAll();
    if (failures.empty()) {
      return Outcome::kSaved;
    }
    const int answer = ShowBox(context_.loops, owner, Question(failures).c_str(), kAppTitle,
                               MB_RETRYCANCEL | MB_ICONWARNING);
    if (answer != IDRETRY) {
      for (const app::SaveFailure& failure : failures) {
        failedPaths->push_back(failure.path);
      }
      return Outcome::kCalledOff;
    }
  }
}

void ExitSave::SaveForSessionEnd() {
  const std::vector<app::SaveFailure> failures = SaveAll();
  if (failures.empty() || keptRevision_ == context_.model.lists.Revision()) {
    return;
  }
  const std::u16string root = RecoveryRoot();
  if (!root.empty() && app::KeepForRecovery(context_.files, root, context_.folder.Dir(),
                                            LocalTimestamp(), failures)) {
    keptRevision_ = context_.model.lists.Revision();
  }
}

std::optional<std::u16string> ExitSave::TakeRecoveryNotice() {
  const std::u16string root = RecoveryRoot();
  if (root.empty()) {
    return std::nullopt;
  }
  const std::vector<std::u16string> folders =
      app::TakeRecoveryNotes(context_.files, root, context_.folder.Dir());
  if (folders.empty()) {
    return std::nullopt;
  }
  return app::RecoveryMessage(folders);
}

}  // namespace pellix::win32
