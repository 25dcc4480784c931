#pragma once
// The program's folder shared with other instances (two PCs on a network share or a folder a
// sync service keeps in step): the folder is watched, and looked at a moment after a change
// and every few seconds in any case; what the look finds (read on the writer's thread) is taken
// into the lists on this thread, and the views keep their selection, focus and scroll position.
// A memo changed elsewhere replaces this one's unless it holds unsaved typing; then the other
// is kept beside it and the user is told.

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/app/background_writer.h"
#include "core/app/folder_look.h"
#include "core/app/folder_sync.h"
#include "core/app/model.h"
#include "core/sync/shared_files.h"
#include "win32/memo/memo_window.h"
#include "win32/shell/auto_save.h"
#include "win32/shell/folder_watch.h"
#include "win32/ui/list_views.h"

namespace pellix::win32 {

class SharedFolder {
 public:
  struct Context {
    app::Model& model;
    sync::SharedFiles& shared;
    // The platform's files, under the shared ones: a look reads without changing what is known.
    const io::FileSystem& platformFiles;
    const io::AppFolder& folder;
    app::BackgroundWriter& writer;
    const text::TextServices& services;
    const sync::LockSettings& lock;
    std::function<std::u16string()> timestamp;
    ListViews& views;
    AutoSave& autoSave;
  };
  struct Hooks {
    MemoWindow* memo = nullptr;
    std::function<bool(std::size_t slot)> editingFilter;  // the filter editor has it open
    std::function<void(const std::u16string& title, const std::u16string& text)> notify;
  };

  explicit SharedFolder(const Context& context);
  SharedFolder(const SharedFolder&) = delete;
  SharedFolder& operator=(const SharedFolder&) = delete;
  ~SharedFolder();

  void Start(HWND window, Hooks hooks);
  // The watch and the looks end (before the last saves).
  void Stop();

  bool OnTimer(UINT_PTR id);
  // kMsgFolderChanged and kMsgFolderLooked.
  bool OnMessage(UINT message);

  // A list save found the file changed by another instance: it is read now and taken in, so
  // that the save can be made again (the close, which cannot wait for a look).
  void TakeInNow(const std::u16string& path);

 private:
  void OnOutcome(const app::WriteOutcome& outcome);
  void LookSoon();
  void Look();
  void TakeIn(app::LookResult result);
  void Show(const app::TakenIn& taken);
  void ShowTakenIn(const app::ListTakenIn& list);
  void TakeInMemo(const app::LinesFound& found);
  void TellKeptMemo(const std::u16string& kept);
  void RemoveCopies();

  // Where a look's findings wait for the window: the writer's thread may still hold it after
  // the window went.
  struct Mailbox;

  Context context_;
  Hooks hooks_;
  app::FolderSync sync_;
  FolderWatch watch_;
  HWND window_ = nullptr;
  ULONGLONG lookQueuedAt_ = 0;  // a look is queued or under way since; 0: none
  bool lookAgain_ = false;      // and another is wanted after it
  std::shared_ptr<Mailbox> mailbox_;
};

}  // namespace pellix::win32
