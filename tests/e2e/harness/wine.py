"""Wine prefixes and the Windows programs that run in them.

A template prefix is made once per Wine version (wineboot takes 10-15 s) and cached; each test gets
its own copy, which costs a fraction of a second because the PE files are hard links. A test's
prefix has its own wineserver, so ending the test ends every Windows process of that test.
"""

from __future__ import annotations

import fcntl
import hashlib
import itertools
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path
from typing import Any, Callable

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "tools"))
import wine_prefix  # noqa: E402

from . import procs
from .toolserver import ServerGone, ToolServer
from .waiting import wait_until

# Files that Wine only ever reads once the prefix exists; the template's copies can be shared.
# Registry files, .ini files and logs are rewritten in place and are always copied.
_SHAREABLE_SUFFIXES = {
    ".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl", ".acm", ".ax", ".ds", ".tlb", ".nls",
    ".ttf", ".ttc", ".fon", ".mui", ".msstyles", ".vxd", ".com", ".sfd", ".inf", ".msi", ".sdb",
}

LAUNCH_MARKER = "PELLIX_E2E_LAUNCH"

# pxtool commands that only look: asking one again cannot change what a test sees.
READ_ONLY_COMMANDS = frozenset({
    "windows", "wait-window", "children", "text", "listbox", "combobox", "listview",
    "listview-rows", "get-foreground", "clipboard-viewer", "prop", "pixel", "processes",
    "message-id", "controls", "scrollbars",
})

# pxtool's actors: programs of their own that run until stopped. One of them asked for through
# WineSession.tool runs as a pxtool process of its own, as it did before the server existed.
OWN_PROCESS_COMMANDS = frozenset({"viewer", "hold-clipboard", "hold-hotkey", "key-log", "hold-file"})


wine_loader = wine_prefix.wine_loader


def wine_version() -> str:
    result = subprocess.run([wine_loader(), "--version"], capture_output=True, timeout=30,
                            env={**os.environ, "WINEDEBUG": "-all"}, stdin=subprocess.DEVNULL)
    return result.stdout.decode().strip() or "unknown"


def base_env(extra: dict[str, str] | None = None) -> dict[str, str]:
    env = {
        key: value for key, value in os.environ.items()
        if not key.startswith(("WINE", "LC_")) and key not in ("LANG", "LANGUAGE", "DISPLAY")
    }
    env.update({
        "LANG": "ja_JP.UTF-8",
        "LC_ALL": "ja_JP.UTF-8",
        "WINEDEBUG": "-all",
        "WINEARCH": "win64",
        # No Mono or Gecko on these machines: do not let wineboot offer to download them. No
        # menu builder: a shortcut pellix makes must not become a menu entry of the Linux desktop.
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
    })
    env.update(extra or {})
    return env


def _wineserver(env: dict[str, str], *args: str, timeout: float = 30.0) -> None:
    subprocess.run(["wineserver", *args], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout, check=False)


def end_server(env: dict[str, str]) -> None:
    """Ends the server of the prefix `env` names (one this harness made) and waits for it."""
    _wineserver(env, "-k")
    _wineserver(env, "-w")


