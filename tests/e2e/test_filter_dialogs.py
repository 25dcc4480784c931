"""The filter list dialog and the filter editor, driven as a user drives them: the lists are
created, renamed, deleted, moved and loaded there, and the main window and the files follow."""

from __future__ import annotations

from harness import Desktop, wait_until
from boxes import visible_window
from clipboard import copy
from files import base_lines, write_filter, write_ini
from ids import (BM_CLICK, CB_SETCURSEL, CMD_FILTER_SETTINGS, IDOK, INPUT_DIALOG_FIELD,
                 LB_SETCURSEL, WM_CLOSE, WM_COMMAND)
from pellix import HISTORY, RECORDS, Pellix, wait_items, write_list_file

UNICODE = "unicode"
DEFAULT_LISTS = [HISTORY, RECORDS, UNICODE]


def wait_hidden(app: Pellix, hwnd: int, what: str) -> None:
    wait_until(lambda: not any(w["hwnd"] == hwnd and w["visible"] for w in app.process.windows()),
               10, what)


class FilterDialogs:
    """The two dialogs of a running pellix, opened from its フィルター設定 command."""

    def __init__(self, desktop: Desktop, app: Pellix):
        self.desktop = desktop
        self.app = app
        desktop.tool("post", app.hwnd, WM_COMMAND, CMD_FILTER_SETTINGS, 0)
        self.dialog = wait_until(lambda: visible_window(app, "FilterListDialog"), 10,
                                 "the filter list dialog")["hwnd"]
        self.filter_list = desktop.child(self.dialog, "ListBox")["hwnd"]

    def rows(self) -> list[str]:
        return self.desktop.tool("listbox", self.filter_list)["items"]

    def selected(self) -> list[int]:
        return self.desktop.tool("listbox", self.filter_list)["selected"]

    def select(self, row: int) -> None:
        self.desktop.tool("send", self.filter_list, LB_SETCURSEL, row, 0)

    def press(self, caption: str, window: int | None = None) -> None:
        parent = window or self.dialog
        button = next(c for c in self.desktop.tool("children", parent) if c["text"] == caption)
        self.desktop.tool("post", button["hwnd"], BM_CLICK, 0, 0)

    def editor(self) -> int:
        return wait_until(lambda: visible_window(self.app, "FilterEditor"), 10,
                          "the filter editor")["hwnd"]

    def new_filter(self, name: str, type_index: int | None) -> int:
        """新規作成, the name typed into the editor's first field, a type picked."""
        self.press("新規作成")
        editor = self.editor()
        self.desktop.focus(editor)
        self.desktop.tool("type", name)
        if type_index is not None:
            combo = self.desktop.child(editor, "ComboBox")["hwnd"]
            self.desktop.tool("send", combo, CB_SETCURSEL, type_index, 0)
        self.press("OK", editor)
        return editor

    def rename(self, row: int, new_name: str | None) -> None:
        """名前変更 of a row, answered with `new_name` (None: キャンセル)."""
        self.select(row)
        self.press("名前変更")
        box = wait_until(lambda: visible_window(self.app, "InputDialog"), 10, "the rename box")
        assert box["title"] == "新しい名前は"
        field = next(c for c in self.desktop.tool("children", box["hwnd"])
                     if c["id"] == INPUT_DIALOG_FIELD)
        assert field["text"] == self.rows()[row]  # the old name is offered
        if new_name is None:
            self.press("キャンセル", box["hwnd"])
        else:
            self.desktop.focus(box["hwnd"])
            if new_name:
                self.desktop.tool("type", new_name)  # over the old name, offered selected
            else:
                self.desktop.tool("keys", "delete")
            ok = next(c for c in self.desktop.tool("children", box["hwnd"]) if c["id"] == IDOK)
            self.desktop.tool("post", ok["hwnd"], BM_CLICK, 0, 0)
        wait_hidden(self.app, box["hwnd"], "the rename box to close")

    def close_by_title_bar(self) -> None:
        self.desktop.tool("post", self.dialog, WM_CLOSE, 0, 0)
        wait_hidden(self.app, self.dialog, "the filter list dialog to close")


