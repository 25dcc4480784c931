"""pellix as the tests see it: its windows, its controls and the files beside it."""

from __future__ import annotations

import re
from pathlib import Path

from harness import Desktop, wait_until
from harness.wine import WinProcess
from ids import (BM_CLICK, CBN_SELCHANGE, CB_SETCURSEL, ID_COMBOBOX, ID_DROPBOX, ID_LISTBOX,
                 ID_MBOX, ID_TNTLISTBOX1, WM_CLOSE, WM_COMMAND)


HISTORY = "履歴"
RECORDS = "記録"
UNICODE_LIST = 2  # the selector's third name
REPO = Path(__file__).resolve().parents[2]


def project_version() -> str:
    """The version CMakeLists.txt gives the project, which every place pellix shows it follows."""
    text = (REPO / "CMakeLists.txt").read_text(encoding="utf-8")
    found = re.search(r"project\(pellix VERSION (\d+)\.(\d+)\b", text)
    assert found, "project(pellix VERSION major.minor ...) in CMakeLists.txt"
    return f"{found.group(1)}.{found.group(2)}"


def write_list_file(folder: Path, name: str, items: list[str]) -> None:
    """An ordinary list file, as pellix writes it: marker, text, CR LF, in code page 932."""
    data = b"".join(b"][)" + item.encode("cp932") + b"\r\n" for item in items)
    (folder / f"{name}.dat").write_bytes(data)


def write_unicode_list_file(folder: Path, items: list[str]) -> None:
    data = b"\xff\xfe" + "".join(item + "\r\n" for item in items).encode("utf-16-le")
    (folder / "unicode.dat").write_bytes(data)


def click_centre(desktop: Desktop, rect: dict) -> None:
    """A real left click, through the X server, in the middle of a window's rectangle."""
    x = (rect["left"] + rect["right"]) // 2
    y = (rect["top"] + rect["bottom"]) // 2
    desktop.x.xdotool("mousemove", str(x), str(y), "click", "1")


class Pellix:
    """A running pellix and its main window's controls."""

    def __init__(self, desktop: Desktop, process: WinProcess, timeout: float = 30.0):
        self.desktop = desktop
        self.process = process
        self.main = process.wait_window(timeout=timeout, **{"class": "MainWindow"})
        self.hwnd = self.main["hwnd"]
        children = {c["id"]: c for c in desktop.tool("children", self.hwnd) if c["parent"] == self.hwnd}
        self.combo = children[ID_COMBOBOX]["hwnd"]
        self.listbox = children[ID_LISTBOX]["hwnd"]
        self.tnt = children[ID_TNTLISTBOX1]["hwnd"]
        self.dropbox = children[ID_DROPBOX]["hwnd"]

    @classmethod
    def start(cls, desktop: Desktop, timeout: float = 30.0) -> "Pellix":
        return cls(desktop, desktop.start_pellix(), timeout)

    def selector(self) -> dict:
        return self.desktop.tool("combobox", self.combo)

    def list_view(self, which: str = "ansi", count: int = 50) -> dict:
        hwnd = self.listbox if which == "ansi" else self.tnt
        return self.desktop.tool("listview", hwnd, "--count", count)

    def items(self, which: str = "ansi", count: int = 50) -> list[str]:
        return [item["text"] for item in self.list_view(which, count)["items"]]

    def control(self, control_id: int) -> dict:
        """One of the main window's own controls, as pxtool's children reports it."""
        return next(c for c in self.desktop.tool("children", self.hwnd)
                    if c["parent"] == self.hwnd and c["id"] == control_id)

    def visible(self, hwnd: int) -> bool:
        return next(c for c in self.desktop.tool("children", self.hwnd) if c["hwnd"] == hwnd)["visible"]

    def visible_window(self) -> bool:
        return next(w for w in self.process.windows() if w["hwnd"] == self.hwnd)["visible"]

    def pick_list(self, index: int) -> None:
        """What the selector reports when the user picks a name with it closed."""
        self.desktop.tool("send", self.combo, CB_SETCURSEL, index, 0)
        self.desktop.tool("send", self.hwnd, WM_COMMAND, (CBN_SELCHANGE << 16) | ID_COMBOBOX,
                          self.combo)

    def command(self, command_id: int) -> None:
        self.desktop.tool("send", self.hwnd, WM_COMMAND, command_id, 0)

    def show_memo(self) -> dict:
        """A click on "mm" with the memo hidden; the memo window, made when first shown, once it
        is shown."""
        self.desktop.tool("post", self.control(ID_MBOX)["hwnd"], BM_CLICK, 0, 0)
        return self.process.wait_window(**{"class": "MemoWindow"})

    def close(self, timeout: float = 15.0) -> None:
        """The close box: WM_CLOSE, then the process must end by itself."""
        self.desktop.tool("post", self.hwnd, WM_CLOSE, 0, 0)
        wait_until(lambda: not self.process.running(), timeout, "pellix to end after WM_CLOSE")


def wait_items(app: Pellix, expected: list[str], what: str, which: str = "ansi") -> None:
    seen: list[list[str]] = []

    def matches() -> bool:
        seen[:] = [app.items(which)]
        return seen[0] == expected
    try:
        wait_until(matches, 15, what)
    except AssertionError as error:
        raise AssertionError(f"{error}; the list held {seen[0] if seen else None!r}") from None


def show_unicode_list(app: Pellix) -> None:
    app.pick_list(UNICODE_LIST)
    wait_until(lambda: app.visible(app.tnt), 10, "the Unicode list shown")