def ensure_template(cache_root: Path, env: dict[str, str], log_dir: Path) -> Path:
    """The cached template prefix for this Wine and this recipe; made under a lock if missing."""
    recipe = hashlib.sha256(wine_prefix.recipe().encode()).hexdigest()[:12]
    version = "".join(c if c.isalnum() or c in ".-" else "_" for c in wine_version())
    home = cache_root / f"{version}-{recipe}"
    prefix = home / "prefix"
    home.mkdir(parents=True, exist_ok=True)
    with open(home / "lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if (home / "ready").exists():
            return prefix
        building = home / f"building-{os.getpid()}"
        shutil.rmtree(building, ignore_errors=True)
        shutil.rmtree(prefix, ignore_errors=True)
        wenv = {**env, "WINEPREFIX": str(building)}
        log = log_dir / "template.log"
        try:
            with open(log, "ab") as out:
                subprocess.run([wine_loader(), "wineboot", "-i"], env=wenv, stdin=subprocess.DEVNULL,
                               stdout=out, stderr=out, timeout=300, check=True)
                wine_prefix.apply(building, wenv, out)
        finally:
            # The server writes the registry to disk when it ends.
            _wineserver(wenv, "-k")
            _wineserver(wenv, "-w")
        if not wine_prefix.applied(building):
            raise RuntimeError(f"the template registry settings did not stick (log: {log})")
        building.rename(prefix)
        (home / "ready").write_text(f"{wine_version()}\n")
        return prefix


def copy_prefix(template: Path, target: Path) -> None:
    """A private prefix: shared PE files as hard links, everything Wine writes as copies."""
    target.mkdir(parents=True)
    for root, dirs, files in os.walk(template):
        rel = Path(root).relative_to(template)
        out_dir = target / rel
        for name in dirs:
            source = Path(root) / name
            if source.is_symlink():
                os.symlink(os.readlink(source), out_dir / name)
            else:
                (out_dir / name).mkdir()
        dirs[:] = [d for d in dirs if not (Path(root) / d).is_symlink()]
        for name in files:
            source = Path(root) / name
            dest = out_dir / name
            if source.is_symlink():
                os.symlink(os.readlink(source), dest)
            elif source.suffix.lower() in _SHAREABLE_SUFFIXES and rel.parts[:1] == ("drive_c",):
                os.link(source, dest)
            else:
                shutil.copy2(source, dest)


def windows_path(path: str | Path) -> str:
    """A Unix path as Windows programs in the prefix see it (drive Z: is the Unix root)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class ToolError(RuntimeError):
    def __init__(self, args: list[str], returncode: int, stderr: str):
        super().__init__(f"pxtool {' '.join(args)} failed ({returncode}): {stderr.strip()}")
        self.returncode = returncode
        self.stderr = stderr


@dataclass
class StopResult:
    how: str  # "exited" (closed by WM_CLOSE or by itself), "killed", or "already gone"
    returncode: int | None


class WinProcess(procs.Process):
    """A Windows program under Wine. pid is the Unix pid; wpid is its Windows process id."""

    def __init__(self, process: procs.Process, session: "WineSession", token: str):
        super().__init__(process.popen, process.name, process.log)
        self.session = session
        self.token = token
        self._wpid: int | None = None
        # Called before a graceful close, e.g. to tell notepad that its text need not be saved.
        self.before_close: Callable[[], None] | None = None

    @property
    def wpid(self) -> int:
        """Found through the launch marker in the Windows process's own environment block."""
        if self._wpid is None:
            def find() -> int | None:
                listed = self.session.tool("processes", "--env", LAUNCH_MARKER)
                ours = {p["pid"] for p in listed if p.get("env") == self.token}
                # A program's own children inherit the marker; the one we started has no parent in it.
                roots = [p["pid"] for p in listed if p["pid"] in ours and p["ppid"] not in ours]
                return roots[0] if roots else None
            self._wpid = wait_until(find, 10, f"the Windows process of {self.name}")
        return self._wpid

    def windows(self, **filters: Any) -> list[dict]:
        args = ["windows", "--pid", str(self.wpid)]
        for key, value in filters.items():
            args += [f"--{key}"] if value is True else [f"--{key}", str(value)]
        return self.session.tool(*args)

    def wait_window(self, timeout: float = 10.0, visible: bool = True, **filters: Any) -> dict:
        args = ["wait-window", "--pid", str(self.wpid), "--timeout", str(int(timeout * 1000))]
        if visible:
            args.append("--visible")
        for key, value in filters.items():
            args += [f"--{key}", str(value)]
        return self.session.tool(*args, timeout=timeout + 10)

    def close(self) -> None:
        """Ask politely: WM_CLOSE to every visible top-level window of the process."""
        if self.before_close:
            self.before_close()
        self.session.tool("close", "--pid", self.wpid)

    def stop(self, timeout: float = 5.0, graceful: bool = True) -> StopResult:
        """Close gracefully and wait for the exit; kill by pid only as the last resort."""
        if not self.running():
            return StopResult("already gone", self.reap())
        if graceful:
            try:
                self.close()
            except Exception:  # noqa: BLE001 - the process may be dying already; kill below
                pass
            if procs.wait_gone(self.pid, timeout):
                return StopResult("exited", self.reap())
        procs.kill(self.pid)
        return StopResult("killed", self.reap())


class WineSession:
    """One private prefix with its own wineserver, and the Windows programs started in it."""

    def __init__(self, template: Path, root: Path, env: dict[str, str], pxtool: Path):
        self.root = root
        self.prefix = root / "prefix"
        self.logs = root / "logs"
        self.logs.mkdir(parents=True, exist_ok=True)
        self.pxtool = pxtool
        started = time.monotonic()
        copy_prefix(template, self.prefix)
        self.copy_seconds = time.monotonic() - started
        self.env = {**env, "WINEPREFIX": str(self.prefix)}
        self.processes: list[WinProcess] = []
        self._launches = itertools.count(1)
        self._server_started = False
        self.tools = ToolServer([wine_loader(), str(pxtool), "serve"], self.env,
                                self.logs / "pxtool-serve.log", before_start=self._boot)
        started = time.monotonic()
        try:
            self._start_server()
        except BaseException:
            # Nobody gets the session to close it: its server must not outlive the failure.
            self.close()
            raise
        self.start_seconds = time.monotonic() - started

    def _start_server(self) -> None:
        server = procs.start(["wineserver", "-p"], self.env, self.logs / "wineserver.log",
                             name="wineserver")
        self._server_started = True
        server.popen.wait(timeout=30)  # it forks into the background and returns
        self.tool("get-foreground", timeout=60)  # starts pxtool serve, after _boot

    def _boot(self) -> None:
        """Wine's services (explorer with the clipboard manager, services.exe...) start with the
        first program of a prefix and keep the descriptors of that program. So that they never
        hold the pipes of pxtool serve, a pxtool process with no pipes of ours comes first, before
        every start of the server (after the first, it finds them running and costs little).

        Now and then (seen once in a whole run of the suite) Wine ends that very first program
        with exit code 1 and not a word on stderr, before the program's own code runs. That is
        the prefix's boot, not the program under test, so a silent failure is tried again."""
        for attempt in range(3):
            try:
                self.tool_process("get-foreground", timeout=60)
                return
            except ToolError as error:
                if attempt == 2 or error.stderr.strip():
                    raise

    @property
    def drive_c(self) -> Path:
        return self.prefix / "drive_c"

    @property
    def notepad_path(self) -> Path:
        return self.drive_c / "windows" / "notepad.exe"

    def tool(self, *args: Any, timeout: float = 20.0, check: bool = True) -> Any:
        """Run a pxtool command in this prefix and return its parsed JSON output (numbers
        welcome). Commands go to this session's pxtool serve; actors run as processes of their
        own. A call that takes longer than the timeout raises subprocess.TimeoutExpired."""
        args = tuple(str(a) for a in args)
        if args and args[0] in OWN_PROCESS_COMMANDS:
            return self.tool_process(*args, timeout=timeout, check=check)
        try:
            answer = self.tools.call(list(args), timeout)
        except ServerGone as error:
            # Rarely, under load, a server ends while Wine starts it. A question that changes
            # nothing is simply asked again of a new one; anything else fails the test.
            answer = None
            if args and args[0] in READ_ONLY_COMMANDS:
                try:
                    answer = self.tools.call(list(args), timeout)
                except ServerGone as again:
                    error = again
            if answer is None:
                if check:
                    raise ToolError(list(args), -1, str(error)) from None
                return None
        if not answer["ok"]:
            if check:
                raise ToolError(list(args), answer["code"], f"pxtool: {answer['error']}")
            return None
        return answer["result"]

    def tool_process(self, *args: Any, timeout: float = 20.0, check: bool = True) -> Any:
        """Like tool, but in a pxtool process of its own, for this one command."""
        args = tuple(str(a) for a in args)
        with tempfile.TemporaryFile(dir=self.logs) as out, \
                tempfile.TemporaryFile(dir=self.logs) as err:
            # Output into files, not pipes: see procs.start.
            result = subprocess.run([wine_loader(), str(self.pxtool), *args], env=self.env,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                    timeout=timeout)
            out.seek(0)
            err.seek(0)
            stdout = out.read().decode("utf-8")
            stderr = err.read().decode("utf-8", errors="replace")
        if result.returncode != 0:
            if check:
                raise ToolError(list(args), result.returncode, stderr)
            return None
        return json.loads(stdout)

    def start(self, exe: str | Path, *args: str, cwd: str | Path | None = None,
              name: str | None = None, env: dict[str, str] | None = None) -> WinProcess:
        """Start a Windows program by its path; the pid we get is the program's own."""
        token = f"{os.getpid()}-{id(self)}-{next(self._launches)}"
        penv = {**self.env, LAUNCH_MARKER: token, **(env or {})}
        name = name or Path(exe).name
        process = procs.start([wine_loader(), str(exe), *args], penv,
                              self.logs / f"{name}.log", name=name, cwd=cwd)
        handle = WinProcess(process, self, token)
        self.processes.append(handle)
        return handle

    def start_notepad(self, *args: str) -> WinProcess:
        """Wine's notepad, started by its path in the prefix (`wine notepad` goes through start.exe,
        whose pid is not notepad's)."""
        notepad = self.start(self.notepad_path, *args, name="notepad.exe")

        def discard_changes() -> None:
            # Notepad would ask whether to save and never exit; a user who answers "no" is the same.
            for window in notepad.windows(**{"class": "Notepad"}):
                for child in self.tool("children", str(window["hwnd"])):
                    if child["class"].lower() == "edit":
                        self.tool("send", str(child["hwnd"]), "0xB9", "0", "0")  # EM_SETMODIFY
        notepad.before_close = discard_changes
        return notepad

    def set_registry_dword(self, key: str, name: str, value: int, timeout: float = 60.0) -> None:
        with open(self.logs / "reg.log", "ab") as out:
            subprocess.run([wine_loader(), "reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d",
                            str(value), "/f"], env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                           stderr=out, timeout=timeout, check=True)

    def end_session(self, timeout: float = 60.0) -> None:
        """Log off: WM_QUERYENDSESSION and WM_ENDSESSION to every program, then Wine ends them.
        A program that refuses (notepad with unsaved text asks first) holds it up."""
        with open(self.logs / "end-session.log", "ab") as out:
            subprocess.run([wine_loader(), "wineboot", "--end-session"], env=self.env,
                           stdin=subprocess.DEVNULL, stdout=out, stderr=out, timeout=timeout,
                           check=True)

    def close(self) -> list[str]:
        """Stop every program started here, then this prefix's server. Returns what needed force."""
        forced = []
        for process in reversed(self.processes):
            result = process.stop(timeout=5)
            if result.how == "killed":
                forced.append(process.name)
        self.tools.stop()
        if self._server_started:
            _wineserver(self.env, "-k")
            _wineserver(self.env, "-w")
        return forced
