"""What a test drives: one Wine session on the shared X display, seen as a user's desktop."""

from __future__ import annotations

import json
from pathlib import Path
from typing import Any, Callable, TypeVar

from . import procs
from .waiting import wait_until
from .wine import WineSession, WinProcess, windows_path
from .x11 import XTools

T = TypeVar("T")


class Desktop:
    def __init__(self, wine: WineSession, x: XTools, app_dir: Path, pellix_exe: Path | None,
                 pxtestwin: Path):
        self.wine = wine
        self.x = x
        self.app_dir = app_dir
        self.pellix_exe = pellix_exe
        self.pxtestwin = pxtestwin

    # ---- inside Wine ---------------------------------------------------------------------------

    def tool(self, *args: Any, timeout: float = 20.0) -> Any:
        """Run a pxtool command with these arguments (numbers welcome) and return its JSON; see
        WineSession.tool."""
        return self.wine.tool(*(str(a) for a in args), timeout=timeout)

    def start(self, exe: str | Path, *args: str, cwd: str | Path | None = None,
              name: str | None = None) -> WinProcess:
        return self.wine.start(exe, *args, cwd=cwd, name=name)

    def start_actor(self, *args: str, name: str, timeout: float = 20.0) -> tuple[WinProcess, dict]:
        """A pxtool actor (a program of its own) and the JSON line it announces itself with.

        Now and then, under load, a Wine program ends silently right as it starts, before it has
        done anything; such a start is made again (twice at most). An actor that announced
        itself and then ended is no such case and fails the test as usual."""
        ended: list[str] = []
        for _ in range(3):
            process = self.start(self.wine.pxtool, *args, name=name)

            def announced() -> dict | None:
                text = Path(process.log).read_text(errors="replace") if process.log else ""
                line = next((line for line in text.splitlines() if line.startswith("{")), None)
                if line is not None:
                    return json.loads(line)
                if not process.running():
                    return {}  # ended before it said anything
                return None
            hello = wait_until(announced, timeout, f"{name} to announce itself")
            if hello:
                return process, hello
            ended.append(f"exit {process.reap()}: {Path(process.log).read_text(errors='replace')!r}")
        raise AssertionError(f"{name} ended before it announced itself, three times: {ended}")

    def start_notepad(self, *args: str) -> WinProcess:
        return self.wine.start_notepad(*args)

    def start_testwin(self, items: int = 100_000, title: str | None = None) -> WinProcess:
        args = ["--items", str(items)] + (["--title", title] if title else [])
        return self.wine.start(self.pxtestwin, *args)

    def start_pellix(self, *args: str) -> WinProcess:
        """pellix.exe copied into the test's own app folder (it keeps its files beside itself)."""
        if self.pellix_exe is None or not self.pellix_exe.exists():
            raise FileNotFoundError("pellix.exe is not built (PELLIX_EXE)")
        exe = self.app_dir / "pellix.exe"
        if not exe.exists():
            exe.write_bytes(self.pellix_exe.read_bytes())
        return self.wine.start(exe, *args, cwd=self.app_dir)

    def child(self, hwnd: int, class_name: str, index: int = 0) -> dict:
        """The index-th descendant window of that class (case-insensitive)."""
        found = [c for c in self.tool("children", hwnd) if c["class"].lower() == class_name.lower()]
        if len(found) <= index:
            raise LookupError(f"window {hwnd} has no {class_name} #{index}")
        return found[index]

    def text(self, hwnd: int) -> str:
        return self.tool("text", hwnd)["text"]

    def foreground(self) -> int:
        return self.tool("get-foreground")["foreground"]

    def focus(self, hwnd: int, timeout: float = 5.0) -> dict:
        """Make the window's top-level window the foreground window and give it the X focus.

        Windows' foreground first, then the X focus: the other way round Wine briefly treats the
        desktop as the foreground window. Keys typed with xdotool reach only the X-focused window.
        """
        result = self.tool("foreground", hwnd, "--timeout", int(timeout * 1000),
                           timeout=timeout + 10)
        if not result["ok"]:
            raise AssertionError(f"window {hwnd} did not become the foreground window: {result}")
        if not result["x11"]:
            raise AssertionError(f"window {result['hwnd']} has no X window (is it visible?)")
        self.x.focus_x_window(result["x11"], timeout=timeout)
        wait_until(lambda: self.foreground() == result["hwnd"], timeout,
                   f"window {result['hwnd']} to stay the foreground window after the X focus")
        return result

    # ---- the X side ----------------------------------------------------------------------------

    def xdotool_type(self, text: str, delay_ms: int = 12) -> None:
        self.x.type(text, delay_ms)

    def xdotool_keys(self, *chords: str) -> None:
        self.x.keys(*chords)

    def xclip_set(self, text: str | bytes, target: str = "UTF8_STRING") -> procs.Process:
        return self.x.clipboard_set(text, target)

    def xclip_get(self, target: str = "UTF8_STRING") -> bytes | None:
        return self.x.clipboard_get(target)

    # ---- misc ----------------------------------------------------------------------------------

    @staticmethod
    def wait_until(predicate: Callable[[], T], timeout: float, what: str,
                   interval: float = 0.05) -> T:
        return wait_until(predicate, timeout, what, interval)

    @staticmethod
    def windows_path(path: str | Path) -> str:
        return windows_path(path)
