"""Daemon threads inside a call when the program ends. Python code run by a conversion (a user's
__float__, __index__, __str__, __len__, __getitem__, __next__, __del__, a metaclass's name or
an exception's text), or by a collection that the call's allocations start, may release the
interpreter lock; a daemon thread that wakes up there once the interpreter finalizes is ended
where it stands, its stack unwound through the module's frames. The process must still end as a
program ends: status 0, nothing on standard error. A thread so ended runs nothing of the module
on its way out: every frame of the module lets the unwind pass, and nothing the call holds is
released. Each run is a child process, on the CPython that runs the suite."""

import pathlib
import re
import sys

import pytest
from hostile import NARROWING, child
from quarnel.compute import _compute

# Every run: how a daemon thread stays in a call, and a late release that keeps the interpreter
# finalizing.
FINALIZING = r'''
import os, sys, threading, time

entered = threading.Event()


def pause():
    """Lets the interpreter lock go, again and again: the first wake-up after the interpreter
    has begun to finalize ends the thread."""
    entered.set()
    while True:
        time.sleep(SLICE)


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

PRELUDE = (
    FINALIZING
    + r'''
from quarnel.compute import _compute as C

s = C.NumericSeries.Reference("a")


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

'''
)

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
    done = child(PRELUDE + code, *args, malloc="pymalloc", timeout=60, leaks=False)
    assert (done.stdout, done.stderr) == ("finalized\n", "")


@pytest.mark.parametrize("blocker", BLOCKER_NAMES)
def test_a_daemon_thread_blocked_in_a_conversion_at_exit(blocker):
    ends_cleanly(BLOCKED, blocker)


# A dozen threads, each with its stack and its malloc arena: some 1.2 GiB of address space.
@pytest.mark.memory(3 << 29)
@pytest.mark.parametrize("run", range(6))
def test_daemon_workers_calling_the_module_at_exit(run):
    ends_cleanly(WORKERS)


# A collection that the calling thread starts, once armed, pauses in its callback: on 3.10 and
# 3.11 an allocation starts it where it stands, inside the module's call.
COLLECTION = (
    FINALIZING
    + r"""
import gc

SLICE = 0.001
armed = threading.local()


def collecting(phase, info):
    if phase == "start" and getattr(armed, "on", False) and where(sys._getframe(1)):
        pause()


def arm():
    gc.callbacks.append(collecting)
    gc.set_threshold(1)
    armed.on = True
"""
)

# The process's first PanicException, made while a daemon thread's call raises it.
FIRST_PANIC = r"""
from quarnel.compute import _compute as C

s = C.NumericSeries.Reference("a")
where = lambda frame: True


def first_panic():
    arm()
    try:
        s.head(2**40)
    except BaseException:
        pass


threading.Thread(target=first_panic, daemon=True).start()
assert entered.wait(30)
"""

# The module's classes, made by its first import, in a daemon thread.
FIRST_IMPORT = r"""
import _imp

where = lambda frame: frame.f_locals.get("f") is _imp.exec_dynamic  # the execution step


def first_import():
    arm()
    from quarnel.compute import _compute  # noqa: F401


threading.Thread(target=first_import, daemon=True).start()
assert entered.wait(30)
"""

REPORT = re.compile(r"_compute panicked at \S+:\d+: " + re.escape(NARROWING) + r"\n\Z")


@pytest.mark.parametrize("run", range(3))
def test_the_first_panic_exception_made_by_a_daemon_thread_at_exit(run):
    done = child(COLLECTION + FIRST_PANIC, malloc="pymalloc", timeout=60, leaks=False)
    assert done.stdout == "finalized\n"
    assert REPORT.match(done.stderr), done.stderr


@pytest.mark.parametrize("run", range(3))
def test_the_classes_made_by_a_daemon_thread_importing_the_module_at_exit(run):
    done = child(COLLECTION + FIRST_IMPORT, malloc="pymalloc", timeout=60, leaks=False)
    assert (done.stdout, done.stderr) == ("finalized\n", "")


# The thread is ended at once, where it stands, as the interpreter ends it (the C library's
# pthread_exit, or ExitThread on Windows; the interpreter lock released first, as ctypes does
# for a foreign call), at any time rather than at exit. Nothing of the module may run on its way
# out: an iterator that the module alone holds is never released, and the module goes on serving
# the other threads.
ENDED = r"""
import ctypes

SLICE = 0
if sys.platform == "win32":
    end_thread = ctypes.windll.kernel32.ExitThread  # where _endthreadex() ends
    end_thread.argtypes = [ctypes.c_uint32]
else:
    end_thread = ctypes.CDLL(None).pthread_exit
    end_thread.argtypes = [ctypes.c_void_p]


def pause():
    entered.set()
    end_thread(0)


class Witness:
    def __next__(self):
        del self  # the module holds the iterator alone
        pause()

    def __del__(self, write=os.write):
        write(1, b"released\n")


class HeldIterator(ItemsOnly):
    def __iter__(self):
        return Witness()


BLOCKERS["iterator held"] = lambda: C.NumericSeries.Sum(HeldIterator())
threading.Thread(target=BLOCKERS[sys.argv[1]], daemon=True).start()
assert entered.wait(30)
time.sleep(0.02)
(s + 1).to_json()
"""


@pytest.mark.skipif(
    sys.platform not in ("linux", "win32"), reason="ends a thread with pthread_exit or ExitThread"
)
@pytest.mark.parametrize("blocker", [*BLOCKER_NAMES, "iterator held"])
def test_a_thread_ended_inside_a_call_runs_nothing_of_the_module(blocker):
    ends_cleanly(ENDED, blocker)


# Every frame's unwind information (the ELF library's .eh_frame) names the personality routine
# that the unwinder asks what to do in that frame; the check asks each routine named there about
# a forced unwind with no exception class, in the loaded module (the pointers are read as the
# loader relocated them). A routine that lets it pass answers "continue" (8) without reading the
# frame; the C++ runtimes' own routines answer a call of another interface version with an error
# (3) without reading anything, and would run the frame's cleanups or std::terminate. Prints
# "address: answer" per routine.
ROUTINES = r"""
import ctypes, struct, sys

path = sys.argv[1]
data = open(path, "rb").read()
u = lambda fmt, at: struct.unpack_from("<" + fmt, data, at)[0]
shoff, shentsize, shnum, shstrndx = u("Q", 0x28), u("H", 0x3A), u("H", 0x3C), u("H", 0x3E)
sections = [struct.unpack_from("<IIQQQQ", data, shoff + i * shentsize) for i in range(shnum)]
names = sections[shstrndx][4]
named = {data[names + h[0] : data.index(b"\0", names + h[0])].decode(): h for h in sections}
_, _, _, frames_at, frames_offset, frames_size = named[".eh_frame"]

info = (ctypes.c_void_p * 4)()  # Dl_info: file name, base, symbol name, symbol address
library = ctypes.CDLL(path)
entry = ctypes.cast(library.PyInit__compute, ctypes.c_void_p)
assert ctypes.CDLL(None).dladdr(entry, info)
base = info[1]


def uleb(at):
    value = shift = 0
    while True:
        byte = data[at]
        value |= (byte & 0x7F) << shift
        shift += 7
        at += 1
        if byte < 0x80:
            return value, at


SIZES = {0x00: "q", 0x02: "H", 0x03: "I", 0x04: "Q", 0x0A: "h", 0x0B: "i", 0x0C: "q"}


def pointer(encoding, at):
    # The value of the encoded pointer at file offset `at`, as loaded, and where it ends.
    fmt = SIZES[encoding & 0x0F]
    value = u(fmt, at)
    if encoding & 0x70 == 0x10:  # relative to the field's own address
        value += frames_at + (at - frames_offset)
    else:
        assert encoding & 0x70 == 0, hex(encoding)
    value = base + value
    if encoding & 0x80:  # the address of a pointer the loader has filled in
        value = ctypes.c_void_p.from_address(value).value
    return value, at + struct.calcsize(fmt)


routines = {}
at, end = frames_offset, frames_offset + frames_size
while at < end:
    length, start = u("I", at), at + 4
    if length == 0:
        break
    assert length != 0xFFFFFFFF, "64-bit unwind records"
    if u("I", start) == 0:  # a common information entry, which names the routine
        version = data[start + 4]
        augmentation = data[start + 5 : data.index(b"\0", start + 5)].decode()
        p = start + 5 + len(augmentation) + 1
        if "eh" in augmentation:
            p += 8
        p = uleb(p)[1]  # code alignment
        p = uleb(p)[1]  # data alignment (the same encoding for the length)
        p = p + 1 if version == 1 else uleb(p)[1]  # return address register
        if augmentation.startswith("z"):
            p = uleb(p)[1]
            for letter in augmentation[1:]:
                if letter == "P":
                    routine, p = pointer(data[p], p + 1)
                    routines[routine] = routines.get(routine, 0) + 1
                elif letter in "LR":
                    p += 1
    at = start + length

ask = ctypes.CFUNCTYPE(
    ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_uint64, ctypes.c_void_p, ctypes.c_void_p
)
CLEANUP_PHASE, FORCE_UNWIND = 2, 8
for routine, entries in routines.items():
    answer = ask(routine)(2, CLEANUP_PHASE | FORCE_UNWIND, 0, None, None)
    print(f"{routine:#x} ({entries} entries): {answer}")
"""


@pytest.mark.skipif(sys.platform != "linux", reason="reads an ELF library's unwind tables")
def test_every_frame_of_the_module_lets_a_thread_end_pass():
    done = child(ROUTINES, str(pathlib.Path(_compute.__file__).resolve()))
    answers = [line.rsplit(": ", 1) for line in done.stdout.splitlines()]
    assert answers, "the module's unwind tables name no personality routine"
    assert [routine for routine, answer in answers if answer != "8"] == [], done.stdout
