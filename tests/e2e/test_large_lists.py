"""A history of hundreds of thousands of items: pellix shows its window before it has read the
large lists, and nothing copied meanwhile is lost or put below them."""

from __future__ import annotations

from harness import Desktop, wait_until
from clipboard import copy
from files import base_lines, list_file, write_filter, write_ini
from pellix import HISTORY, RECORDS, Pellix, write_list_file


def test_a_large_list_read_while_pellix_runs_keeps_what_was_copied_meanwhile(desktop: Desktop):
    """The shown list (about 20 MB) and another large one are read after the window shows; a copy
    made at once goes into both on top of what their files hold, shown and saved so."""
    count = 200_000
    items = [f"大きな履歴の項目 {i} " + "abcdefghij" * (i % 17) for i in range(count)]
    for name in (HISTORY, RECORDS):
        write_filter(desktop.app_dir, name, type="1")
        write_list_file(desktop.app_dir, name, items)
    write_filter(desktop.app_dir, "unicode", type="0")
    write_ini(desktop, base_lines())
    app = Pellix.start(desktop, timeout=120)
    copy(desktop, "読み込み中のコピー")
    wait_until(lambda: app.list_view(count=0)["count"] == count + 1, 120,
               "the shown list with all its items and the copy")
    assert app.items(count=3) == ["読み込み中のコピー"] + items[:2]
    assert desktop.text(app.hwnd) == "ぺりくす T&K"
    app.pick_list(1)
    wait_until(lambda: app.list_view(count=0)["count"] == count + 1, 60,
               "the other large list, whole, once picked")
    assert app.items(count=2) == ["読み込み中のコピー", items[0]]
    app.close(timeout=120)
    for name in (HISTORY, RECORDS):
        saved = list_file(desktop, name)
        assert len(saved) == count + 1 and saved[0] == "読み込み中のコピー", name
        assert saved[1:] == items, name
