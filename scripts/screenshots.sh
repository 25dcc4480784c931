#!/usr/bin/env bash
# Makes the README's pictures (docs/images/*.png) from the real program: builds pellix and the
# end-to-end tools, then runs pellix under Wine on a private Xvfb in a private Wine prefix with the
# Japanese locale, copies a few Japanese texts with xclip, and photographs the main window, the
# tray menu, the memo beside the list and the filter dialogs. Nothing is drawn by hand: run it
# again whenever the windows change, and commit the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target pellix pxtool pxtestwin

# Debian's python3, which has python3-xlib and pytest, whatever python3 comes first on the PATH.
PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 tools/screenshots.py docs/images \
  build/mingw/src/pellix.exe build/mingw/tests/e2e/pxtool.exe build/mingw/tests/e2e/pxtestwin.exe
