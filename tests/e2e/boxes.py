"""pellix's message boxes, its input dialog, its edit box and its about box, found and answered
as a user does."""

from __future__ import annotations

from typing import Callable

from harness import Desktop, wait_until
from ids import (BM_CLICK, CMD_HOTKEY_FIRST, EDIT_BOX_FIELD, IDOK, TRAY_CALLBACK, WM_CLOSE,
                 WM_COMMAND, WM_RBUTTONDOWN)
from gestures import keys
from pellix import Pellix


def visible_window(app: Pellix, class_name: str) -> dict | None:
    return next((w for w in app.process.windows()
                 if w["class"] == class_name and w["visible"]), None)


def message_box(desktop: Desktop, app: Pellix) -> tuple[int, list[str]]:
    box = wait_until(lambda: next((w for w in app.process.windows()
                                   if w["class"] == "#32770" and w["visible"]), None),
                     10, "a message box")
    return box["hwnd"], [c["text"] for c in desktop.tool("children", box["hwnd"])]


def close_box(desktop: Desktop, app: Pellix, hwnd: int) -> None:
    desktop.tool("post", hwnd, WM_CLOSE, 0, 0)
    wait_until(lambda: not any(w["hwnd"] == hwnd and w["visible"]
                               for w in app.process.windows()), 10, "the box to close")


def answer_input_dialog(desktop: Desktop, app: Pellix, text: str) -> None:
    """The hotkey's input dialog, answered with `text` and OK."""
    dialog = wait_until(lambda: next((w for w in app.process.windows()
                                      if w["class"] == "InputDialog" and w["visible"]), None),
                        10, "the input dialog")
    assert dialog["title"] == "Hotkey"
    prompts = [c["text"] for c in desktop.tool("children", dialog["hwnd"])]
    assert "使用するアルファベット（半角）" in prompts
    desktop.focus(dialog["hwnd"])
    desktop.tool("type", text)
    ok = next(c for c in desktop.tool("children", dialog["hwnd"]) if c["id"] == IDOK)
    desktop.tool("post", ok["hwnd"], BM_CLICK, 0, 0)


def change_hotkey(desktop: Desktop, app: Pellix, position: int, text: str) -> list[str]:
    """The hotkey menu item at `position`, answered with `text`; returns the message shown."""
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_HOTKEY_FIRST + position, 0)
    answer_input_dialog(desktop, app, text)
    box, texts = message_box(desktop, app)
    close_box(desktop, app, box)
    return texts


def edit_box(app: Pellix) -> dict | None:
    """The edit box; None until it first opens, when it is made."""
    return next((w for w in app.process.windows() if w["class"] == "EditBox"), None)


def open_edit_box(desktop: Desktop, app: Pellix, index: int) -> int:
    """Ctrl+H on the item `index`; returns the box's field once the box is shown."""
    desktop.tool("listview-select", app.listbox, index)
    keys(desktop, app, "ctrl+h")
    box = wait_until(lambda: (box := edit_box(app)) is not None and box["visible"] and box, 10,
                     "the edit box")
    assert box["title"] == "編集ボックス"
    return next(c for c in desktop.tool("children", box["hwnd"])
                if c["id"] == EDIT_BOX_FIELD)["hwnd"]


def wait_edit_box_closed(app: Pellix) -> None:
    wait_until(lambda: not edit_box(app)["visible"], 10, "the edit box to close")


def open_about_box(desktop: Desktop, app: Pellix) -> Callable[[], None]:
    """The about box, opened from the tray menu; returns what closes it with its OK."""
    desktop.focus(app.hwnd)
    desktop.tool("post", app.hwnd, TRAY_CALLBACK, 0, WM_RBUTTONDOWN)

    def menu_open() -> bool:
        return any(w["class"] == "#32768" and w["visible"] for w in desktop.tool("windows"))

    def about() -> dict:
        # Nothing until it first opens, when it is made.
        return next((w for w in app.process.windows() if w["class"] == "AboutBox"), {})

    wait_until(menu_open, 10, "the tray menu")
    # From the bottom: 終了, Windows の起動時に開始, then バージョン情報, whose sub-menu
    # opening shows the box.
    desktop.tool("keys", "up", "up", "up", "right")
    wait_until(lambda: about().get("visible"), 10, "the about box")
    desktop.tool("keys", "esc", "esc")
    wait_until(lambda: not menu_open(), 10, "the menu to close")

    def close() -> None:
        ok = next(c for c in desktop.tool("children", about()["hwnd"]) if c["id"] == IDOK)
        desktop.tool("post", ok["hwnd"], BM_CLICK, 0, 0)
        wait_until(lambda: not about()["visible"], 10, "OK to hide the about box")
    return close
