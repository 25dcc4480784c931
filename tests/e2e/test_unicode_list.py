"""The Unicode list's own commands: 削除, 後ろ半分をクリア and 全てクリア, and what the file holds
after them."""

from __future__ import annotations

from harness import Desktop, wait_until
from files import list_file, unicode_file
from gestures import keys, right_click_menu, row_centre
from pellix import HISTORY, Pellix, show_unicode_list, write_list_file, write_unicode_list_file


def test_delete_clear_back_half_and_clear_all(desktop: Desktop):
    """Del on the last item selects the new last one; 後ろ半分をクリア on four items leaves the two
    newest; Ctrl+Del clears the list. The cleared list is written at the close, so the items stay
    gone at the next start."""
    write_unicode_list_file(desktop.app_dir, ["ü1", "ü2", "ü3", "ü4", "ü5"])
    app = Pellix.start(desktop)
    show_unicode_list(app)
    desktop.tool("listview-select", app.tnt, 4)
    keys(desktop, app, "delete")
    wait_until(lambda: app.items("unicode") == ["ü1", "ü2", "ü3", "ü4"], 10, "Del on the last item")
    view = app.list_view("unicode")
    assert (view["selected"], view["focused"]) == ([3], 3), "the new last item is not selected"

    # The menu: キー入力で貼り付け, a separator, 削除, a separator, 後ろ半分をクリア, 全てクリア.
    right_click_menu(desktop, app, row_centre(desktop, app.tnt, 0), "down", "down", "down",
                     "Return")
    wait_until(lambda: app.items("unicode") == ["ü1", "ü2"], 10, "後ろ半分をクリア on four items")
    view = app.list_view("unicode")
    assert 1 in view["selected"] and view["focused"] == 1, "the last item left is not selected"

    keys(desktop, app, "ctrl+delete")
    wait_until(lambda: app.items("unicode") == [], 10, "Ctrl+Del to clear the Unicode list")
    app.close()
    assert unicode_file(desktop) == []

    app = Pellix.start(desktop)
    show_unicode_list(app)
    assert app.items("unicode") == [], "the cleared items came back at the next start"
    app.close()


def test_del_with_the_ordinary_list_in_use_deletes_from_it(desktop: Desktop):
    """With the ordinary list shown and in use, Del deletes its current item and leaves the
    Unicode list whole."""
    write_list_file(desktop.app_dir, HISTORY, ["a", "b"])
    write_unicode_list_file(desktop.app_dir, ["ü1", "ü2"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 0)
    keys(desktop, app, "delete")
    wait_until(lambda: app.items() == ["b"], 10, "Del to delete from the ordinary list")
    show_unicode_list(app)
    assert app.items("unicode") == ["ü1", "ü2"]
    app.close()
    assert list_file(desktop, HISTORY) == ["b"]
    assert unicode_file(desktop) == ["ü1", "ü2"]
