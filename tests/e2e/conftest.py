"""Fixtures for the end-to-end tests.

Session: one Xvfb (display picked by Xvfb), the cached Wine template prefix. Under pytest-xdist a
session is a worker's: each worker has its own Xvfb and base temp folder, and the template is
made by the first worker that needs it while the others wait on its lock.
Per test: a private copy of the prefix with its own wineserver and its own pxtool server, a fresh
app folder, xdotool/xclip, all bundled as the `desktop` fixture. Teardown stops everything the test
started, by pid, then the test's own wineserver, and fails the test if any process of its prefix
is still alive.
Two PCs (`two_pcs`): two such desktops, the second on a second Xvfb of the session, sharing one app
folder or each with its own, kept in step by two Syncthing instances (harness/two_pcs.py).
"""

from __future__ import annotations

import contextlib
import os
import shutil
import sys
import uuid
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import procs, wine  # noqa: E402
from harness.desktop import Desktop  # noqa: E402
from harness.syncthing import SyncthingPair  # noqa: E402
from harness.two_pcs import SETUPS, TwoPCs  # noqa: E402
from harness.x11 import XServer, XTools  # noqa: E402

REPO = Path(__file__).resolve().parents[2]
DEFAULT_BUILD = REPO / "build" / "mingw"


def pytest_configure(config: pytest.Config) -> None:
    # Under CTest the logs and prefixes of the last run stay in the build tree for a post-mortem.
    # (In a parallel run each worker gets a folder of its own in it, popen-gw0, popen-gw1...)
    work = os.environ.get("PELLIX_E2E_WORK")
    if work and not config.option.basetemp:
        config.option.basetemp = work
    config.addinivalue_line(
        "markers", "long: runs for a minute or more; collected first, so that a parallel run "
        "starts it early on a worker of its own instead of waiting for it at the end")


def pytest_collection_modifyitems(items: list[pytest.Item]) -> None:
    items.sort(key=lambda item: item.get_closest_marker("long") is None)  # stable: order kept


@pytest.hookimpl(optionalhook=True)
def pytest_xdist_make_scheduler(config: pytest.Config, log):
    if config.getoption("dist") != "load":
        return None
    from harness.scheduling import OneAtATime
    return OneAtATime(config, log)


class Paths:
    def __init__(self) -> None:
        self.pxtool = Path(os.environ.get("PELLIX_PXTOOL",
                                          DEFAULT_BUILD / "tests" / "e2e" / "pxtool.exe"))
        self.pxtestwin = Path(os.environ.get("PELLIX_PXTESTWIN",
                                             self.pxtool.parent / "pxtestwin.exe"))
        pellix = os.environ.get("PELLIX_EXE")
        if pellix:
            self.pellix: Path | None = Path(pellix)
        else:
            built = sorted(p for p in DEFAULT_BUILD.glob("**/pellix.exe")
                           if "tests" not in p.relative_to(DEFAULT_BUILD).parts)
            self.pellix = built[0] if built else None
        cache = Path(os.environ.get("XDG_CACHE_HOME") or Path.home() / ".cache")
        self.template_cache = cache / "pellix" / "e2e-template"


@pytest.fixture(scope="session")
def e2e_paths() -> Paths:
    paths = Paths()
    for tool in (paths.pxtool, paths.pxtestwin):
        if not tool.exists():
            pytest.exit(f"{tool} is missing: build the mingw preset first "
                        "(cmake --build --preset mingw)", returncode=2)
    return paths


@pytest.fixture(scope="session")
def session_marker() -> str:
    return uuid.uuid4().hex


@pytest.fixture(scope="session", autouse=True)
def _nothing_left_behind(session_marker: str):
    """Set up first, so torn down last: after everything else, no process of ours may remain."""
    yield
    leftovers = procs.marked_processes(procs.SESSION_MARKER, session_marker)
    described = [procs.describe(pid) for pid in leftovers]
    for pid in leftovers:
        procs.kill(pid)
    assert not described, f"processes left running after the session: {described}"


@pytest.fixture(scope="session")
def x_server(tmp_path_factory: pytest.TempPathFactory, session_marker: str):
    logs = tmp_path_factory.mktemp("x")
    server = XServer(wine.base_env({procs.SESSION_MARKER: session_marker}), logs)
    yield server
    server.stop()


