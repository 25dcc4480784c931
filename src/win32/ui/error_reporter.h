#pragma once
// The one place errors end up: a stop box captioned with the program's title. An error during
// start-up ends the program before anything is written; after start-up the program keeps
// running with its lists intact, since the operation that failed changed nothing.

#include "win32/ui/modal_loops.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

inline constexpr wchar_t kAppTitle[] = L"ぺりくす T&K";

// The user's message for any exception.
std::wstring ErrorMessage(const std::exception_ptr& error);

class ErrorReporter final : public ErrorSink {
 public:
  void Report(const std::exception_ptr& error) noexcept override;

  // The stop box is one of the program's modal loops.
  void UseLoops(ModalLoops& loops) { loops_ = &loops; }
  void StartupCompleted() { startupCompleted_ = true; }
  bool StartupFailed() const { return startupFailed_; }

 private:
  bool startupCompleted_ = false;
  bool startupFailed_ = false;
  bool showing_ = false;
  ModalLoops* loops_ = nullptr;
};

void ShowStopBox(HWND owner, const std::wstring& message);

}  // namespace pellix::win32
