"""Every window works from the keyboard alone. Tab visits the controls top to bottom and left to
right (Shift+Tab goes back), Enter presses the focused button or else the default one, Esc
cancels, and Alt with the underlined letter flips the main window's check boxes. Every window,
and every control the focus can reach, has a name for screen readers: its title or caption, or
the label just before it."""

from __future__ import annotations

from harness import Desktop, wait_until
from boxes import edit_box, open_about_box, open_edit_box, visible_window, wait_edit_box_closed
from ids import (BM_GETCHECK, CMD_FILTER_SETTINGS, CMD_HOTKEY_FIRST, EDIT_BOX_FIELD,
                 FILTER_EDITOR_FIRST_FIELD, IDCANCEL, IDOK, ID_BITBTN1, ID_COMBOBOX, ID_LISTBOX,
                 ID_MBOX, ID_TABBOX, ID_WIDEBOX, INPUT_DIALOG_FIELD, WM_COMMAND, WS_TABSTOP)
from pellix import HISTORY, Pellix, write_list_file

HOTKEY_MENU_CTRL_ALT = CMD_HOTKEY_FIRST + 4
# The filter editor's fields, numbered in the order they stand: name, type, per line, check
# string 1 and its count, check string 2 and its count, permitted characters, the three options,
# then the eight replacement rows, left field and right field.
EDITOR_FIELDS = list(range(FILTER_EDITOR_FIRST_FIELD, FILTER_EDITOR_FIRST_FIELD + 27))
NAMED_BY_THEMSELVES = {"button", "static", "syslistview32", "listbox"}


def focused(desktop: Desktop) -> int:
    return desktop.tool("get-foreground")["focus"]


def by_id(desktop: Desktop, window: int, control_id: int) -> int:
    return next(c["hwnd"] for c in desktop.tool("children", window)
                if c["parent"] == window and c["id"] == control_id)


def by_text(desktop: Desktop, window: int, text: str) -> int:
    return next(c["hwnd"] for c in desktop.tool("children", window)
                if c["parent"] == window and c["text"] == text)


def press(desktop: Desktop, *chords: str) -> None:
    desktop.tool("keys", *chords)


def walk(desktop: Desktop, order: list[int], what: str) -> None:
    """From wherever the focus is in `order`, Tab goes round the whole order once and Shift+Tab
    goes one step back."""
    start = wait_until(lambda: focused(desktop) in order and focused(desktop), 10,
                       f"the focus on one of the controls of {what}")
    position = order.index(start)
    for step in range(1, len(order) + 1):
        press(desktop, "tab")
        want = order[(position + step) % len(order)]
        wait_until(lambda: focused(desktop) == want, 10,
                   f"Tab number {step} in {what} to reach control {want}")
    press(desktop, "shift+tab")
    want = order[(position - 1) % len(order)]
    wait_until(lambda: focused(desktop) == want, 10, f"Shift+Tab in {what} to go back to {want}")


def tab_to(desktop: Desktop, control: int, order: list[int]) -> None:
    while focused(desktop) != control:
        before = focused(desktop)
        press(desktop, "tab")
        wait_until(lambda: focused(desktop) != before, 10, "Tab to move the focus")
        assert focused(desktop) in order


def unnamed_controls(desktop: Desktop, window: int) -> list[str]:
    """Controls the focus can reach that a screen reader could give no name: not a button, label
    or list with a text of its own, and no label with text just before it."""
    controls = desktop.tool("controls", window)["controls"]
    missing = []
    for previous, control in zip([None] + controls, controls):
        if not control["style"] & WS_TABSTOP:
            continue
        if control["class"].lower() in NAMED_BY_THEMSELVES:
            name = control["text"]
        else:
            name = previous["text"] if previous and previous["class"].lower() == "static" else ""
        if not name.strip():
            missing.append(f'{control["class"]} {control["id"]} {control["rect"]}')
    return missing


def assert_named(desktop: Desktop, app: Pellix, window: int) -> None:
    title = next(w for w in app.process.windows() if w["hwnd"] == window)["title"]
    assert title.strip(), f"window {window} has no title"
    missing = unnamed_controls(desktop, window)
    assert not missing, f"{title}: controls without a name: {missing}"


def start(desktop: Desktop) -> Pellix:
    write_list_file(desktop.app_dir, HISTORY, ["one", "two"])
    return Pellix.start(desktop)


def test_the_main_window_from_the_keyboard(desktop: Desktop):
    """Tab goes selector, tool button, tab, wide, mm, list; Alt+W flips "wide" and back."""
    app = start(desktop)
    window = app.hwnd
    desktop.focus(window)
    order = [by_id(desktop, window, i)
             for i in (ID_COMBOBOX, ID_BITBTN1, ID_TABBOX, ID_WIDEBOX, ID_MBOX, ID_LISTBOX)]
    walk(desktop, order, "the main window")
    assert_named(desktop, app, window)

    wide = order[3]
    for checked in (1, 0):
        press(desktop, "alt+w")
        wait_until(lambda: desktop.tool("send", wide, BM_GETCHECK, 0, 0)["result"] == checked, 10,
                   f"Alt+W to {'check' if checked else 'clear'} the wide box")
    app.close()


