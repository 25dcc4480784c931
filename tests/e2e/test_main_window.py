"""The main window's own behaviour: the wide mode, the memo window docked beside it, the
transparent mode for both, the list font, and the list commands switched off while hidden."""

from __future__ import annotations

from harness import Desktop, wait_until
from files import ini
from ids import (BM_GETCHECK, CMD_FONT, CMD_SEND_COPY, CMD_TRANSPARENT, FONT_DIALOG_SIZE_FIELD,
                 IDOK, ID_LISTBOX, ID_WIDEBOX, TRAY_CALLBACK, WM_COMMAND, WM_LBUTTONDOWN,
                 WS_EX_LAYERED)
from notepad import Target, paste
from pellix import HISTORY, Pellix, click_centre, write_list_file


def window_rect(desktop: Desktop, hwnd: int) -> dict:
    return next(w for w in desktop.tool("windows") if w["hwnd"] == hwnd)["rect"]


def width(rect: dict) -> int:
    return rect["right"] - rect["left"]


def memo_window(app: Pellix) -> dict:
    return next(w for w in app.process.windows() if w["class"] == "MemoWindow")


def test_wide_mode_widens_to_the_longest_item_and_ctrl_w_narrows_again(desktop: Desktop):
    """An item of 40 characters asks for a list 260 pixels wide: checking "wide" grows the window
    by what the list lacks; Ctrl+W turns the mode off again and the window is 240 wide."""
    write_list_file(desktop.app_dir, HISTORY, ["short", "x" * 40, "日本語"])
    app = Pellix.start(desktop)
    before = window_rect(desktop, app.hwnd)
    list_width = width(app.control(ID_LISTBOX)["rect"])
    desktop.focus(app.hwnd)
    wide = app.control(ID_WIDEBOX)
    click_centre(desktop, wide["rect"])
    wait_until(lambda: width(window_rect(desktop, app.hwnd)) == width(before) + 260 - list_width,
               10, "the window to grow by what the list lacks for 40 characters")
    assert desktop.tool("send", wide["hwnd"], BM_GETCHECK, 0, 0)["result"] == 1

    desktop.focus(app.hwnd)
    desktop.tool("keys", "ctrl+w")
    wait_until(lambda: width(window_rect(desktop, app.hwnd)) == 240, 10,
               "Ctrl+W to end the wide mode at 240")
    assert desktop.tool("send", wide["hwnd"], BM_GETCHECK, 0, 0)["result"] == 0
    app.close()


def test_the_memo_window_stands_docked_and_shares_the_transparent_mode(desktop: Desktop):
    """The memo window stands one pixel right of the main window, as tall as it; the transparent
    mode turns both see-through, and the choice is kept in the settings."""
    app = Pellix.start(desktop)
    main = window_rect(desktop, app.hwnd)
    memo = app.show_memo()
    assert memo["rect"]["left"] == main["right"] + 1
    assert memo["rect"]["top"] == main["top"]
    assert memo["rect"]["bottom"] - memo["rect"]["top"] == main["bottom"] - main["top"]

    app.command(CMD_TRANSPARENT)
    wait_until(lambda: memo_window(app)["exstyle"] & WS_EX_LAYERED, 10, "the memo see-through")
    assert next(w for w in app.process.windows() if w["hwnd"] == app.hwnd)["exstyle"] \
        & WS_EX_LAYERED
    app.close()
    assert ini(desktop)["trans"] == "1"


def test_the_font_dialog_sets_the_list_font_size_kept_in_the_settings(desktop: Desktop):
    """フォント opens the font dialog; the size chosen there is the list's, and the settings keep
    it."""
    app = Pellix.start(desktop)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_FONT, 0)
    dialog = wait_until(lambda: next((w for w in app.process.windows()
                                      if w["class"] == "#32770" and w["visible"]), None), 10,
                        "the font dialog")
    size = next(c for c in desktop.tool("children", dialog["hwnd"])
                if c["id"] == FONT_DIALOG_SIZE_FIELD)
    field = next(c for c in desktop.tool("children", size["hwnd"]) if c["class"] == "Edit")
    desktop.focus(dialog["hwnd"])
    click_centre(desktop, field["rect"])
    desktop.tool("keys", "end", "backspace", "backspace", "backspace")
    desktop.tool("type", "14")
    wait_until(lambda: desktop.text(field["hwnd"]) == "14", 10, "the size typed")
    desktop.tool("post", dialog["hwnd"], WM_COMMAND, IDOK, 0)
    wait_until(lambda: not any(w["class"] == "#32770" and w["visible"]
                               for w in app.process.windows()), 10, "the dialog to close")
    app.close()
    assert ini(desktop)["fontsize"] == "14"