def refusal(desktop: Desktop, app: Pellix) -> str:
    """The message of the box that opened, which is then closed with its OK button."""
    box = wait_until(lambda: visible_window(app, "#32770"), 10, "a message box")
    texts = [c["text"] for c in desktop.tool("children", box["hwnd"])]
    assert "OK" in texts and any("キャンセル" in t or "Cancel" in t for t in texts), texts
    ok = next(c for c in desktop.tool("children", box["hwnd"]) if c["id"] == IDOK)
    desktop.tool("post", ok["hwnd"], BM_CLICK, 0, 0)
    wait_hidden(app, box["hwnd"], "the message box to close")
    return next(t for t in texts if t and t not in ("OK", "キャンセル", "Cancel"))


def ini_lists(desktop: Desktop) -> list[str]:
    text = (desktop.app_dir / "pellix.ini").read_bytes().decode("cp932")
    values = dict(line.split("=", 1) for line in text.split("\r\n") if "=" in line)
    return [values[f"list{i}"] for i in range(10) if values.get(f"list{i}")]


def test_opening_hides_the_main_window_and_ok_brings_it_back(desktop: Desktop):
    app = Pellix.start(desktop)
    dialogs = FilterDialogs(desktop, app)
    wait_until(lambda: not app.visible_window(), 10, "the main window to hide")
    assert dialogs.rows() == DEFAULT_LISTS
    assert dialogs.selected() == [0]
    dialog = next(w for w in app.process.windows() if w["hwnd"] == dialogs.dialog)
    assert dialog["title"] == "フィルター設定"
    # Placed by the main window, hidden as it is: 20 pixels below its top, right edges in line.
    main = next(w for w in app.process.windows() if w["hwnd"] == app.hwnd)["rect"]
    assert (dialog["rect"]["top"], dialog["rect"]["right"]) == (main["top"] + 20, main["right"])
    dialogs.press("OK")
    wait_until(app.visible_window, 10, "OK to show the main window again")
    assert not visible_window(app, "FilterListDialog")
    app.close()


def test_a_new_list_from_the_editor_takes_copies(desktop: Desktop):
    app = Pellix.start(desktop)
    dialogs = FilterDialogs(desktop, app)
    editor = dialogs.new_filter("全部", 1)  # 全て受け入れ
    wait_hidden(app, editor, "OK to close the editor")
    wait_until(lambda: dialogs.rows() == DEFAULT_LISTS + ["全部"], 10, "the new row")
    assert dialogs.selected() == [3]
    assert app.selector()["items"] == DEFAULT_LISTS + ["全部"]
    assert (desktop.app_dir / "全部.flt").read_bytes().decode("cp932").startswith(
        "filname=全部\r\ntype=1\r\n")
    dialogs.press("OK")
    wait_until(app.visible_window, 10, "the main window")
    app.pick_list(3)
    copy(desktop, "どこへでも")
    wait_items(app, ["どこへでも"], "the copy in the new list")
    app.close()
    assert (desktop.app_dir / "全部.dat").read_bytes() == "][)どこへでも\r\n".encode("cp932")


def test_rename_renames_both_files_and_keeps_the_current_list(desktop: Desktop):
    for name in (HISTORY, "メモ", UNICODE):
        write_filter(desktop.app_dir, name, type="0")
    write_list_file(desktop.app_dir, "メモ", ["note"])
    write_ini(desktop, base_lines(list1="メモ", view="1"))
    app = Pellix.start(desktop)
    wait_until(lambda: app.selector()["selected"] == 1, 10, "メモ shown at the start")
    dialogs = FilterDialogs(desktop, app)
    dialogs.rename(1, "覚え書き")
    wait_until(lambda: dialogs.rows() == [HISTORY, "覚え書き", UNICODE], 10, "the renamed row")
    assert dialogs.selected() == [1]
    selector = app.selector()
    assert selector["items"] == [HISTORY, "覚え書き", UNICODE] and selector["selected"] == 1
    assert app.items() == ["note"]
    assert not (desktop.app_dir / "メモ.flt").exists() and not (desktop.app_dir / "メモ.dat").exists()
    assert (desktop.app_dir / "覚え書き.flt").read_bytes().decode("cp932").startswith(
        "filname=覚え書き\r\n")
    assert (desktop.app_dir / "覚え書き.dat").exists()
    dialogs.close_by_title_bar()
    app.close()
    assert ini_lists(desktop) == [HISTORY, "覚え書き", UNICODE]


