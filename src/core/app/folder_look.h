#pragma once
// A look at the program's folder for what other instances sharing it changed: every shared file
// whose version differs from the one this instance knows is read and compared, and the copies
// sync services left beside them are found. It runs on the writer's thread (a list can be
// large); what it finds is taken in on the window's thread, where the lists live.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/io/file_system.h"
#include "core/lists/list_file.h"
#include "core/sync/list_merge.h"
#include "core/sync/shared_files.h"
#include "core/sync/versions.h"
#include "core/text/text_services.h"

namespace pellix::app {

struct LookRequest {
  std::u16string dir;
  struct List {
    std::u16string path;
    bool unicode = false;
    sync::KnownFile from;  // the version the keys are of
    sync::KeysOf keys;
  };
  std::vector<List> lists;
  struct Lines {
    std::u16string path;
    sync::SharedKind kind = sync::SharedKind::kNone;
    sync::KnownFile from;
    std::string content;   // the version known
    std::string previous;  // the one before it
  };
  std::vector<Lines> lines;
  // Also names the files of lists the settings file names but this instance has not loaded:
  // a list made elsewhere is no conflict copy.
  std::vector<std::u16string> otherOwnNames;
};

struct ListFound {
  std::u16string path;
  bool unicode = false;
  sync::KnownFile from;
  sync::KnownFile found;
  sync::MergeMode mode = sync::MergeMode::kBoth;
  // A sync service's copy of the file, to be removed once its items are saved in the list.
  std::optional<std::u16string> copy;
  sync::ListChange<std::string> ansi;
  sync::ListChange<std::u16string> wide;
  // The whole list found, for a list here that takes it over as it is; only when the change is
  // not simple (something moved), or beside a conflict copy.
  lists::Items ansiItems;
  lists::WideItems wideItems;
};

struct LinesFound {
  std::u16string path;
  sync::SharedKind kind = sync::SharedKind::kNone;
  sync::KnownFile from;
  sync::KnownFile found;
  std::string content;
};

struct LookResult {
  std::vector<ListFound> lists;
  std::vector<LinesFound> lines;
  std::vector<std::u16string> keptMemos;  // memo copies kept under a name of their own
};

// `files` are the platform's (a look must not change what the shared files know). `lock` and
// `timestamp` serve the merges of conflict copies of files of lines, which are written here.
LookResult LookAt(const io::FileSystem& files, const text::TextServices& services,
                  const LookRequest& request, const sync::LockSettings& lock,
                  const std::function<std::u16string()>& timestamp);

}  // namespace pellix::app
