"""Editing the lists by hand, as a user does with the keys and the mouse, and what the files
hold after a close."""

from __future__ import annotations

from harness import Desktop, wait_until
from pellix import HISTORY, RECORDS, Pellix, write_list_file

DAT_MARKER = "][)"


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
