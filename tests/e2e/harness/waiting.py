"""Waiting on a condition, always with a deadline."""

from __future__ import annotations

import time
from typing import Callable, TypeVar

T = TypeVar("T")


class WaitTimeout(AssertionError):
    """A condition did not come true in time (an AssertionError, so pytest reports it plainly)."""


def wait_until(predicate: Callable[[], T], timeout: float, what: str, interval: float = 0.05) -> T:
    """Poll predicate until it returns something truthy and return that; fail after timeout.

    Exceptions from the predicate count as "not yet" (a window may vanish between two calls); the
    last one is shown in the failure message, as is the last value seen.
    """
    deadline = time.monotonic() + timeout
    last_value: object = None
    last_error: BaseException | None = None
    while True:
        try:
            value = predicate()
            if value:
                return value
            last_value = value
            last_error = None
        except AssertionError:
            raise
        except Exception as error:  # noqa: BLE001 - reported below
            last_error = error
        if time.monotonic() >= deadline:
            break
        time.sleep(interval)
    detail = f"last error: {last_error!r}" if last_error else f"last value: {last_value!r}"
    raise WaitTimeout(f"timed out after {timeout:g}s waiting for {what} ({detail})")
