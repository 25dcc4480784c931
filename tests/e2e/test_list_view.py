"""How the lists look: scroll bars only where the items need them."""

from __future__ import annotations

from harness import Desktop, wait_until
from ids import WS_HSCROLL, WS_VSCROLL
from pellix import HISTORY, RECORDS, Pellix, write_list_file, write_unicode_list_file

WIDE = "wide " * 60


def scroll_bars(desktop: Desktop, app: Pellix, hwnd: int) -> dict[str, bool]:
    """The scroll bars a list shows (a list view keeps its style bits in step with them)."""
    style = next(c for c in desktop.tool("children", app.hwnd) if c["hwnd"] == hwnd)["style"]
    return {"vertical": bool(style & WS_VSCROLL), "horizontal": bool(style & WS_HSCROLL)}


def test_short_items_need_no_horizontal_scroll_bar(desktop: Desktop):
    """The window opens on an empty list. Switched to a list of forty short items, it shows a
    vertical scroll bar to reach them all, and no horizontal one: every item fits the width."""
    write_list_file(desktop.app_dir, HISTORY, [])
    write_list_file(desktop.app_dir, RECORDS, [f"{k:03d}" for k in range(40)])
    app = Pellix.start(desktop)
    assert app.list_view()["count"] == 0
    app.pick_list(1)
    wait_until(lambda: app.list_view()["count"] == 40, 10, "the forty items")
    bars = scroll_bars(desktop, app, app.listbox)
    assert bars == {"vertical": True, "horizontal": False}, f"the list shows the scroll bars {bars}"
    app.close()


def test_an_item_wider_than_the_list_can_be_scrolled_to(desktop: Desktop):
    """A list holding one item wider than the list shows a horizontal scroll bar to reach the
    rest of it: the ordinary list and the Unicode list alike."""
    write_list_file(desktop.app_dir, HISTORY, [])
    write_list_file(desktop.app_dir, RECORDS, [WIDE])
    write_unicode_list_file(desktop.app_dir, [WIDE])
    app = Pellix.start(desktop)
    for index, hwnd, name in ((1, app.listbox, "ordinary"), (2, app.tnt, "Unicode")):
        app.pick_list(index)
        wait_until(lambda: app.visible(hwnd), 10, f"the {name} list shown")
        wait_until(lambda: scroll_bars(desktop, app, hwnd)["horizontal"], 10,
                   f"a horizontal scroll bar in the {name} list for the wide item")
    app.close()
