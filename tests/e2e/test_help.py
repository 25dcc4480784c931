"""The help page is shipped beside the program and opened from the tray menu."""

from __future__ import annotations

import html
import re
import subprocess
from pathlib import Path

from harness import Desktop, wait_until
from harness.wine import wine_loader, windows_path
from boxes import close_box, message_box
from ids import CMD_HELP, WM_COMMAND
from pellix import Pellix

REPO = Path(__file__).resolve().parents[2]
HELP_PAGE = REPO / "src/win32/shell/res/pellixhelp.html"


def menu_captions() -> dict[str, str]:
    """The caption of every menu item the program builds, read from its sources: the items the
    menu layouts name (Item(kCmd…)) with the captions their commands are registered under, the
    sub-menus, and the paste option and hotkey items the tray menu makes from its tables."""
    sources = {path.name: path.read_text(encoding="utf-8")
               for path in (REPO / "src" / "win32").rglob("*.cpp")}
    everything = "\n".join(sources.values())
    registered = dict(re.findall(r'(?:Command\{|conversion\()\s*(kCmd\w+),\s*L"([^"]+)"',
                                 everything))
    captions = {}
    for command in set(re.findall(r"\bItem\((kCmd\w+)\)", everything)):
        assert command in registered, f"{command} is in a menu but has no caption we can find"
        captions[registered[command]] = command
    for caption in re.findall(r'\bSubmenu\(L"([^"]+)"', everything):
        captions[caption] = "sub-menu"
    for table in ("kPasteOptions", "kHotkeyItems"):
        body = re.search(table + r" = \{(.*?)\};", sources["tray_controller.cpp"], re.S)
        assert body, table
        for caption in re.findall(r'L"([^"]+)"', body.group(1)):
            captions[caption] = table
    return captions


def test_the_help_page_names_every_menu_item_and_dialog_button():
    page = html.unescape(re.sub(r"<[^>]+>", "", HELP_PAGE.read_text(encoding="utf-8")))
    captions = menu_captions()
    assert {"終了", "ヘルプ", "コピー（他アプリへの貼り付け）", "全てクリア", "リダイレクト先のURLを抜き出し",
            "Ctrl+Alt", "変換"} <= captions.keys()
    dialogs = (REPO / "src/win32/dialogs/filter_list_dialog.cpp").read_text(encoding="utf-8")
    buttons = re.findall(r'\bbutton\(L"([^"]+)"', dialogs)
    assert "読み込み" in buttons
    missing = [c for c in [*captions, *buttons] if c not in page]
    assert not missing, f"not in pellixhelp.html: {missing}"

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

