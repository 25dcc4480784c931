"""Every window laid out for the screen's dots per inch. At 96, 144 and 192 dpi (Wine's
LogPixels, read as a program starts), and after a window is told that its monitor's dpi changed,
no caption is cut in the font that stands in for the Japanese one, no two controls overlap, every
control stays inside its window, and the main window's lists fill its client area below the top
row, their scroll bars wholly inside it. A picture of each window at each dpi goes to the test's folder."""

from __future__ import annotations

from pathlib import Path

import pytest

from harness import Desktop, wait_until
from files import base_lines, write_filter, write_ini
from boxes import edit_box, open_about_box, open_edit_box, visible_window
from ids import (BM_CLICK, BS_ICON_OR_BITMAP, BS_TYPEMASK, CMD_FILTER_SETTINGS, CMD_HOTKEY_FIRST,
                 ID_MBOX, IDCANCEL, SS_TYPEMASK, SW_HIDE, SW_SHOWNOACTIVATE, WM_CLOSE, WM_COMMAND)
from pellix import HISTORY, RECORDS, Pellix, write_list_file

FACE = "ＭＳ Ｐゴシック"
HOTKEY_MENU_CTRL_ALT = CMD_HOTKEY_FIRST + 4

# Design client areas at 96 dpi; the main window's lists start below its top row.
CLIENT = {"MainWindow": (241, 169), "FilterListDialog": (224, 190), "FilterEditor": (466, 451),
          "AboutBox": (298, 214), "InputDialog": (320, 94)}
LIST_TOP = 20
HIDDEN_WINDOWS = ("EditBox", "FilterListDialog", "FilterEditor", "MemoWindow", "AboutBox")

CHECK_TYPES = {0x02, 0x03, 0x04, 0x05, 0x06, 0x09}  # check boxes, 3-state, radio buttons
PUSH_TYPES = {0x00, 0x01}
TEXT_STATICS = {0x00, 0x01, 0x02, 0x0C}  # left, centre, right, left without wrapping


def scaled(pixels: int, dpi: int) -> int:
    """MulDiv(pixels, dpi, 96), as the program scales its design."""
    return (pixels * dpi + 48) // 96