def test_deleting_the_current_last_list_shows_the_one_before(desktop: Desktop):
    for name in (HISTORY, RECORDS, "最後"):
        write_filter(desktop.app_dir, name, type="0")
    write_list_file(desktop.app_dir, "最後", ["last item"])
    write_list_file(desktop.app_dir, RECORDS, ["record"])
    write_ini(desktop, base_lines(list2="最後", view="2"))
    app = Pellix.start(desktop)
    wait_until(lambda: app.items() == ["last item"], 10, "最後 shown at the start")
    dialogs = FilterDialogs(desktop, app)
    dialogs.select(2)
    dialogs.press("削除")
    wait_until(lambda: dialogs.rows() == [HISTORY, RECORDS], 10, "the row removed")
    assert dialogs.selected() == []
    selector = app.selector()
    assert selector["items"] == [HISTORY, RECORDS] and selector["selected"] == 1
    assert app.items() == ["record"]
    assert (desktop.app_dir / "最後.flt").exists() and (desktop.app_dir / "最後.dat").exists()

    # 読み込み of its filter file brings it back, with its items.
    dialogs.press("読み込み")
    file_dialog = wait_until(lambda: visible_window(app, "#32770"), 10, "the file dialog")
    desktop.focus(file_dialog["hwnd"])
    desktop.tool("type", "最後.flt")
    desktop.tool("keys", "Return")
    wait_until(lambda: dialogs.rows() == [HISTORY, RECORDS, "最後"], 10, "the loaded row")
    assert app.selector()["items"] == [HISTORY, RECORDS, "最後"]
    dialogs.press("OK")
    app.pick_list(2)
    wait_until(lambda: app.items() == ["last item"], 10, "the loaded list's items")
    app.close()


def test_a_moved_list_keeps_its_place_after_a_restart(desktop: Desktop):
    app = Pellix.start(desktop)
    dialogs = FilterDialogs(desktop, app)
    dialogs.select(2)
    dialogs.press("↑")
    wait_until(lambda: dialogs.rows() == [HISTORY, UNICODE, RECORDS], 10, "the row moved up")
    assert dialogs.selected() == [1]
    dialogs.press("↑")  # the same list again
    wait_until(lambda: dialogs.rows() == [UNICODE, HISTORY, RECORDS], 10, "moved up again")
    dialogs.press("↑")  # at the top: nothing
    dialogs.press("↓")
    wait_until(lambda: dialogs.rows() == [HISTORY, UNICODE, RECORDS], 10, "moved down")
    selector = app.selector()
    assert selector["items"] == [HISTORY, UNICODE, RECORDS]
    assert selector["selected"] == 0  # 履歴 stays current
    dialogs.close_by_title_bar()
    wait_until(app.visible_window, 10, "the main window after the close")
    wait_until(lambda: (desktop.app_dir / "pellix.ini").exists()
               and ini_lists(desktop) == [HISTORY, UNICODE, RECORDS], 10,
               "the settings written at the close by the title bar")
    app.close()
    app = Pellix.start(desktop)
    assert app.selector()["items"] == [HISTORY, UNICODE, RECORDS]
    app.close()


