"""Editing the lists by hand, as a user does with the keys and the mouse, and what the files
hold after a close."""

from __future__ import annotations

import time

from harness import Desktop, wait_until
from pellix import HISTORY, RECORDS, WM_COMMAND, Pellix, write_list_file

DAT_MARKER = "][)"
CMD_DELETE = 1300
CMD_CLEAR_BACK_HALF = 1302
CMD_ITEM_UP = 1303
CMD_ITEM_DOWN = 1304
CMD_EXPAND = 1305
CMD_SORT = 1306


def list_file(desktop: Desktop, name: str) -> list[str]:
    data = (desktop.app_dir / f"{name}.dat").read_bytes().decode("cp932")
    return [line[len(DAT_MARKER):] for line in data.split("\r\n") if line.startswith(DAT_MARKER)]


def keys(desktop: Desktop, app: Pellix, *chords: str) -> None:
    desktop.focus(app.hwnd)
    desktop.tool("keys", *chords)


def test_del_and_ctrl_del_respect_the_lock(desktop: Desktop):
    """Del deletes the selected items and Ctrl+Del clears the list, but not while the list is
    locked (Ctrl+L, the window turns red); the file written at the close holds the result."""
    write_list_file(desktop.app_dir, HISTORY, ["a", "b", "c", "d"])
    write_list_file(desktop.app_dir, RECORDS, ["kept"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 1, 2)
    keys(desktop, app, "delete")
    wait_until(lambda: app.items() == ["a", "d"], 10, "Del to delete the selected items")

    keys(desktop, app, "ctrl+l")  # locked
    keys(desktop, app, "delete")
    keys(desktop, app, "ctrl+delete")
    keys(desktop, app, "ctrl+l")  # unlocked again
    # Moving is not locked: once "d" has moved up, the locked keys before it were handled.
    keys(desktop, app, "ctrl+u")
    wait_until(lambda: app.items() == ["d", "a"], 10, "Ctrl+U to move the current item up")
    keys(desktop, app, "ctrl+delete")
    wait_until(lambda: app.items() == [], 10, "Ctrl+Del to clear the unlocked list")
    app.close()
    assert list_file(desktop, HISTORY) == []
    assert list_file(desktop, RECORDS) == ["kept"]


def test_commands_on_a_list_of_100000_items_stay_quick(desktop: Desktop):
    """On 100,000 items (about 10 MB) every command gives its result at once; the time from the
    command to the list's new count being readable is printed (pxtool's own call included)."""
    items = [f"項目 {i:06d} " + "abcdefghij" * (i % 17) + ("\r\n2行目" if i % 10 == 0 else "")
             for i in range(100_000)]
    write_list_file(desktop.app_dir, HISTORY, items)
    app = Pellix.start(desktop)
    wait_until(lambda: app.list_view(count=0)["count"] == 100_000, 30, "the big list shown")
    timings = {}

    def timed(name: str, command_id: int, count: int) -> None:
        started = time.monotonic()
        desktop.tool("post", app.hwnd, WM_COMMAND, command_id, 0)
        wait_until(lambda: app.list_view(count=0)["count"] == count, 60, f"{name} to finish")
        timings[name] = time.monotonic() - started

    # 展開 of the 1,000 multi-line items among the first 10,000, all selected.
    desktop.tool("listview-select", app.listbox, *range(0, 10_000, 10))
    timed("expand 1,000 selected", CMD_EXPAND, 101_000)
    assert app.items(count=3) == [items[0].split("\r\n")[0], "2行目", items[1]]
    timed("sort", CMD_SORT, 101_000)
    assert app.items(count=1) == ["2行目"]  # the 10,000 second lines sort first
    timed("clear the back half", CMD_CLEAR_BACK_HALF, 50_500)
    started = time.monotonic()
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_ITEM_DOWN, 0)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_ITEM_UP, 0)
    app.list_view(count=1)
    timings["move down and up"] = time.monotonic() - started
    kept = app.items(count=1)
    desktop.tool("listview-select", app.listbox, 0, -1)  # the first current, then every item
    timed("delete 50,500 selected", CMD_DELETE, 0)
    print("\n[big list commands] " + ", ".join(f"{k}: {v:.2f} s" for k, v in timings.items()))
    app.close(timeout=30)
    assert list_file(desktop, HISTORY) == [] and kept == ["2行目"]
