"""The help page is shipped beside the program and opened from the tray menu. That it names every
menu item and dialog button is checked by the unit tests, against the program's own tables."""

from __future__ import annotations

import subprocess

from harness import Desktop, wait_until
from harness.wine import wine_loader, windows_path
from boxes import close_box, message_box
from ids import CMD_HELP, WM_COMMAND
from pellix import Pellix


def test_help_with_no_program_for_the_page_names_the_page(desktop: Desktop):
    """The test prefix has no program for .html files: instead of nothing, a message names the
    page so that the user can open it by hand."""
    page = desktop.pellix_exe.parent / "pellixhelp.html"
    (desktop.app_dir / "pellixhelp.html").write_bytes(page.read_bytes())
    app = Pellix.start(desktop)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_HELP, 0)
    box, texts = message_box(desktop, app)
    said = "\n".join(texts)
    assert "ヘルプのページを開くプログラムが見つかりません" in said, said
    assert windows_path(desktop.app_dir / "pellixhelp.html").lower() in said.lower(), said
    close_box(desktop, app, box)
    app.close()


# Kept last in the file: it starts the session's X server, and a test after it that needs none
# would be the one still running when the session checks that nothing of it is left.
def test_the_help_item_opens_the_help_page_beside_the_program(desktop: Desktop):
    page = desktop.pellix_exe.parent / "pellixhelp.html"
    assert page.exists(), "the build puts the help page beside pellix.exe"
    (desktop.app_dir / "pellixhelp.html").write_bytes(page.read_bytes())
    opened = desktop.app_dir.parent / "opened.html"
    # Stand in for the browser: whatever opens .html files copies the file it was given.
    command = f'C:\\windows\\system32\\cmd.exe /c copy "%1" "{windows_path(opened)}"'
    for key, value in ((r"HKCR\.html", "pellixtest.html"),
                       (r"HKCR\pellixtest.html\shell\open\command", command)):
        subprocess.run([wine_loader(), "reg", "add", key, "/ve", "/d", value, "/f"],
                       env=desktop.wine.env, timeout=60, check=True, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    app = Pellix.start(desktop)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_HELP, 0)
    wait_until(lambda: opened.exists() and opened.read_bytes() == page.read_bytes(), 20,
               "the help page to be opened")
    text = page.read_bytes().decode("utf-8")
    assert "<meta charset=\"utf-8\">" in text.lower() and "ホットキー" in text
    app.close()

