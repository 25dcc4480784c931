"""pxtool serve, which answers the harness's pxtool calls in one Windows process per test: exact
texts both ways, failures as such, a hung call replaced by a new server, nothing left behind
between commands, and pipes that no other process of Wine holds."""

from __future__ import annotations

import json
import os
import subprocess
from pathlib import Path

import pytest

from harness import Desktop, ToolError, procs, wait_until
from harness.wine import wine_loader


def serve_wpid(desktop: Desktop) -> int:
    """The Windows pid of the server: the one pxtool running while it answers this."""
    servers = [p["pid"] for p in desktop.tool("processes") if p["exe"].lower() == "pxtool.exe"]
    assert len(servers) == 1, servers
    return servers[0]


def is_wineserver(pid: int) -> bool:
    try:
        command = Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")[0]
    except OSError:
        return False
    return Path(command.decode(errors="replace")).name.startswith("wineserver")


def pipe_holders(desktop: Desktop) -> dict[str, list[int]]:
    """Every process of the test's prefix that holds one of the server's pipes, but the
    wineserver: it keeps the descriptors behind every process's standard handles, and lets go of
    them when that process ends."""
    server = desktop.wine.tools.pid
    pipes = {os.readlink(f"/proc/{server}/fd/{fd}") for fd in (0, 1)}
    assert all(p.startswith("pipe:") for p in pipes), pipes
    holders: dict[str, list[int]] = {p: [] for p in pipes}
    for pid in procs.marked_processes("WINEPREFIX", str(desktop.wine.prefix)):
        if is_wineserver(pid):
            continue
        try:
            fds = os.listdir(f"/proc/{pid}/fd")
        except OSError:
            continue
        for fd in fds:
            try:
                target = os.readlink(f"/proc/{pid}/fd/{fd}")
            except OSError:
                continue
            if target in holders and pid not in holders[target]:
                holders[target].append(pid)
    return holders


def assert_pipes_are_the_servers_alone(desktop: Desktop) -> None:
    holders = pipe_holders(desktop)
    server = desktop.wine.tools.pid
    assert all(pids == [server] for pids in holders.values()), \
        {pipe: [procs.describe(pid) for pid in pids] for pipe, pids in holders.items()}


TEXTS = ["tab\there", "CR LF\r\nLF\nCR\r", "\"quoted\" \\ back/slash", "日本語\u3000全角",
         "emoji \U0001F600", "lone \ud800 surrogate", "", "-1", "[\"json\", 1]"]


def test_texts_go_through_exactly_and_failures_come_back_as_such(desktop: Desktop):
    for text in TEXTS:
        desktop.tool("clipboard-set", text)
        assert desktop.tool("clipboard-get")["text"] == text, repr(text)
    with pytest.raises(ToolError, match="no such window") as failed:
        desktop.tool("text", "0x7ffffff0")
    assert failed.value.returncode == 1
    with pytest.raises(ToolError, match="unknown command") as failed:
        desktop.tool("no-such-command")
    assert failed.value.returncode == 2
    with pytest.raises(ToolError, match="unknown option --pids") as failed:
        desktop.tool("windows", "--pids", 1)
    assert failed.value.returncode == 2
    with pytest.raises(ToolError, match="in time") as failed:
        desktop.tool("wait-window", "--title", "no such window", "--timeout", 100)
    assert failed.value.returncode == 3
    # The actors are programs of their own: the server refuses them.
    refused = desktop.wine.tools.call(["hold-clipboard", "--ms", "10"], timeout=20)
    assert refused["ok"] is False and refused["code"] == 2 and "own" in refused["error"]
    assert desktop.wine.tools.starts == 1, "failures did not cost the server"


def test_a_hung_call_fails_and_the_next_call_gets_a_new_server(desktop: Desktop):
    first = desktop.wine.tools.pid
    with pytest.raises(subprocess.TimeoutExpired):
        desktop.tool("wait-window", "--title", "never", "--timeout", 20_000, timeout=1)
    assert procs.is_gone(first)
    assert desktop.tool("clipboard-set", "after the hang")["ok"]
    assert desktop.wine.tools.pid not in (None, first) and desktop.wine.tools.starts == 2
    assert desktop.tool("clipboard-get")["text"] == "after the hang"
    assert_pipes_are_the_servers_alone(desktop)


def test_a_file_of_command_lines_is_answered_line_by_line(desktop: Desktop, tmp_path: Path):
    """The line format itself: CR LF endings, blank lines skipped, a malformed line answered
    with a usage error, text escaped or as UTF-8, the last line without its line break, the end
    of input the end."""
    lines = [json.dumps(["message-id", "TaskbarCreated"]) + "\r\n",
             "\n",
             "not json\n",
             '["message-id", "caf\\u00e9"]   \n',
             '["message-id","café"]\n',
             '["message-id", "\\ud83d\\ude00 pair"]\n',
             json.dumps(["message-id", "TaskbarCreated"])]
    requests = tmp_path / "requests.txt"
    requests.write_bytes("".join(lines).encode())
    answers = tmp_path / "answers.txt"
    with open(requests, "rb") as given, open(answers, "wb") as out:
        subprocess.run([wine_loader(), str(desktop.wine.pxtool), "serve"], env=desktop.wine.env,
                       stdin=given, stdout=out, stderr=subprocess.DEVNULL, timeout=30, check=True)
    got = [json.loads(line) for line in answers.read_bytes().decode().splitlines()]
    assert len(got) == 6, got
    assert got[0]["ok"] and got[0]["result"]["id"] >= 0xC000
    assert got[1] == {"ok": False, "code": 2, "error": got[1]["error"]}
    assert "bad command line" in got[1]["error"]
    registered = desktop.tool("message-id", "café")["id"]
    assert got[2]["result"]["id"] == got[3]["result"]["id"] == registered
    assert got[4]["result"]["id"] == desktop.tool("message-id", "\U0001F600 pair")["id"]
    assert got[5] == got[0]


def test_commands_leave_no_window_or_clipboard_opening_behind(desktop: Desktop):
    notepad = desktop.start_notepad()
    window = notepad.wait_window(**{"class": "Notepad"})
    edit = desktop.child(window["hwnd"], "Edit")["hwnd"]
    desktop.tool("clipboard-set", "from the server", "--extra", "Clipboard Viewer Ignore")
    desktop.focus(window["hwnd"])
    desktop.tool("type", "typed")
    desktop.tool("keys", "home", "shift+end", "ctrl+c", "end", "ctrl+v")
    wait_until(lambda: desktop.text(edit) == "typedtyped", 10, "notepad's copy and paste")
    # No key stays down after a command: a Shift or Control left down would change this key.
    desktop.tool("keys", "1")
    wait_until(lambda: desktop.text(edit) == "typedtyped1", 10, "a plain 1 after the chords")
    assert desktop.tool("clipboard-get")["text"] == "typed", "notepad could take the clipboard"

    server = serve_wpid(desktop)
    assert desktop.tool("windows", "--pid", server) == []
    assert desktop.tool("windows", "--pid", server, "--message") == []
    # A clipboard opening left behind would make another program's opening fail.
    assert desktop.wine.tool_process("clipboard-get")["text"] == "typed"
    assert_pipes_are_the_servers_alone(desktop)