@pytest.fixture(scope="session")
def session_env(x_server: XServer, session_marker: str) -> dict[str, str]:
    return wine.base_env({procs.SESSION_MARKER: session_marker, "DISPLAY": x_server.display})


@pytest.fixture(scope="session")
def wine_template(e2e_paths: Paths, session_env: dict[str, str],
                  tmp_path_factory: pytest.TempPathFactory) -> Path:
    return wine.ensure_template(e2e_paths.template_cache, session_env,
                                tmp_path_factory.mktemp("template"))


def close_wine_session(session: wine.WineSession) -> None:
    """Stops its programs and its wineserver; fails if a process of its prefix outlives them."""
    session.close()
    leftovers = procs.marked_processes("WINEPREFIX", str(session.prefix))
    if leftovers:
        # A program of the prefix that was still starting when its server was ended brings a
        # new server up (with its services): that one is ended too before anything is judged.
        wine.end_server(session.env)
        leftovers = procs.marked_processes("WINEPREFIX", str(session.prefix))
    described = [procs.describe(pid) for pid in leftovers]
    for pid in leftovers:
        procs.kill(pid)
    shutil.rmtree(session.prefix, ignore_errors=True)
    assert not described, f"processes of the test's prefix outlived its wineserver: {described}"


@pytest.fixture
def wine_session(wine_template: Path, session_env: dict[str, str], tmp_path: Path,
                 e2e_paths: Paths):
    session = wine.WineSession(wine_template, tmp_path / "wine", session_env, e2e_paths.pxtool)
    yield session
    close_wine_session(session)


@pytest.fixture
def xtools(session_env: dict[str, str], tmp_path: Path):
    tools = XTools(session_env, tmp_path / "x")
    (tmp_path / "x").mkdir(exist_ok=True)
    yield tools
    tools.close()


@pytest.fixture
def app_dir(tmp_path: Path) -> Path:
    folder = tmp_path / "app"
    folder.mkdir()
    return folder


@pytest.fixture
def desktop(wine_session: wine.WineSession, xtools: XTools, app_dir: Path,
            e2e_paths: Paths) -> Desktop:
    return Desktop(wine_session, xtools, app_dir, e2e_paths.pellix, e2e_paths.pxtestwin)


@pytest.fixture(scope="session")
def second_x_server(tmp_path_factory: pytest.TempPathFactory, session_marker: str):
    """The second PC's display, made by the first test that needs one."""
    logs = tmp_path_factory.mktemp("x2")
    server = XServer(wine.base_env({procs.SESSION_MARKER: session_marker}), logs)
    yield server
    server.stop()


@pytest.fixture(params=SETUPS)
def two_pcs(request: pytest.FixtureRequest, wine_template: Path, session_env: dict[str, str],
            second_x_server: XServer, tmp_path: Path, e2e_paths: Paths):
    """Two PCs sharing pellix's folder, once for each setup (a test takes one only with
    @pytest.mark.parametrize("two_pcs", ["syncthing"], indirect=True)). Each PC's things are
    under pc1/ and pc2/ of the test's folder; the app folder is app/ when shared, pc1/app and
    pc2/app under Syncthing, whose homes and logs are under syncthing/."""
    setup = request.param
    if setup == "shared":
        folders = (tmp_path / "app",) * 2
    else:
        folders = (tmp_path / "pc1" / "app", tmp_path / "pc2" / "app")
    for folder in folders:
        folder.mkdir(parents=True, exist_ok=True)
    # Torn down in the reverse order, every step even when one before it failed.
    with contextlib.ExitStack() as stack:
        pcs = []
        for number, (display, folder) in enumerate(
                zip((session_env["DISPLAY"], second_x_server.display), folders), start=1):
            root = tmp_path / f"pc{number}"
            env = {**session_env, "DISPLAY": display}
            session = wine.WineSession(wine_template, root / "wine", env, e2e_paths.pxtool)
            stack.callback(close_wine_session, session)
            (root / "x").mkdir()
            tools = XTools(env, root / "x")
            stack.callback(tools.close)
            pcs.append(Desktop(session, tools, folder, e2e_paths.pellix, e2e_paths.pxtestwin))
        sync = None
        if setup == "syncthing":
            sync = SyncthingPair(tmp_path / "syncthing", folders, session_env)
            stack.callback(sync.stop)
            sync.start()
        yield TwoPCs(setup, (pcs[0], pcs[1]), sync)
