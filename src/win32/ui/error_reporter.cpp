#include "win32/ui/error_reporter.h"

#include <optional>

#include "core/io/errors.h"
#include "core/text/utf.h"
#include "win32/platform/wide_string.h"

namespace pellix::win32 {

std::wstring ErrorMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const io::AppError& appError) {
    return ToWide(appError.Message());
  } catch (const std::exception& other) {
    return ToWide(text::Utf8ToUtf16(other.what()));
  } catch (...) {
    return L"予期しないエラーが発生しました";
  }
}

void ShowStopBox(HWND owner, const std::wstring& message) {
  MessageBoxW(owner, message.c_str(), kAppTitle, MB_OK | MB_ICONSTOP | MB_TOPMOST);
}

void ErrorReporter::Report(const std::exception_ptr& error) noexcept {
  try {
    // A clipboard error is another program holding the clipboard: nothing for the user to see.
    if (startupCompleted_ && io::IsClipboardError(error)) {
      return;
    }
    if (!startupCompleted_) {
      startupFailed_ = true;
    }
    // A second error while the first one's box is open would stack boxes; one is enough.
    if (showing_) {
      return;
    }
    showing_ = true;
    std::optional<ModalLoops::Scope> scope;
    if (loops_ != nullptr) {
      scope.emplace(*loops_);
    }
    ShowStopBox(nullptr, ErrorMessage(error));
    showing_ = false;
    if (!startupCompleted_) {
      PostQuitMessage(1);
    }
  } catch (...) {
    showing_ = false;
  }
}

}  // namespace pellix::win32
