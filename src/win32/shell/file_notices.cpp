#include "win32/shell/file_notices.h"

#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/error_reporter.h"

namespace pellix::win32 {

void FileNotices::Queue(std::u16string notice) {
  notices_.push_back(std::move(notice));
  PostMessageW(window_, kMsgFileNotice, 0, 0);
}

void FileNotices::QueuePartlyRead(lists::ListStore& store) {
  for (const lists::PartlyRead& read : store.TakePartlyRead()) {
    Queue(u"ファイル " + read.path +
          u" は最後まで読み込めませんでした。\r\n読み込めたところまでを開き、元のファイルを " +
          read.kept + u" として残しました。");
  }
}

void FileNotices::ShowNext() {
  if (const std::optional<std::u16string> notice = autoSave_.TakeNotice()) {
    ShowBox(loops_, window_, ToWide(*notice).c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
  } else if (!notices_.empty()) {
    const std::u16string notice = std::move(notices_.front());
    notices_.erase(notices_.begin());
    ShowBox(loops_, window_, ToWide(notice).c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
  }
}

}  // namespace pellix::win32
