#pragma once
// The last saves of a run. A close the user asked for writes everything and, when a file cannot
// be written, asks whether to try again or to keep running: the program never ends having
// thrown the user's items away without the user choosing it. At the end of the session there is
// no time to ask: what cannot be written in the program's folder is kept in a recovery folder,
// and the next start says where.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/app/saver.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "win32/memo/memo_window.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

class ExitSave {
 public:
  struct Context {
    const app::Model& model;
    app::Saver& saver;
    ModalLoops& loops;
    const io::FileSystem& files;
    const io::AppFolder& folder;
    // A list file another instance changed: its change is taken into the list before it is
    // written again.
    std::function<void(const std::u16string& path)> takeIn;
    // Lists still being read are read whole first: a list half read would be saved half.
    std::function<void()> finishReads;
  };
  explicit ExitSave(const Context& context) : context_(context) {}

  void AttachMemo(MemoWindow* memo) { memo_ = memo; }

  enum class Outcome {
    kSaved,     // everything is written: the program may end
    kCalledOff  // the user chose to keep running (or the question was ended from elsewhere);
                // `failedPaths` were not written
  };
  Outcome SaveBeforeClose(HWND owner, std::vector<std::u16string>* failedPaths);

  // Writes everything; what fails goes to the recovery folder (once for the same state).
  void SaveForSessionEnd();

  // Where earlier session ends kept files of this folder; told once.
  std::optional<std::u16string> TakeRecoveryNotice();

 private:
  std::vector<app::SaveFailure> SaveAll();

  Context context_;
  MemoWindow* memo_ = nullptr;
  // The lists' revision whose failures were kept already, so the session's two notices keep
  // them once.
  std::optional<std::uint64_t> keptRevision_;
};

}  // namespace pellix::win32
