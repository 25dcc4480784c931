"""The edit box: an item of the list changed in a field of its own and written back, or a part
of it pasted into the program the user came from."""

from __future__ import annotations

from harness import Desktop, wait_until
from boxes import close_box, edit_box, message_box, open_edit_box, wait_edit_box_closed
from clipboard import copy
from files import list_file
from gestures import keys
from ids import CMD_DELETE
from notepad import Target
from pellix import HISTORY, RECORDS, Pellix, write_list_file


def test_enter_writes_the_edited_text_back_and_cancel_changes_nothing(desktop: Desktop):
    """The third item opened, retyped and Enter pressed: the third item of the list is the new
    text, in the window and in the file. Opened again and changed, Esc leaves the item as it was
    and empties the field."""
    write_list_file(desktop.app_dir, HISTORY, ["one", "two", "three", "four"])
    app = Pellix.start(desktop)
    field = open_edit_box(desktop, app, 2)
    assert desktop.text(field) == "three"
    desktop.focus(edit_box(app)["hwnd"])
    desktop.tool("type", "3rd item")  # the whole text is selected when the box opens
    wait_until(lambda: desktop.text(field) == "3rd item", 10, "the new text typed")
    desktop.tool("keys", "enter")
    wait_edit_box_closed(app)
    wait_until(lambda: app.items() == ["one", "two", "3rd item", "four"], 10,
               "the third item replaced")
    assert 2 in app.list_view()["selected"]

    field = open_edit_box(desktop, app, 1)
    assert desktop.text(field) == "two"
    desktop.focus(edit_box(app)["hwnd"])
    desktop.tool("type", "changed")
    wait_until(lambda: desktop.text(field) == "changed", 10, "the change typed")
    desktop.tool("keys", "esc")
    wait_edit_box_closed(app)
    assert desktop.text(field) == "", "cancelling left the text in the field"
    assert app.items() == ["one", "two", "3rd item", "four"]
    app.close()
    assert list_file(desktop, HISTORY) == ["one", "two", "3rd item", "four"]


def test_ctrl_c_pastes_the_selected_part_into_notepad_without_capturing_it(desktop: Desktop):
    """Part of the text selected in the edit box and Ctrl+C pressed: notepad, where the user
    worked before, receives that part alone, the edit box stays open, and no list takes the text
    in; the next copy of another program is taken in as usual."""
    write_list_file(desktop.app_dir, HISTORY, ["hello world"])
    write_list_file(desktop.app_dir, RECORDS, ["kept"])
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    field = open_edit_box(desktop, app, 0)
    desktop.focus(edit_box(app)["hwnd"])
    desktop.tool("keys", "end", "shift+left", "shift+left", "shift+left", "shift+left",
                 "shift+left", "ctrl+c")
    wait_until(lambda: target.text() == "world", 10, "the selected part pasted into notepad")
    assert edit_box(app)["visible"] and desktop.text(field) == "hello world"

    # Wine imports the first X copy after a Windows program owned the clipboard twice, which the
    # Unicode list would keep twice: an X program copies a picture first, which no list takes.
    desktop.xclip_set(b"\x89PNG\r\n\x1a\n", target="image/png")
    wait_until(lambda: desktop.tool("clipboard-get")["text"] is None, 10,
               "the picture on the clipboard inside Wine")
    # Change notices are handled in order: once this copy is in, a capture of the paste would be.
    copy(desktop, "copied afterwards")
    wait_until(lambda: app.items() == ["copied afterwards", "hello world"], 10,
               "the next copy taken in, and nothing else")
    app.close()
    assert list_file(desktop, HISTORY) == ["copied afterwards", "hello world"]
    assert list_file(desktop, RECORDS) == ["kept"]
    unicode = (desktop.app_dir / "unicode.dat").read_bytes()
    assert unicode == b"\xff\xfe" + "copied afterwards\r\n".encode("utf-16-le"), \
        f"the Unicode list file holds {unicode[2:].decode('utf-16-le')!r}"


def test_ctrl_h_on_an_empty_list_says_it_cannot_edit(desktop: Desktop):
    """編集 on an empty list shows "編集できません(;_;)" and opens no edit box."""
    write_list_file(desktop.app_dir, HISTORY, [])
    app = Pellix.start(desktop)
    keys(desktop, app, "ctrl+h")
    box, texts = message_box(desktop, app)
    assert "編集できません(;_;)" in texts
    close_box(desktop, app, box)
    assert edit_box(app) is None  # not even made
    app.close()


def test_del_in_the_field_edits_the_field_not_the_list(desktop: Desktop):
    """While the edit box's field has the keys, Del deletes a character of the field and the
    list's 削除 deletes nothing; back in the list, Del deletes the current item."""
    write_list_file(desktop.app_dir, HISTORY, ["abc", "def"])
    app = Pellix.start(desktop)
    field = open_edit_box(desktop, app, 0)
    desktop.focus(edit_box(app)["hwnd"])
    desktop.tool("keys", "home", "delete")
    wait_until(lambda: desktop.text(field) == "bc", 10, "Del to delete the field's first letter")
    assert app.items() == ["abc", "def"]
    app.command(CMD_DELETE)  # sent: done when it returns
    assert app.items() == ["abc", "def"], "削除 deleted from the list while the field had the keys"
    desktop.tool("keys", "esc")
    wait_edit_box_closed(app)

    desktop.tool("listview-select", app.listbox, 0)
    keys(desktop, app, "delete")
    wait_until(lambda: app.items() == ["def"], 10, "Del in the list to delete the item")
    app.close()
    assert list_file(desktop, HISTORY) == ["def"]
