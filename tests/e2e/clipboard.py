"""Copies made by other programs: on the X side, as a user of a Linux program copies, or inside
Wine, as a Windows program does."""

from __future__ import annotations

from harness import Desktop, WaitTimeout, wait_until


def copy(desktop: Desktop, text: str) -> None:
    """Copy on the X side, then wait until Wine has taken the text in: two copies in quick
    succession could otherwise reach Windows programs as one change.

    Now and then Wine never takes an X copy in at all (seen right after another copy, while a
    Windows program had the clipboard open to read the one before): Wine does not try again,
    so the copy is made again, as a user would. A repeat of the same text is no new capture."""
    expected = text.replace("\n", "\r\n")
    for attempt in range(3):
        desktop.x.clipboard_set(text)
        try:
            wait_until(lambda: desktop.tool("clipboard-get")["text"] == expected, 4,
                       f"{text[:30]!r} on the clipboard inside Wine")
            return
        except WaitTimeout:
            if attempt == 2:
                raise


def copy_in_wine(desktop: Desktop, text: str, *extra: str) -> None:
    """A Windows program's copy, made by pxtool; `extra` adds pxtool's options (--extra FORMAT)."""
    desktop.tool("clipboard-set", text, *extra)
