#pragma once
// Brings the paste target forward and types into it once it is in front and the user's fingers
// are off the modifiers: Ctrl+V (and Tab), or a text a slice at a time. Driven by a timer of the
// main window, never by a loop inside a handler, so the window keeps answering throughout and
// nothing the user does meanwhile can start a second paste.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/paste/integrity.h"
#include "core/paste/key_gate.h"
#include "core/paste/typed_text.h"

namespace pellix::win32 {

class KeyDelivery {
 public:
  struct Hooks {
    // The run is over: delivered or not, and how much of a text was typed.
    std::function<void(paste::Outcome outcome, std::size_t typed, std::size_t total)> finished;
    // A slice of a text went.
    std::function<void(std::size_t typed, std::size_t total)> progress;
  };

  explicit KeyDelivery(const paste::ProcessIntegrity& integrity) : integrity_(integrity) {}

  void Attach(HWND window, Hooks hooks);
  bool Busy() const { return target_ != nullptr; }

  // Ctrl+V into `target`'s top-level window, and a Tab with `tab`.
  void Paste(HWND target, bool tab);
  // The text typed as keys (a Tab after it with `tab`).
  void Type(HWND target, const std::u16string& text, bool tab);

  bool OnTimer(UINT_PTR id);
  void Stop();

 private:
  void Begin(HWND target);
  void Look();
  void Deliver();
  void Finish(paste::Outcome outcome);

  const paste::ProcessIntegrity& integrity_;
  HWND window_ = nullptr;
  Hooks hooks_;
  HWND target_ = nullptr;  // top-level; set while a run is under way
  bool tab_ = false;
  std::optional<paste::TypedText> text_;   // a typed paste's
  std::optional<paste::TypingPace> pace_;  // from its first character on
  std::optional<paste::KeyGate> gate_;
};

}  // namespace pellix::win32
