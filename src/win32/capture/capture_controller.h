#pragma once
// Taking in what other programs copy: membership of the viewer chain, the read of each change
// (again a little later while another program holds the clipboard), and the hand-over to the
// filters.

#include <windows.h>

#include <optional>
#include <string>

#include "core/app/model.h"
#include "core/app/window_rules.h"
#include "core/text/text_services.h"
#include "win32/capture/viewer_chain.h"
#include "win32/ui/command_table.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/list_views.h"

namespace pellix::win32 {

class CaptureController {
 public:
  CaptureController(app::Model& model, ListViews& lists, const text::TextServices& services)
      : model_(model), lists_(lists), services_(services) {}

  void Attach(HWND window);
  void AddCommands(CommandTable& commands);

  void Join() { chain_.Join(); }
  void Leave() { chain_.Leave(); }

  // WM_DRAWCLIPBOARD and WM_CHANGECBCHAIN, the viewer chain's messages.
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHANGECBCHAIN) {
      return OnChangeChain(wParam, lParam);
    }
    OnDrawClipboard(wParam, lParam);
    return 0;
  }
  void OnDrawClipboard(WPARAM wParam, LPARAM lParam);
  LRESULT OnChangeChain(WPARAM removed, LPARAM next) { return chain_.OnChangeChain(removed, next); }
  bool OnTimer(UINT_PTR id);

  // Puts us back at the front of the viewer chain when another viewer displaced us, taking in
  // what the clipboard holds then.
  void RestoreChain();

 private:
  // Takes in what the clipboard holds now; false when another program still holds it open.
  bool TryCapture();
  // What a capture put into the store, shown.
  void Show(const app::CaptureOutcome& outcome);
  // A clipboard error shows nothing; it only costs our place in the chain, which is restored.
  void RecoverFromClipboardError();

  app::Model& model_;
  ListViews& lists_;
  const text::TextServices& services_;
  HWND window_ = nullptr;
  ViewerChain chain_;
  int retriesLeft_ = 0;  // for a change whose clipboard another program held
};

}  // namespace pellix::win32