def test_every_refusal_shows_its_message_and_changes_nothing(desktop: Desktop):
    app = Pellix.start(desktop)
    dialogs = FilterDialogs(desktop, app)
    editor = dialogs.new_filter(RECORDS, 0)
    assert refusal(desktop, app) == "フィルター名の重複！"
    assert visible_window(app, "FilterEditor")  # stays open with its fields
    # Names that no file may have, then none at all.
    cases = [("..\\x", None), ("CON", None), ("", "フィルター名がありません")]
    for name, message in cases:
        # The refused name waits in its field, selected, for the next one.
        name_field = desktop.child(editor, "Edit")["hwnd"]
        desktop.focus(editor)
        desktop.tool("keys", "delete")
        if name:
            desktop.tool("type", name)
        wait_until(lambda: desktop.text(name_field) == name, 10, f"{name!r} in the name field")
        dialogs.press("OK", editor)
        text = refusal(desktop, app)
        if message:
            assert text == message
        else:
            assert name in text  # the name that no file may have is named
    # No type: a name but the type list cleared.
    desktop.focus(editor)
    desktop.tool("type", "型なし")
    wait_until(lambda: desktop.text(name_field) == "型なし", 10, "the name typed")
    combo = desktop.child(editor, "ComboBox")["hwnd"]
    desktop.tool("send", combo, CB_SETCURSEL, -1, 0)
    dialogs.press("OK", editor)
    assert refusal(desktop, app) == "タイプを指定してください"
    desktop.tool("post", editor, WM_CLOSE, 0, 0)  # the title bar cancels
    wait_hidden(app, editor, "the editor to close")
    wait_until(lambda: visible_window(app, "FilterListDialog"), 10, "the list dialog again")
    assert dialogs.rows() == DEFAULT_LISTS

    # Rename: another list's name, in the same or another letter case.
    dialogs.rename(0, "Abc")
    dialogs_rows_before = dialogs.rows()
    dialogs.rename(1, "Abc")
    assert refusal(desktop, app) == "すでにその名前のフィルターがあります"
    assert dialogs.rows() == dialogs_rows_before == ["Abc", RECORDS, UNICODE]
    dialogs.rename(1, "ABC")
    assert refusal(desktop, app) == "すでにその名前のフィルターがあります"
    dialogs.rename(1, "")
    assert refusal(desktop, app) == "フィルター名がありません"
    dialogs.rename(1, None)  # cancelled: no box, nothing changes
    dialogs.rename(1, RECORDS)  # unchanged: no box either
    assert dialogs.rows() == ["Abc", RECORDS, UNICODE]
    assert not visible_window(app, "#32770")
    assert app.selector()["items"] == ["Abc", RECORDS, UNICODE]
    app.close()


def test_cancelling_the_editor_changes_nothing(desktop: Desktop):
    write_filter(desktop.app_dir, RECORDS, type="2", astring="TEL", acount="1")
    before = (desktop.app_dir / f"{RECORDS}.flt").read_bytes()
    app = Pellix.start(desktop)
    dialogs = FilterDialogs(desktop, app)
    dialogs.select(1)
    dialogs.press("編集")
    editor = dialogs.editor()
    # The editor is shown first and the list dialog hidden right after it.
    wait_until(lambda: not visible_window(app, "FilterListDialog"), 10,
               "the list dialog hidden while the editor is open")
    edits = [c for c in desktop.tool("children", editor) if c["class"] == "Edit"]
    fields = [c["text"] for c in edits]
    fields_hwnd = [c["hwnd"] for c in edits]
    assert fields[0] == RECORDS and "TEL" in fields
    desktop.focus(editor)
    desktop.tool("type", "変えた")  # over the name, offered selected
    wait_until(lambda: desktop.text(fields_hwnd[0]) == "変えた", 10, "the name changed")
    desktop.tool("post", editor, WM_CLOSE, 0, 0)
    wait_hidden(app, editor, "the title bar to close the editor")
    wait_until(lambda: visible_window(app, "FilterListDialog"), 10, "the list dialog again")
    assert dialogs.rows() == DEFAULT_LISTS
    assert (desktop.app_dir / f"{RECORDS}.flt").read_bytes() == before
    assert not app.visible_window()  # still hidden while the list dialog is open
    app.close()
