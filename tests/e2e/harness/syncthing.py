"""Two Syncthing instances keeping two folders in step, as on two PCs of one user, all on this
machine's loopback interface: nothing is announced, looked up, relayed or reported anywhere.

Each instance gets a home of its own (keys, config, database) and a log beside it, both kept for a
post-mortem. The two devices know each other from the start (their ids come from the certificates
`syncthing generate` makes), share one folder, and answer REST calls on 127.0.0.1 with an API key,
which is how a test learns whether the folders are in step.
"""

from __future__ import annotations

import fnmatch
import json
import os
import re
import secrets
import socket
import subprocess
import urllib.request
from pathlib import Path
from xml.sax.saxutils import escape

from . import procs
from .waiting import wait_until

FOLDER_ID = "pellix"
# A program's own transient files stay on its PC. pellix writes a list under a temporary name and
# renames it over the real one: a copy of that half-written file landing in the other folder would
# meet the other pellix's own temporary file of the same name, and its lock file, copied over,
# would stand for a lock nobody on that PC holds. (Seen without these lines: with the watcher's
# 1 s delay, a dozen saves in a row carried no temporary file over; a lock held through a merge
# lives longer.) The exe is each PC's own copy.
IGNORED = ("pellix.exe", "*.saving", "*.lock", "*.replaced")
# Syncthing's own names in a folder: its marker, its ignore list, its files in the middle of a pull.
_OWN = (".stfolder", ".stignore", ".stversions", ".syncthing.*.tmp", "~syncthing~*.tmp")
CONFLICT_PATTERN = "*.sync-conflict-*"


def free_port() -> int:
    """A port nobody listens on now (the instance takes it a moment later)."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def synced_names(folder: Path) -> list[str]:
    """The files of the folder that Syncthing keeps in step (relative paths, sorted)."""
    names = []
    for root, dirs, files in os.walk(folder):
        rel = Path(root).relative_to(folder)
        dirs[:] = [d for d in dirs if not _matches(d, _OWN)]
        names += [str(rel / name) if rel.parts else name for name in files
                  if not _matches(name, _OWN + IGNORED)]
    return sorted(names)


def conflict_copies(folder: Path) -> list[str]:
    """The conflict copies in the folder; not Syncthing's own temporary files, which it keeps for a
    while after a pull that failed (a copy the other side removed before it could be pulled)."""
    return sorted(name for name in os.listdir(folder)
                  if fnmatch.fnmatch(name, CONFLICT_PATTERN) and not _matches(name, _OWN))


def _matches(name: str, patterns: tuple[str, ...]) -> bool:
    return any(fnmatch.fnmatch(name, pattern) for pattern in patterns)


class Syncthing:
    """One instance: its home, its ports, its process."""

    def __init__(self, name: str, root: Path, folder: Path, env: dict[str, str]):
        self.name = name
        self.home = root / name
        self.log = root / f"{name}.log"
        self.folder = folder
        # Its own HOME too, so that nothing it writes lands in the user's. STMONITORED: without
        # it, the process we start is only a monitor that runs the real one as its child, which
        # a stop by pid could leave behind; with it, the one process is the instance.
        self.env = {**env, "HOME": str(self.home), "STNOUPGRADE": "1", "STNORESTART": "1",
                    "STNODEFAULTFOLDER": "1", "STMONITORED": "1"}
        # Its debug output in the log, for a post-mortem: e.g. PELLIX_STTRACE=model,scanner.
        if os.environ.get("PELLIX_STTRACE"):
            self.env["STTRACE"] = os.environ["PELLIX_STTRACE"]
        self.api_key = secrets.token_hex(16)
        self.gui_port = free_port()
        self.listen_port = free_port()
        self.process: procs.Process | None = None
        self.home.mkdir(parents=True)
        result = subprocess.run(["syncthing", "generate", f"--home={self.home}",
                                 "--no-default-folder", "--skip-port-probing"],
                                env=self.env, capture_output=True, timeout=60,
                                stdin=subprocess.DEVNULL)
        output = (result.stdout + result.stderr).decode(errors="replace")
        found = re.search(r"Device ID: ([A-Z0-9-]+)", output)
        if result.returncode != 0 or not found:
            raise RuntimeError(f"syncthing generate failed ({result.returncode}): {output}")
        self.device_id = found.group(1)

    def write_config(self, peer: "Syncthing", rescan_s: int, watcher_delay_s: int,
                     puller_pause_s: int) -> None:
        devices = "".join(
            f'<device id="{device.device_id}" introducedBy=""></device>' for device in (self, peer))
        config = f"""<configuration version="36">
    <folder id="{FOLDER_ID}" label="{FOLDER_ID}" path="{escape(str(self.folder))}"
            type="sendreceive" rescanIntervalS="{rescan_s}" fsWatcherEnabled="true"
            fsWatcherDelayS="{watcher_delay_s}" ignorePerms="false" autoNormalize="true">
        <filesystemType>basic</filesystemType>
        {devices}
        <minDiskFree unit="%">0</minDiskFree>
        <markerName>.stfolder</markerName>
        <maxConflicts>10</maxConflicts>
        <pullerPauseS>{puller_pause_s}</pullerPauseS>
    </folder>
    <device id="{self.device_id}" name="{self.name}" compression="metadata" introducer="false">
        <address>dynamic</address>
    </device>
    <device id="{peer.device_id}" name="{peer.name}" compression="metadata" introducer="false">
        <address>tcp://127.0.0.1:{peer.listen_port}</address>
    </device>
    <gui enabled="true" tls="false" debugging="false">
        <address>127.0.0.1:{self.gui_port}</address>
        <apikey>{self.api_key}</apikey>
    </gui>
    <options>
        <listenAddress>tcp://127.0.0.1:{self.listen_port}</listenAddress>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <stunKeepaliveStartS>0</stunKeepaliveStartS>
        <announceLANAddresses>false</announceLANAddresses>
        <reconnectionIntervalS>5</reconnectionIntervalS>
        <startBrowser>false</startBrowser>
        <urAccepted>-1</urAccepted>
        <crashReportingEnabled>false</crashReportingEnabled>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <restartOnWakeup>false</restartOnWakeup>
        <setLowPriority>false</setLowPriority>
    </options>
