#!/usr/bin/env python3
"""Takes the README's pictures from the real program: pellix under Wine on a private Xvfb, in a
private copy of the end-to-end tests' Wine prefix (Japanese locale, the Japanese UI fonts mapped
to IPA fonts), driven through the end-to-end harness. Run by scripts/screenshots.sh.

    screenshots.py OUT_DIR PELLIX_EXE PXTOOL_EXE PXTESTWIN_EXE

Writes main.png, tray-menu.png, memo.png, filter-list.png and filter-editor.png, each cropped to the windows it
shows.
"""

from __future__ import annotations

import os
import subprocess
import sys
import tempfile
import uuid
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import Desktop, procs, wait_until, wine  # noqa: E402
from harness.x11 import XServer, XTools  # noqa: E402
from pellix import HISTORY, RECORDS, WM_COMMAND, Pellix  # noqa: E402
from test_capture import copy, write_filter  # noqa: E402

TRAY_CALLBACK = 0x813B
WM_RBUTTONDOWN = 0x0204
BM_CLICK = 0x00F5
LB_SETCURSEL = 0x0186
CMD_FILTER_SETTINGS = 1031
ID_MBOX = 104
MARGIN = 6

ITEMS = [
    "お世話になっております。",
    "〒100-0001 東京都千代田区千代田1-1",
    "https://example.com/docs/pellix",
    "会議は15時から第2会議室で行います",
    "ぺりくす: クリップボードの履歴",
]
MEMO = "買い物メモ\r\n・牛乳\r\n・食パン\r\n"


def write_settings(app_dir: Path) -> None:
    lines = {"left": "360", "top": "160", "height": "260", "width": "330", "fontsize": "9",
             "fontcolor": "clWindowText", "sendtab": "0", "lock": "", "memo": "0", "trans": "0",
             "option": "0", "list0": HISTORY, "list1": RECORDS, "list2": "unicode", "view": "0",
             "fsmods": "2", "hotkey": "A"}
    text = "".join(f"{key}={value}\r\n" for key, value in lines.items())
    (app_dir / "pellix.ini").write_bytes(text.encode("cp932"))
    (app_dir / "memo.txt").write_bytes(MEMO.encode("cp932"))
    write_filter(app_dir, HISTORY, type="1", zen="1", exfrom0="（株）", exto0="株式会社")
    write_filter(app_dir, RECORDS, type="0")
    write_filter(app_dir, "unicode", type="0")


class Camera:
    def __init__(self, display: str, out_dir: Path):
        self.display = display
        self.out_dir = out_dir

    def shoot(self, name: str, *rects: dict) -> None:
        left = min(r["left"] for r in rects) - MARGIN
        top = min(r["top"] for r in rects) - MARGIN
        right = max(r["right"] for r in rects) + MARGIN
        bottom = max(r["bottom"] for r in rects) + MARGIN
        out = self.out_dir / name
        subprocess.run([sys.executable, str(REPO / "tools" / "xshot.py"), str(out), "--crop",
                        f"{left},{top},{right},{bottom}"],
                       env={"DISPLAY": self.display, "PATH": "/usr/bin:/bin"}, check=True,
                       timeout=60)
        print(f"wrote {out}")


def window(app: Pellix, class_name: str) -> dict | None:
    return next((w for w in app.process.windows() if w["class"] == class_name and w["visible"]),
                None)


def take(desktop: Desktop, camera: Camera) -> None:
    write_settings(desktop.app_dir)
    app = Pellix.start(desktop)
    for text in ITEMS:
        copy(desktop, text)
        wait_until(lambda: app.items()[:1] == [text], 15, f"{text} captured")
    desktop.focus(app.hwnd)
    main = next(w for w in app.process.windows() if w["hwnd"] == app.hwnd)
    camera.shoot("main.png", main["rect"])

    # The tray menu, opened as a right click on the icon opens it, beside the main window.
    rect = main["rect"]
    desktop.x.xdotool("mousemove", str(rect["right"] + 20), str(rect["top"] + 10))
    desktop.tool("post", app.hwnd, TRAY_CALLBACK, 0, WM_RBUTTONDOWN)

    def menu() -> dict | None:
        return next((w for w in desktop.tool("windows") if w["class"] == "#32768" and w["visible"]),
                    None)
    opened = wait_until(menu, 10, "the tray menu")
    camera.shoot("tray-menu.png", opened["rect"])
    desktop.tool("keys", "esc")
    wait_until(lambda: menu() is None, 10, "the tray menu to close")

    # The memo, docked to the right of the list.
    mbox = app.control(ID_MBOX)
    desktop.tool("post", mbox["hwnd"], BM_CLICK, 0, 0)
    memo = wait_until(lambda: window(app, "MemoWindow"), 10, "the memo window")
    wait_until(lambda: window(app, "MemoWindow")["rect"]["left"] == main["rect"]["right"] + 1, 10,
               "the memo docked")
    camera.shoot("memo.png", main["rect"], memo["rect"])
    desktop.tool("post", mbox["hwnd"], BM_CLICK, 0, 0)
    wait_until(lambda: window(app, "MemoWindow") is None, 10, "the memo hidden")

    # The filter list dialog and the editor of 履歴's filter.
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_FILTER_SETTINGS, 0)
    dialog = wait_until(lambda: window(app, "FilterListDialog"), 10, "the filter list dialog")
    listbox = desktop.child(dialog["hwnd"], "ListBox")["hwnd"]
    desktop.tool("send", listbox, LB_SETCURSEL, 0, 0)
    camera.shoot("filter-list.png", dialog["rect"])
    edit = next(c for c in desktop.tool("children", dialog["hwnd"]) if c["text"] == "編集")
    desktop.tool("post", edit["hwnd"], BM_CLICK, 0, 0)
    editor = wait_until(lambda: window(app, "FilterEditor"), 10, "the filter editor")
    camera.shoot("filter-editor.png", editor["rect"])


def main() -> int:
    out_dir, pellix_exe, pxtool, pxtestwin = (Path(a).resolve() for a in sys.argv[1:5])
    out_dir.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="pellix-shots-") as work_name:
        work = Path(work_name)
        marker = {procs.SESSION_MARKER: uuid.uuid4().hex}
        x_server = XServer(wine.base_env(marker), work)
        try:
            env = wine.base_env({**marker, "DISPLAY": x_server.display})
            cache_home = Path(os.environ.get("XDG_CACHE_HOME") or Path.home() / ".cache")
            cache = cache_home / "pellix" / "e2e-template"
            template = wine.ensure_template(cache, env, work)
            session = wine.WineSession(template, work / "wine", env, pxtool)
            xtools = XTools(env, work / "x")
            (work / "x").mkdir(exist_ok=True)
            app_dir = work / "app"
            app_dir.mkdir()
            try:
                take(Desktop(session, xtools, app_dir, pellix_exe, pxtestwin),
                     Camera(x_server.display, out_dir))
            finally:
                xtools.close()
                session.close()
        finally:
            x_server.stop()
            for pid in procs.marked_processes(procs.SESSION_MARKER, marker[procs.SESSION_MARKER]):
                procs.kill(pid)
    return 0


if __name__ == "__main__":
    sys.exit(main())