def test_the_filter_dialogs_from_the_keyboard(desktop: Desktop):
    """The filter list: list, then the buttons top to bottom, ↑ and ↓ before OK beside them.
    Enter on the focused 新規作成 opens the editor, whose fields go row by row to OK; Esc drops
    the editor, Enter in a field stores a new list, Enter in the filter list is OK."""
    app = start(desktop)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_FILTER_SETTINGS, 0)
    dialog = wait_until(lambda: visible_window(app, "FilterListDialog"), 10,
                        "the filter list dialog")["hwnd"]
    desktop.focus(dialog)
    order = [desktop.child(dialog, "ListBox")["hwnd"]] + \
        [by_text(desktop, dialog, text)
         for text in ("読み込み", "新規作成", "名前変更", "編集", "削除", "↑", "↓", "OK")]
    walk(desktop, order, "the filter list dialog")
    assert_named(desktop, app, dialog)

    tab_to(desktop, order[2], order)
    press(desktop, "enter")
    editor = wait_until(lambda: visible_window(app, "FilterEditor"), 10,
                        "Enter on 新規作成 to open the filter editor")["hwnd"]
    desktop.focus(editor)
    fields = [by_id(desktop, editor, i) for i in EDITOR_FIELDS] + [by_id(desktop, editor, IDOK)]
    walk(desktop, fields, "the filter editor")
    assert_named(desktop, app, editor)
    press(desktop, "esc")
    wait_until(lambda: visible_window(app, "FilterEditor") is None
               and visible_window(app, "FilterListDialog"), 10, "Esc to drop the editor")

    desktop.focus(dialog)
    tab_to(desktop, order[2], order)
    press(desktop, "enter")
    editor = wait_until(lambda: visible_window(app, "FilterEditor"), 10, "the editor again")["hwnd"]
    desktop.focus(editor)
    tab_to(desktop, fields[0], fields)
    desktop.tool("type", "kbd")
    wait_until(lambda: desktop.text(fields[0]) == "kbd", 10, "the name typed")
    press(desktop, "enter")
    wait_until(lambda: visible_window(app, "FilterEditor") is None, 10, "Enter to store the list")
    wait_until(lambda: "kbd" in desktop.tool("listbox", order[0])["items"], 10,
               "the new list in the filter list")

    desktop.focus(dialog)
    tab_to(desktop, order[0], order)
    press(desktop, "enter")
    wait_until(lambda: visible_window(app, "FilterListDialog") is None, 10,
               "Enter in the list to press OK")
    app.close()


def test_the_edit_box_from_the_keyboard(desktop: Desktop):
    """Field, コピー, 更新, キャンセル; Enter on the focused キャンセル closes the box unchanged."""
    app = start(desktop)
    open_edit_box(desktop, app, 0)
    box = edit_box(app)["hwnd"]
    desktop.focus(box)
    order = [by_id(desktop, box, EDIT_BOX_FIELD)] + \
        [by_text(desktop, box, text) for text in ("コピー", "更新", "キャンセル")]
    walk(desktop, order, "the edit box")
    assert_named(desktop, app, box)
    tab_to(desktop, order[3], order)
    press(desktop, "enter")
    wait_edit_box_closed(app)
    assert app.items() == ["one", "two"]
    app.close()


def test_the_about_box_and_the_question_box_from_the_keyboard(desktop: Desktop):
    """The about box: Tab stays on OK, Enter closes it. The question box: field, OK, キャンセル;
    Enter on the focused キャンセル and Esc both drop the question."""
    app = start(desktop)
    open_about_box(desktop, app)
    about = next(w["hwnd"] for w in app.process.windows() if w["class"] == "AboutBox")
    desktop.focus(about)
    ok = by_id(desktop, about, IDOK)
    press(desktop, "tab")
    wait_until(lambda: focused(desktop) == ok, 10, "Tab to reach OK")
    press(desktop, "tab")
    wait_until(lambda: focused(desktop) == ok, 10, "Tab to stay on OK")
    assert_named(desktop, app, about)
    press(desktop, "enter")
    wait_until(lambda: not next(w for w in app.process.windows() if w["hwnd"] == about)["visible"],
               10, "Enter to close the about box")

    for last_key in ("enter", "esc"):
        desktop.tool("post", app.hwnd, WM_COMMAND, HOTKEY_MENU_CTRL_ALT, 0)
        question = wait_until(lambda: visible_window(app, "InputDialog"), 10,
                              "the question box")["hwnd"]
        desktop.focus(question)
        order = [by_id(desktop, question, i) for i in (INPUT_DIALOG_FIELD, IDOK, IDCANCEL)]
        walk(desktop, order, "the question box")
        assert_named(desktop, app, question)
        if last_key == "enter":
            tab_to(desktop, order[2], order)
        press(desktop, last_key)
        wait_until(lambda: visible_window(app, "InputDialog") is None, 10,
                   f"{last_key} to drop the question")
    app.close()


def test_the_memo_window_and_its_field_are_named(desktop: Desktop):
    """The memo has no title bar and no label on the screen, yet screen readers find names."""
    app = start(desktop)
    memo = app.show_memo()["hwnd"]
    assert_named(desktop, app, memo)
    controls = desktop.tool("controls", memo)["controls"]
    field = next(i for i, c in enumerate(controls) if c["class"].lower() == "edit")
    assert field > 0 and controls[field - 1]["class"].lower() == "static" \
        and controls[field - 1]["text"], f"the memo's field has no label before it: {controls}"
    app.close()
