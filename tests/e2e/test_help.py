"""The help page is shipped beside the program and opened from the tray menu."""

from __future__ import annotations

import subprocess

from harness import Desktop, wait_until
from harness.wine import wine_loader, windows_path
from pellix import Pellix

CMD_HELP = 1034


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
    desktop.tool("post", app.hwnd, 0x0111, CMD_HELP, 0)
    wait_until(lambda: opened.exists() and opened.read_bytes() == page.read_bytes(), 20,
               "the help page to be opened")
    text = page.read_bytes().decode("utf-8")
    assert "<meta charset=\"utf-8\">" in text.lower() and "ホットキー" in text
    app.close()
