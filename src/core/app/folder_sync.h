#pragma once
// Keeps the model in step with the other instances that share its folder, on the window's
// thread: it says what a look at the folder is to compare, takes in what the look found
// (items others added come in at the top, items they removed go, what this instance changed
// stays), takes in what this instance's own writes made of the files, and says which conflict
// copies may go now that their items are saved.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/background_writer.h"
#include "core/app/changed_files.h"
#include "core/app/folder_look.h"
#include "core/app/model.h"
#include "core/io/app_folder.h"
#include "core/sync/shared_files.h"

namespace pellix::app {

// What taking in another instance's change did to one list, for its view.
struct ListTakenIn {
  lists::ListId list;
  std::vector<std::size_t> removedAscending;  // items that went, as numbered before
  std::size_t inserted = 0;                   // then put on top
  bool replaced = false;                      // the whole list was replaced (something moved)
};

struct TakenIn {
  std::vector<ListTakenIn> lists;
  std::vector<std::size_t> filtersRead;  // lists whose filter file was read again
  std::optional<LinesFound> memo;        // the memo changed elsewhere: its window decides
  std::vector<std::u16string> keptMemos;
  bool lookAgain = false;  // something had moved on meanwhile: a new look will take it in
};

class FolderSync {
 public:
  FolderSync(Model& model, sync::SharedFiles& shared, const io::AppFolder& folder,
             const text::TextServices& services)
      : model_(model), shared_(shared), folder_(folder), services_(services) {}

  // The shared files with the versions known of them. A list whose last write is not taken in
  // yet is left for the next look.
  LookRequest Request() const;

  // `editing(slot)`: the filter editor has that list's filter open, and its file is not read
  // again under it. Lists taken in without changes of this instance's own are counted as
  // written in `changed`.
  TakenIn TakeIn(LookResult result, const std::function<bool(std::size_t slot)>& editing,
                 ChangedFiles& changed);

  // A list write's outcome: the list is built on what was written.
  void Written(const WriteOutcome& outcome);

  // Conflict copies whose items are saved in their lists' files by now: they may go.
  std::vector<std::u16string> TakeCopiesDone() { return std::exchange(done_, {}); }

  // Reads the list file `path` now, and takes in what changed (a save found it changed).
  TakenIn TakeInNow(const io::FileSystem& files, const std::u16string& path, ChangedFiles& changed);

 private:
  std::optional<lists::ListId> ListAt(const std::u16string& path) const;
  std::optional<std::size_t> FilterAt(const std::u16string& path) const;
  // Whether it was taken in (not stale).
  bool TakeInList(ListFound found, bool continuing, ChangedFiles& changed, TakenIn& taken);
  void TakeInLines(LinesFound found, const std::function<bool(std::size_t)>& editing,
                   TakenIn& taken);

  struct PendingCopy {
    std::u16string listPath;
    std::u16string copy;
    std::uint64_t itemsStamp = 0;  // saved once the list is written from this stamp on
  };

  Model& model_;
  sync::SharedFiles& shared_;
  const io::AppFolder& folder_;
  const text::TextServices& services_;
  std::vector<PendingCopy> pending_;
  std::vector<std::u16string> done_;
};

}  // namespace pellix::app
