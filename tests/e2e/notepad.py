"""Wine's notepad as the program the user works in, and pellix's paste into it."""

from __future__ import annotations

from harness import Desktop, wait_until
from ids import CMD_PASTE_OPTION_FIRST, CMD_SEND_COPY, EM_SETSEL, WM_CLEAR, WM_COMMAND
from pellix import Pellix


class Target:
    """Wine's notepad as the program the user works in."""

    def __init__(self, desktop: Desktop, app: Pellix):
        self.desktop = desktop
        self.process = desktop.start_notepad()
        self.window = self.process.wait_window(**{"class": "Notepad"})["hwnd"]
        self.edit = desktop.child(self.window, "Edit")["hwnd"]
        desktop.focus(self.window)
        # pellix samples the window in front once a second.
        wait_until(lambda: desktop.tool("prop", app.hwnd, "PellixPasteTarget")["value"]
                   in (self.edit, self.window), 10, "notepad to become the paste target")

    def text(self) -> str:
        return self.desktop.text(self.edit)

    def clear(self) -> None:
        self.desktop.tool("send", self.edit, EM_SETSEL, 0, -1)
        self.desktop.tool("send", self.edit, WM_CLEAR, 0, 0)
        wait_until(lambda: self.text() == "", 5, "notepad to be empty")


def paste(desktop: Desktop, app: Pellix, indices: list[int], option: int | None) -> None:
    """The items at `indices` selected and pasted, under the paste option `option` if not None."""
    desktop.tool("listview-select", app.listbox, *indices)
    if option is not None:
        desktop.tool("post", app.hwnd, WM_COMMAND, CMD_PASTE_OPTION_FIRST + option, 0)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_SEND_COPY, 0)
