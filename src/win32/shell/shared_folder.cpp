#include "win32/shell/shared_folder.h"

#include "core/lists/view_state.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"

namespace pellix::win32 {
namespace {

// Another instance's save is noticed at once where the folder gives notices; the poll covers
// shares that give none (and notices lost), and costs a few file stamps.
constexpr UINT kPollMs = 3000;
constexpr UINT kPollWatchedMs = 5000;
// Changes come in bursts (a save is a temporary file, a rename and a lock): one look after.
constexpr UINT kSoonMs = 100;
// A look that was dropped (the writer stopped for a close the user called off) is given up.
constexpr ULONGLONG kLookGivenUpMs = 15000;

std::u16string NameOf(const std::u16string& path) {
  return path.substr(path.find_last_of(u"\\/") + 1);
}

}  // namespace

struct SharedFolder::Mailbox {
  std::mutex lock;
  std::optional<app::LookResult> result;
};

SharedFolder::SharedFolder(const Context& context)
    : context_(context),
      sync_(context.model, context.shared, context.folder, context.services),
      mailbox_(std::make_shared<Mailbox>()) {
  context_.autoSave.OnOutcome([this](const app::WriteOutcome& outcome) { OnOutcome(outcome); });
}

SharedFolder::~SharedFolder() {
  Stop();
}

void SharedFolder::Start(HWND window, Hooks hooks) {
  window_ = window;
  hooks_ = std::move(hooks);
  const bool watched = watch_.Start(ToWide(context_.folder.Dir()), window_, kMsgFolderChanged);
  SetTimer(window_, kTimerFolderPoll, watched ? kPollWatchedMs : kPollMs, nullptr);
}

void SharedFolder::Stop() {
  if (window_ != nullptr) {
    KillTimer(window_, kTimerFolderPoll);
    KillTimer(window_, kTimerFolderSoon);
  }
  watch_.Stop();
}

bool SharedFolder::OnTimer(UINT_PTR id) {
  if (id == kTimerFolderSoon) {
    KillTimer(window_, kTimerFolderSoon);
    Look();
    return true;
  }
  if (id == kTimerFolderPoll) {
    Look();
    return true;
  }
  return false;
}

bool SharedFolder::OnMessage(UINT message) {
  if (message == kMsgFolderChanged) {
    watch_.Taken();
    LookSoon();
    return true;
  }
  if (message == kMsgFolderLooked) {
    std::optional<app::LookResult> result;
    {
      const std::lock_guard guard(mailbox_->lock);
      result = std::exchange(mailbox_->result, std::nullopt);
    }
    if (result) {
      TakeIn(std::move(*result));
    }
    return true;
  }
  return false;
}

void SharedFolder::LookSoon() {
  SetTimer(window_, kTimerFolderSoon, kSoonMs, nullptr);
}

void SharedFolder::Look() {
  const ULONGLONG now = GetTickCount64();
  if (lookQueuedAt_ != 0 && now - lookQueuedAt_ < kLookGivenUpMs) {
    lookAgain_ = true;
    return;
  }
  lookQueuedAt_ = now;
  context_.writer.QueueTask([mailbox = mailbox_, request = sync_.Request(),
                             files = &context_.platformFiles, services = &context_.services,
                             lock = context_.lock, timestamp = context_.timestamp,
                             window = window_] {
    app::LookResult result = app::LookAt(*files, *services, request, lock, timestamp);
    {
      const std::lock_guard guard(mailbox->lock);
      mailbox->result = std::move(result);
    }
    PostMessageW(window, kMsgFolderLooked, 0, 0);
  });
}

void SharedFolder::TakeIn(app::LookResult result) {
  lookQueuedAt_ = 0;
  const app::TakenIn taken = sync_.TakeIn(
      std::move(result),
      [this](std::size_t slot) { return hooks_.editingFilter && hooks_.editingFilter(slot); },
      context_.autoSave.Changed());
  Show(taken);
  if (taken.lookAgain || lookAgain_) {
    lookAgain_ = false;
    LookSoon();
  }
}

void SharedFolder::Show(const app::TakenIn& taken) {
  for (const app::ListTakenIn& list : taken.lists) {
    ShowTakenIn(list);
  }
  if (taken.memo) {
    TakeInMemo(*taken.memo);
  }
  for (const std::u16string& kept : taken.keptMemos) {
    TellKeptMemo(kept);
  }
  for (const std::u16string& kept : context_.shared.TakeKeptMemos()) {
    TellKeptMemo(kept);
  }
  RemoveCopies();
}

void SharedFolder::ShowTakenIn(const app::ListTakenIn& list) {
  const bool unicode = list.list.unicode;
  // A list not shown is drawn from the model when it is switched to.
  if (!unicode && context_.model.lists.AnsiShown() != list.list.slot) {
    return;
  }
  const lists::ViewState before = context_.views.ReadItems(unicode);
  const lists::ViewState after = lists::AfterTakeIn(before, list.removedAscending, list.inserted,
                                                    context_.model.lists.ItemCount(list.list));
  context_.views.ShowTakenIn(unicode, after);
}

void SharedFolder::TakeInMemo(const app::LinesFound& found) {
  MemoWindow* memo = hooks_.memo;
  if (memo == nullptr) {
    return;
  }
  if (memo->HasUnsavedTyping()) {
    // Neither text may be lost: the other one is kept beside this one's, which is written over
    // it when it is saved.
    const std::u16string kept =
        sync::KeptMemoPath(context_.platformFiles, context_.folder.Dir(), context_.timestamp());
    try {
      context_.platformFiles.WriteAll(kept, found.content);
    } catch (const io::AppError&) {
      return;  // the next look tries again
    }
    TellKeptMemo(kept);
  } else {
    memo->TakeOver(found.content);
  }
  context_.shared.Adopt(found.path, found.from, found.found, found.content, true);
}

void SharedFolder::TellKeptMemo(const std::u16string& kept) {
  if (hooks_.notify) {
    hooks_.notify(u"メモ", u"ほかの PC で変更されたメモを " + NameOf(kept) +
                               u" に残しました。このメモは書き込み中の内容のままです。");
  }
}

void SharedFolder::RemoveCopies() {
  std::vector<std::u16string> copies = sync_.TakeCopiesDone();
  if (copies.empty()) {
    return;
  }
  context_.writer.QueueTask([files = &context_.platformFiles, copies = std::move(copies)] {
    for (const std::u16string& copy : copies) {
      files->Remove(copy);
    }
  });
}

void SharedFolder::OnOutcome(const app::WriteOutcome& outcome) {
  if (outcome.changedElsewhere) {
    LookSoon();
  } else if (!outcome.failure) {
    sync_.Written(outcome);
    RemoveCopies();
  }
}

void SharedFolder::TakeInNow(const std::u16string& path) {
  Show(sync_.TakeInNow(context_.platformFiles, path, context_.autoSave.Changed()));
}

}  // namespace pellix::win32