def test_the_list_commands_do_nothing_while_the_window_is_hidden(desktop: Desktop):
    """With the window hidden, the paste command does nothing; shown again, it pastes."""
    write_list_file(desktop.app_dir, HISTORY, ["first", "second"])
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    desktop.tool("listview-select", app.listbox, 0)
    desktop.tool("send", app.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONDOWN)  # the tray icon hides it
    wait_until(lambda: not app.visible_window(), 10, "the window hidden")
    desktop.tool("send", app.hwnd, WM_COMMAND, CMD_SEND_COPY, 0)

    desktop.tool("send", app.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
    wait_until(app.visible_window, 10, "the window shown again")
    target.clear()
    desktop.focus(target.window)
    paste(desktop, app, [1], 0)
    # Only the paste made while the window was shown arrives.
    wait_until(lambda: target.text() == "second", 10, "the paste of the shown window")
    app.close()


def test_an_items_tooltip_shows_five_lines_and_says_the_rest_is_left_out(desktop: Desktop):
    """Pointing at an item of six or more lines shows its first five lines and a line saying the
    rest is left out; an item of five lines shows whole."""
    six = "\r\n".join(f"line{i}" for i in range(1, 7))
    five = "\r\n".join(f"row{i}" for i in range(1, 6))
    write_list_file(desktop.app_dir, HISTORY, ["first", six, five])
    app = Pellix.start(desktop)
    desktop.focus(app.hwnd)

    def tooltip_for(row: int) -> str:
        rect = desktop.tool("listview-rows", app.listbox, row)["rows"][0]
        x, y = rect["left"] + 20, (rect["top"] + rect["bottom"]) // 2
        desktop.x.xdotool("mousemove", str(x), str(y))
        desktop.x.xdotool("mousemove", str(x + 3), str(y))

        def shown() -> str | None:
            tips = [w for w in app.process.windows()
                    if w["class"].lower() == "tooltips_class32" and w["visible"]]
            texts = [desktop.text(t["hwnd"]) for t in tips]
            return next((t for t in texts if t), None)
        return wait_until(shown, 10, f"the tooltip of row {row}")

    expected = "\r\n".join(six.split("\r\n")[:5]) + "\r\n（以下略）　・ ・ ・ ・ ・ ・ ・ ・"
    assert tooltip_for(1) == expected
    assert wait_until(lambda: tooltip_for(2) == five, 10, "the five-line item whole")
    app.close()


def test_an_overflowing_lists_scroll_bars_lie_wholly_inside_the_window(desktop: Desktop):
    """40 items, one of them wider than the list: both scroll bars show, and neither reaches past
    the main window's client area (the user could not reach a bar's arrow there)."""
    write_list_file(desktop.app_dir, HISTORY, [f"item {n}" for n in range(39)] + ["x" * 120])
    app = Pellix.start(desktop)

    def both_shown() -> dict | None:
        seen = desktop.tool("scrollbars", app.listbox)
        return seen if seen["vertical"]["shown"] and seen["horizontal"]["shown"] else None
    seen = wait_until(both_shown, 10, "both scroll bars of the list")
    client = seen["client"]
    for name in ("vertical", "horizontal"):
        bar = seen[name]["rect"]
        assert client["left"] <= bar["left"] and client["top"] <= bar["top"] \
            and bar["right"] <= client["right"] and bar["bottom"] <= client["bottom"], \
            f"the {name} scroll bar {bar} is cut off by the client area {client}"
    app.close()