def set_dpi(desktop: Desktop, dpi: int) -> None:
    """Both places Windows programs learn the screen's dpi from; Wine reads them as a program
    starts, so this comes before pellix."""
    desktop.wine.set_registry_dword(r"HKCU\Control Panel\Desktop", "LogPixels", dpi)
    desktop.wine.set_registry_dword(
        r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts", "LogPixels", dpi)


def layout(desktop: Desktop, hwnd: int, dpi: int) -> dict:
    """The window's controls, their captions measured in the design font at this dpi."""
    return desktop.tool("controls", hwnd, "--face", FACE, "--height", -scaled(12, dpi))


def width(rect: dict) -> int:
    return rect["right"] - rect["left"]


def height(rect: dict) -> int:
    return rect["bottom"] - rect["top"]


def name(control: dict) -> str:
    return f'{control["class"]} "{control["text"]}" {control["rect"]}'


def cut_captions(seen: dict, dpi: int) -> list[str]:
    """A caption is cut when its text, with a check box's box and gap or a button's edges,
    is wider or taller than its control."""
    problems = []
    for control in seen["controls"]:
        # A label of no size names the next field for screen readers and is never drawn.
        if not control["visible"] or not control["text"] or not width(control["rect"]):
            continue
        kind = control["class"].lower()
        style = control["style"]
        extent = control["extent"]
        if kind == "button" and style & BS_TYPEMASK in CHECK_TYPES:
            needed = scaled(13, dpi) + seen["zero"] // 2 + extent["cx"]
        elif kind == "button" and style & BS_TYPEMASK in PUSH_TYPES \
                and not style & BS_ICON_OR_BITMAP:
            needed = extent["cx"] + scaled(6, dpi)
        elif kind == "static" and style & SS_TYPEMASK in TEXT_STATICS:
            needed = extent["cx"]
        else:
            continue
        rect = control["rect"]
        if needed > width(rect) or extent["cy"] > height(rect):
            problems.append(f"{name(control)} needs {needed} x {extent['cy']}")
    return problems


def overlaps(seen: dict, dpi: int) -> list[str]:
    """Visible controls that cover each other. The about box's panel holds the others, and up-down
    arrows stand over the right border of their field (Windows draws them so)."""
    shown = [c for c in seen["controls"]
             if c["visible"] and not (c["class"].lower() == "static" and not c["text"])]
    problems = []
    for i, a in enumerate(shown):
        for b in shown[i + 1:]:
            ra, rb = a["rect"], b["rect"]
            across = min(ra["right"], rb["right"]) - max(ra["left"], rb["left"])
            down = min(ra["bottom"], rb["bottom"]) - max(ra["top"], rb["top"])
            arrows_on_border = {a["class"].lower(), b["class"].lower()} == \
                {"msctls_updown32", "edit"} and across <= scaled(2, dpi)
            if across > 0 and down > 0 and not arrows_on_border:
                problems.append(f"{name(a)} overlaps {name(b)}")
    return problems


def outside(seen: dict) -> list[str]:
    client = seen["client"]
    problems = []
    for control in seen["controls"]:
        rect = control["rect"]
        if not control["visible"]:
            continue
        if rect["left"] < 0 or rect["top"] < 0 or rect["right"] > client["right"] \
                or rect["bottom"] > client["bottom"]:
            problems.append(f"{name(control)} is outside the client area {client}")
    return problems


class Check:
    """Looks at one window after another at one dpi and keeps what is wrong with each."""

    def __init__(self, desktop: Desktop, dpi: int, artifacts: Path):
        self.desktop = desktop
        self.dpi = dpi
        self.artifacts = artifacts
        self.problems: list[str] = []

    def window(self, hwnd: int, label: str) -> dict:
        seen = layout(self.desktop, hwnd, self.dpi)
        found = cut_captions(seen, self.dpi) + overlaps(seen, self.dpi) + outside(seen)
        self.problems += [f"{label} at {self.dpi} dpi: {problem}" for problem in found]
        picture = self.artifacts / f"{label}-{self.dpi}dpi.bmp"
        self.desktop.tool("snapshot", hwnd, self.desktop.windows_path(picture))
        print(f"picture of {label} at {self.dpi} dpi: {picture}")
        return seen

    def client_size(self, seen: dict, design: tuple[int, int], label: str) -> None:
        client = seen["client"]
        want = (scaled(design[0], self.dpi), scaled(design[1], self.dpi))
        got = (client["right"], client["bottom"])
        if any(abs(g - w) > 1 for g, w in zip(got, want)):
            self.problems.append(f"{label} at {self.dpi} dpi: client area {got}, designed {want}")

    def lists_fill(self, seen: dict, lists: set[int]) -> None:
        """The lists take the client area below the top row, to its edges and not past them
        (the hidden one too, so that switching lists changes nothing)."""
        client = seen["client"]
        want = {"left": 0, "top": scaled(LIST_TOP, self.dpi), "right": client["right"],
                "bottom": client["bottom"]}
        for control in seen["controls"]:
            if control["hwnd"] in lists and control["rect"] != want:
                self.problems.append(f"{name(control)} at {self.dpi} dpi, not {want}")


def start_with_lists(desktop: Desktop) -> Pellix:
    """In the screen's top left corner, as large as designed (a size of 0 is not applied), so
    that the memo window docked to its right is on the screen too at every dpi."""
    write_ini(desktop, base_lines(left="10", top="10", width="0", height="0"))
    for name in (HISTORY, RECORDS, "unicode"):
        write_filter(desktop.app_dir, name, type="0")
    write_list_file(desktop.app_dir, HISTORY, ["an item", "another item"])
    write_list_file(desktop.app_dir, RECORDS, [])
    return Pellix.start(desktop)


def hidden_window(app: Pellix, class_name: str) -> int:
    return next(w["hwnd"] for w in app.process.windows() if w["class"] == class_name)


def make_later_windows(desktop: Desktop, app: Pellix) -> None:
    """Each window made when first needed, opened once the way a user opens it and closed
    again; the main window is shown at the end."""
    def press(window: int, caption: str) -> None:
        button = next(c for c in desktop.tool("children", window) if c["text"] == caption)
        desktop.tool("post", button["hwnd"], BM_CLICK, 0, 0)

    def shown(class_name: str) -> int:
        return wait_until(lambda: visible_window(app, class_name), 10, f"{class_name} shown")["hwnd"]

    app.command(CMD_FILTER_SETTINGS)
    press(shown("FilterListDialog"), "編集")
    desktop.tool("post", shown("FilterEditor"), WM_CLOSE, 0, 0)
    press(shown("FilterListDialog"), "OK")
    wait_until(app.visible_window, 10, "the main window back")
    open_edit_box(desktop, app, 0)
    desktop.tool("post", edit_box(app)["hwnd"], WM_CLOSE, 0, 0)
    open_about_box(desktop, app)()
    app.show_memo()
    desktop.tool("post", app.control(ID_MBOX)["hwnd"], BM_CLICK, 0, 0)  # and hidden again
    wait_until(lambda: all(visible_window(app, name) is None for name in HIDDEN_WINDOWS), 10,
               "every window but the main one hidden")


def check_every_window(desktop: Desktop, app: Pellix, check: Check,
                       told: int | None = None) -> None:
    """The main window, each window that is hidden until needed, shown in turn, and the input
    dialog; with `told`, each window is first told its monitor's dpi is now that."""
    def tell(hwnd: int) -> None:
        if told is not None:
            window = next(w for w in app.process.windows() if w["hwnd"] == hwnd)["rect"]
            grow = lambda length: length * told // 96  # noqa: E731
            desktop.tool("dpi-changed", hwnd, told, window["left"], window["top"],
                         window["left"] + grow(width(window)), window["top"] + grow(height(window)))

    make_later_windows(desktop, app)
    lists = {app.listbox, app.tnt}
    tell(app.hwnd)
    main = check.window(app.hwnd, "main")
    check.client_size(main, CLIENT["MainWindow"], "main")
    check.lists_fill(main, lists)
    rows = desktop.tool("listview-rows", app.listbox, 0)["rows"]
    if height(rows[0]) < scaled(12, check.dpi):
        check.problems.append(f"a list row {rows[0]} is lower than the list font at {check.dpi} dpi")

    for class_name in HIDDEN_WINDOWS:
        hwnd = hidden_window(app, class_name)
        desktop.tool("show", hwnd, SW_SHOWNOACTIVATE)
        tell(hwnd)
        seen = check.window(hwnd, class_name)
        if class_name in CLIENT:
            check.client_size(seen, CLIENT[class_name], class_name)
        desktop.tool("show", hwnd, SW_HIDE)

    if told is None:
        # A question asked from the tray menu, here the hotkey letter's.
        desktop.tool("post", app.hwnd, WM_COMMAND, HOTKEY_MENU_CTRL_ALT, 0)
        question = wait_until(lambda: next((w["hwnd"] for w in app.process.windows()
                                            if w["class"] == "InputDialog" and w["visible"]),
                                           None), 10, "the input dialog")
        seen = check.window(question, "InputDialog")
        check.client_size(seen, CLIENT["InputDialog"], "InputDialog")
        cancel = next(c for c in desktop.tool("children", question) if c["id"] == IDCANCEL)
        desktop.tool("post", cancel["hwnd"], BM_CLICK, 0, 0)
        wait_until(lambda: not any(w["class"] == "InputDialog" and w["visible"]
                                   for w in app.process.windows()), 10, "the question to go")


@pytest.mark.parametrize("dpi", [96, 144, 192])
def test_every_window_fits_its_captions_at_the_screens_dpi(desktop: Desktop, tmp_path: Path,
                                                         dpi: int):
    set_dpi(desktop, dpi)
    app = start_with_lists(desktop)
    check = Check(desktop, dpi, tmp_path)
    check_every_window(desktop, app, check)
    assert not check.problems, "\n".join(check.problems)
    app.close()


def test_a_window_told_of_another_dpi_lays_itself_out_again(desktop: Desktop, tmp_path: Path):
    """Started at 96 dpi, each window is told its monitor now has 192: it takes the suggested
    size, and its fonts, captions and lists are as they would be at 192 from the start."""
    set_dpi(desktop, 96)
    app = start_with_lists(desktop)
    check = Check(desktop, 192, tmp_path)
    check_every_window(desktop, app, check, told=192)
    assert not check.problems, "\n".join(check.problems)
    app.close()