</configuration>
"""
        (self.home / "config.xml").write_text(config, encoding="utf-8")

    def start(self) -> None:
        # The folder is ready before the instance looks at it: its marker (a folder without one
        # is taken for an unmounted disk and left alone) and the names it keeps to itself.
        (self.folder / ".stfolder").mkdir(parents=True, exist_ok=True)
        (self.folder / ".stignore").write_text("".join(f"{name}\n" for name in IGNORED))
        self.process = procs.start(["syncthing", "serve", f"--home={self.home}", "--no-browser",
                                    "--no-restart", "--no-upgrade"],
                                   self.env, self.log, name=f"syncthing-{self.name}")

    def api(self, path: str, method: str = "GET", timeout: float = 5.0):
        request = urllib.request.Request(f"http://127.0.0.1:{self.gui_port}{path}", method=method,
                                         headers={"X-API-Key": self.api_key})
        with urllib.request.urlopen(request, timeout=timeout) as answer:
            body = answer.read()
        return json.loads(body) if body else None

    def running(self) -> bool:
        if self.process is None or not self.process.running():
            raise AssertionError(f"syncthing {self.name} is not running (log: {self.log})")
        return True

    def folder_status(self) -> dict:
        return self.api(f"/rest/db/status?folder={FOLDER_ID}")

    def completion(self, peer: "Syncthing") -> dict:
        return self.api(f"/rest/db/completion?folder={FOLDER_ID}&device={peer.device_id}")

    def connected(self, peer: "Syncthing") -> bool:
        self.running()
        connection = self.api("/rest/system/connections")["connections"].get(peer.device_id, {})
        return bool(connection.get("connected"))

    def stop(self) -> None:
        """SIGTERM (it shuts down cleanly), SIGKILL if it does not go in time."""
        if self.process is not None:
            self.process.terminate(timeout=10)


class SyncthingPair:
    """Two instances, each with its folder, introduced to each other."""

    def __init__(self, root: Path, folders: tuple[Path, Path], env: dict[str, str],
                 rescan_s: int = 30, watcher_delay_s: int = 1, puller_pause_s: int = 5):
        root.mkdir(parents=True, exist_ok=True)
        self.root = root
        self.devices = (Syncthing("pc1", root, folders[0], env),
                        Syncthing("pc2", root, folders[1], env))
        one, two = self.devices
        # A pull that finds the file changed on this side since its last scan waits for the next
        # try: a minute unless told otherwise, which would be most of a test's time.
        one.write_config(two, rescan_s, watcher_delay_s, puller_pause_s)
        two.write_config(one, rescan_s, watcher_delay_s, puller_pause_s)

    def start(self, timeout: float = 60.0) -> None:
        for device in self.devices:
            device.start()
        for device in self.devices:
            wait_until(lambda: device.running()
                       and device.api("/rest/system/ping") == {"ping": "pong"},
                       timeout, f"syncthing {device.name} to answer on its REST port")
        one, two = self.devices
        wait_until(lambda: one.connected(two) and two.connected(one), timeout,
                   "the two syncthing instances to connect to each other")
        self.wait_in_step(timeout)

    def in_step(self) -> str:
        """'' when both folders hold the same files with the same bytes and both instances say
        they are idle with nothing to pull or send; otherwise what is still out of step."""
        one, two = self.devices
        names = [synced_names(device.folder) for device in self.devices]
        if names[0] != names[1]:
            return f"different files: {names[0]} / {names[1]}"
        for name in names[0]:
            if (one.folder / name).read_bytes() != (two.folder / name).read_bytes():
                return f"{name} differs"
        for device, peer in ((one, two), (two, one)):
            device.running()
            status = device.folder_status()
            if status["state"] != "idle" or status.get("needTotalItems", 0) != 0:
                return f"{device.name}: {status['state']}, needs {status.get('needTotalItems')}"
            completion = device.completion(peer)
            if completion["completion"] != 100 or completion["needItems"] != 0 \
                    or completion["needDeletes"] != 0:
                return f"{peer.name} per {device.name}: {completion}"
        return ""

    def wait_in_step(self, timeout: float) -> None:
        """Until the folders are in step twice in a row, half a second apart: a change that was
        written but not yet scanned looks in step for a moment from the REST side alone, never
        from the bytes."""
        last: list[str] = []
        steady: list[bool] = []

        def settled() -> bool:
            last[:] = [self.in_step()]
            steady.append(not last[0])
            return len(steady) >= 2 and steady[-1] and steady[-2]
        try:
            wait_until(settled, timeout, "the two syncthing folders to be in step", interval=0.5)
        except AssertionError as error:
            raise AssertionError(f"{error}; still out of step: {last[0] if last else '?'}") \
                from None

    def stop(self) -> None:
        for device in self.devices:
            device.stop()
