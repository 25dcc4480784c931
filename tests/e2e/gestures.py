"""The user's keys and mouse on pellix's windows: real X input, through xdotool or pxtool."""

from __future__ import annotations

from harness import Desktop, wait_until
from ids import ID_SEARCH_FIELD
from pellix import Pellix


def keys(desktop: Desktop, app: Pellix, *chords: str) -> None:
    desktop.focus(app.hwnd)
    desktop.tool("keys", *chords)


def row_centre(desktop: Desktop, listview: int, index: int) -> tuple[int, int]:
    """The middle of a row's left part, on the screen (rows are as wide as the widest item)."""
    rect = desktop.tool("listview-rows", listview, index)["rows"][0]
    return rect["left"] + 20, (rect["top"] + rect["bottom"]) // 2


def drag(desktop: Desktop, start: tuple[int, int], end: tuple[int, int], steps: int = 6) -> None:
    """Left button pressed on `start`, the pointer moved there in steps, released on `end`."""
    x = desktop.x
    x.xdotool("mousemove", str(start[0]), str(start[1]), "mousedown", "1")
    for step in range(1, steps + 1):
        x.xdotool("mousemove", str(start[0] + (end[0] - start[0]) * step // steps),
                  str(start[1] + (end[1] - start[1]) * step // steps))
    x.xdotool("mouseup", "1")


def menu_open(desktop: Desktop) -> bool:
    return any(w["class"] == "#32768" and w["visible"] for w in desktop.tool("windows"))


def right_click_menu(desktop: Desktop, app: Pellix, point: tuple[int, int], *chords: str) -> None:
    """A right-click at `point` opens the list's menu; the chords pick an entry in it. Returns once
    the command the entry runs (if any) is done: the list view answers only after it."""
    desktop.focus(app.hwnd)
    desktop.x.xdotool("mousemove", str(point[0]), str(point[1]), "click", "3")
    wait_until(lambda: menu_open(desktop), 10, "the list's menu to open")
    desktop.tool("keys", *chords)
    wait_until(lambda: not menu_open(desktop), 10, "the menu to close")


def search_field(desktop: Desktop, app: Pellix) -> dict:
    return next(c for c in desktop.tool("children", app.hwnd) if c["id"] == ID_SEARCH_FIELD)


def open_search(desktop: Desktop, app: Pellix) -> int:
    """Ctrl+F in the main window; the field opens with the keyboard in it."""
    desktop.focus(app.hwnd)
    desktop.tool("keys", "ctrl+f")
    wait_until(lambda: search_field(desktop, app)["visible"], 10, "the search field to open")
    field = search_field(desktop, app)["hwnd"]
    return field
