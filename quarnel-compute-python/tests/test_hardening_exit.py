"""Daemon threads inside a call when the program ends. Python code run by a conversion (a user's
__float__, __index__, __str__, __len__, __getitem__, __next__, __del__, a metaclass's name or
an exception's text) may release the interpreter lock; a daemon thread that wakes up there once
the interpreter finalizes is ended where it stands, its stack unwound through the module's
frames. The process must still end as a program ends: status 0, nothing on standard error.
Each run is a child process, on the CPython that runs the suite."""

import pytest
from hostile import child

PRELUDE = r'''
import os, sys, threading, time
from quarnel.compute import _compute as C

s = C.NumericSeries.Reference("a")
entered = threading.Event()


def pause():
    """Lets the interpreter lock go, again and again: the first wake-up after the interpreter
    has begun to finalize ends the thread."""
    entered.set()
    while True:
        time.sleep(SLICE)


class Slow:
    def __float__(self):
        pause()
        return 1.0

    def __index__(self):
        pause()
        return 1

    def __str__(self):
        pause()
        return "days"

    def __len__(self):
        pause()
        return 1

    def __getitem__(self, i):
        if i:
            raise IndexError(i)
        pause()
        return s


class ItemsOnly:
    def __getitem__(self, i):
        if i:
            raise IndexError(i)
        pause()
        return s


class DroppedIterator(ItemsOnly):
    """Only the module holds the iterator: releasing it runs its __del__."""

    def __iter__(self):
        return Finishing()


class Finishing:
    def __next__(self):
        raise StopIteration

    def __del__(self):
        pause()


class SlowName(type):
    def __getattribute__(cls, attr):
        if attr == "__qualname__":
            pause()
        return type.__getattribute__(cls, attr)


class SlowText(Exception):
    def __str__(self):
        pause()
        return "slow"


class RaisesSlowText:
    def __float__(self):
        raise SlowText()


class RaisesTypeErrorOfSlow:
    def __index__(self):
        raise TypeError(Slow())


BLOCKERS = {
    "float operand": lambda: s + Slow(),
    "int argument": lambda: s.head(Slow()),
    "time unit name": lambda: s.derivative(Slow()),
    "sequence length": lambda: C.NumericSeries.Sum(Slow()),
    "sequence item": lambda: C.NumericSeries.Sum(ItemsOnly()),
    "iterator released": lambda: C.NumericSeries.Sum(DroppedIterator()),
    "refused type's name": lambda: s.atan2(SlowName("Named", (), {})()),
    "error's text": lambda: s.atan2(RaisesSlowText()),
    "reworded error": lambda: s.head(RaisesTypeErrorOfSlow()),
    "constructor argument": lambda: C.RangeMap("x", end=Slow()),
}


class Linger:
    """Released with a module that only sys.modules holds, late in finalization: keeps the
    interpreter finalizing for a while, the lock released, for the daemon threads to wake up."""

    def __del__(self, lock=threading.Lock(), write=os.write):
        # A lock taken a second time waits out its timeout with the interpreter lock released.
        # Not time.sleep(): on Windows the main thread's sleep also waits on the Ctrl-C event,
        # which the interpreter has closed by now, and fails.
        lock.acquire()
        lock.acquire(timeout=0.05)
        write(1, b"finalized\n")


sys.modules["lingering"] = type(sys)("lingering")
sys.modules["lingering"].linger = Linger()
'''

# One daemon thread enters the conversion and stays there; the main thread then ends.
BLOCKED = r"""
SLICE = 0.001
blocker = BLOCKERS[sys.argv[1]]
threading.Thread(target=blocker, daemon=True).start()
assert entered.wait(30)
"""

# Daemon workers call in a loop, each call pausing briefly in its conversion, as the program ends.
WORKERS = r"""
SLICE = 0.0002


def pause():
    time.sleep(SLICE)


def work(blocker):
    while True:
        try:
            blocker()
        except BaseException:
            pass


for name in BLOCKERS:
    threading.Thread(target=work, args=(BLOCKERS[name],), daemon=True).start()
for _ in range(4):
    threading.Thread(target=work, args=(BLOCKERS["sequence item"],), daemon=True).start()
time.sleep(0.02)
"""

BLOCKER_NAMES = [
    "float operand",
    "int argument",
    "time unit name",
    "sequence length",
    "sequence item",
    "iterator released",
    "refused type's name",
    "error's text",
    "reworded error",
    "constructor argument",
]


def ends_cleanly(code, *args):
    done = child(PRELUDE + code, *args, malloc="pymalloc", timeout=60)
    assert (done.stdout, done.stderr) == ("finalized\n", "")


@pytest.mark.parametrize("blocker", BLOCKER_NAMES)
def test_a_daemon_thread_blocked_in_a_conversion_at_exit(blocker):
    ends_cleanly(BLOCKED, blocker)


@pytest.mark.parametrize("run", range(6))
def test_daemon_workers_calling_the_module_at_exit(run):
    ends_cleanly(WORKERS)
