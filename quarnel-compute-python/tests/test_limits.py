"""Limits of the machine met as a Python user meets them: memory running out raises MemoryError in
any thread, on its first call as on a later one; a text of 4 GiB or more is held and written; a
long to_json() gives way to Ctrl-C, and its output of many megabytes comes back whole. What could
kill the interpreter runs in a child process."""

import json
import os
import signal
import subprocess
import sys
import time

import pytest
from hostile import EMULATED, SANITIZED, child, posix_only

# The sanitizer reserves terabytes of address space and keeps freed memory in quarantine, so
# neither an address-space limit nor a measure of free memory means anything under it.
unsanitized = pytest.mark.skipif(SANITIZED, reason="memory limits mean nothing under the sanitizer")
# qemu-user keeps no address-space limit for its guest: a child that limits its address space and
# fills it would fill the host's memory instead.
address_space_limited = pytest.mark.skipif(
    EMULATED, reason="qemu-user does not enforce RLIMIT_AS for its guest"
)
# The children limit their address space to 1 GiB: a lower limit already set cannot be raised.
ONE_GIBIBYTE = pytest.mark.memory(1 << 30)

OUT_OF_MEMORY = r"""
import resource, sys, threading
from quarnel.compute import _compute as C

def fill():
    if sys.argv[2] == "warm":
        # The thread has built and released nodes and thrown (and caught) a C++ exception.
        for _ in range(1000):
            C.NumericSeries.Reference("a") + 1.0
        try:
            C.NumericSeries.Reference("a").head(2**40)
        except BaseException:
            pass
    x, kept = C.NumericSeries.Reference("a"), []
    try:
        while True:
            x = x + 1.0
            kept.append(x)
    except MemoryError:
        kept.clear()
        print("MemoryError", flush=True)

limit = 1 << 30
resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
if sys.argv[1] == "main":
    fill()
else:
    thread = threading.Thread(target=fill)
    thread.start()
    thread.join()
"""


@unsanitized
@address_space_limited
@ONE_GIBIBYTE
@posix_only("limits the address space with resource.setrlimit")
@pytest.mark.parametrize("state", ["cold", "warm"])
@pytest.mark.parametrize("thread", ["main", "new"])
def test_running_out_of_memory_raises_memory_error(thread, state):
    done = child(OUT_OF_MEMORY, thread, state, malloc="pymalloc", timeout=300)
    assert done.stdout == "MemoryError\n"
    assert "thread-local" not in done.stderr and "TLS" not in done.stderr


# malloc runs out down to its last few bytes while the interpreter's own allocator keeps room for
# small objects (most of a few megabytes of them freed before the address space is limited), then
# a call panics again and again: each raises PanicException or, when even that cannot be made,
# MemoryError. Cold, the exception class is still to be made, which needs malloc.
PANIC_WITHOUT_MEMORY = r"""
import ctypes, random, resource, sys
from quarnel.compute import _compute as C


def main(seed, warm):
    s, rng, raised = C.NumericSeries.Reference("a"), random.Random(seed), [None] * 300
    if warm:
        try:
            s.bit_and(2**31)
        except BaseException:
            pass
    malloc = ctypes.CDLL(None).malloc
    malloc.restype, malloc.argtypes = ctypes.c_void_p, [ctypes.c_size_t]
    spare = [object() for _ in range(1 << 19)]
    spare = [x for i, x in enumerate(spare) if i % 8192 < 1024]
    with open("/proc/self/status") as f:
        used = next(int(line.split()[1]) << 10 for line in f if line.startswith("VmSize:"))
    limit = used + ((8 + rng.randrange(32)) << 20)
    resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
    last = rng.choice([8, 16, 32])
    for size in [1 << 20, 1 << 16, 1 << 12, 1 << 8, 64, 16, 8]:
        while size >= last and malloc(size):
            pass
    for i in range(300):  # in a function: storing the exception grows no dict
        try:
            s.bit_and(2**31)
        except BaseException as e:
            raised[i] = type(e)
    return " ".join(sorted({t.__name__ for t in raised}))


print(main(int(sys.argv[1]), sys.argv[2] == "warm"), flush=True)
"""


@unsanitized
@address_space_limited
@ONE_GIBIBYTE
@posix_only("limits the address space with resource.setrlimit, reading /proc/self/status")
@pytest.mark.parametrize("state", ["cold", "warm"])
@pytest.mark.parametrize("seed", range(6))
def test_a_panic_without_memory_raises_and_never_aborts(seed, state):
    said = child(PANIC_WITHOUT_MEMORY, str(seed), state, malloc="pymalloc").stdout
    assert said in ("MemoryError\n", "MemoryError PanicException\n", "PanicException\n")
    assert state == "cold" or "PanicException" in said


# The call is made once in full, then again and interrupted: Ctrl-C must stop it far sooner than
# it would have finished (the writer checks for signals between pieces of a few megabytes).
INTERRUPTED = r"""
import signal, time
from quarnel.compute import _compute as C
signal.signal(signal.SIGINT, signal.default_int_handler)  # even if started with SIGINT ignored
x = C.NumericSeries.Reference("a")
for _ in range(23):
    x = x + x  # about 0.6 GB of JSON from a few dozen nodes
start = time.monotonic()
x.to_json()
print("ready", time.monotonic() - start, flush=True)
try:
    x.to_json()
    print("finished", flush=True)
except KeyboardInterrupt:
    print("interrupted", time.time(), flush=True)
"""


@posix_only("sends SIGINT to a process; Ctrl-C on Windows is a console event")
def test_ctrl_c_stops_a_long_to_json():
    proc = subprocess.Popen([sys.executable, "-c", INTERRUPTED], stdout=subprocess.PIPE, text=True)
    try:
        ready, whole = proc.stdout.readline().split()
        assert ready == "ready"
        time.sleep(0.05)
        sent = time.time()
        proc.send_signal(signal.SIGINT)
        said = proc.communicate(timeout=120)[0].split()
    finally:
        proc.kill()
    assert said[0] == "interrupted"
    assert float(said[1]) - sent < float(whole) / 4, f"the whole call takes {whole} s"


# Names of characters one to four bytes long in UTF-8, of varying length so that the cuts between
# the pieces of a large output fall anywhere in them; or ASCII until far into the output.
PAD = "x" * 1000
WIDE_NAMES = {
    "mixed": lambda i: "\u00e9\u20ac\U0001f600"[: i % 4] * (i % 5) + PAD + str(i),
    "ascii first": lambda i: PAD + str(i) if i < 35_000 else "\U0001f600\u20ac" + PAD + str(i),
}


@pytest.mark.parametrize("names", WIDE_NAMES.values(), ids=WIDE_NAMES)
def test_a_large_output_comes_back_whole_whatever_its_characters(names):
    # Tens of megabytes: to_json() hands them to the str a piece at a time.
    from quarnel.compute import _compute as C

    names = [names(i) for i in range(40_000)]
    written = C.NumericSeries.Sum([C.NumericSeries.Reference(n) for n in names]).to_json()
    assert len(written.encode()) > 36 << 20
    assert written == '{"type":"sum","sum":{"inputs":[%s]}}' % ",".join(
        '{"type":"raw","raw":{"name":"%s"}}' % n for n in names
    )


@pytest.mark.skipif(
    SANITIZED, reason="the sanitizer's realloc moves and copies every block: a timing means nothing"
)
@pytest.mark.skipif(
    hasattr(sys, "gettotalrefcount"),
    reason="a debug interpreter's allocator moves and copies every block on realloc: a timing "
    "means nothing",
)
@pytest.mark.memory(2 << 30)  # a text of 384 MiB, its node's copy, its output and the str of it
def test_writing_a_long_text_takes_time_in_proportion_to_its_length():
    # The pieces of a large output reach the str without copying what came before them: four
    # times the text takes about four times as long, where copying it again with each piece of a
    # few megabytes would take some sixteen times.
    from quarnel.compute import _compute as C

    def seconds(length):
        literal = C.StringConstant.Literal("x" * length)
        start = time.perf_counter()
        text = literal.to_json()
        elapsed = time.perf_counter() - start
        assert len(text) == length + len('{"type":"literal","literal":""}')
        return elapsed

    once = min(seconds(96 << 20) for _ in range(3))
    assert seconds(384 << 20) < 8 * once + 0.5


def doubled(times):
    """x = x + x, `times` times over a reference, and its JSON text built here."""
    from quarnel.compute import _compute as C

    x, text = C.NumericSeries.Reference("a"), '{"type":"raw","raw":{"name":"a"}}'
    for _ in range(times):
        x, text = x + x, '{"type":"add","add":{"left":%s,"right":%s}}' % (text, text)
    return x, text


def test_outputs_of_every_size_in_turn_come_back_whole():
    # Each output is written into the memory that the one before it left: tens of megabytes
    # (written a piece at a time), a few bytes, a few megabytes, and tens of megabytes again.
    trees = [doubled(n) for n in (20, 0, 15, 20)]
    assert len(trees[0][1]) > 36 << 20
    for tree, text in trees:
        assert tree.to_json() == text


@posix_only("runs the handler on SIGALRM from setitimer")
def test_a_to_json_run_by_a_signal_handler_inside_a_long_one():
    # The handler runs between two pieces of the long output, while its memory is in use.
    small, small_text = doubled(3)
    large, large_text = doubled(20)
    written, seen = [], []

    def handler(signum, frame):
        seen.append((not written, small.to_json()))

    previous = signal.signal(signal.SIGALRM, handler)
    try:
        signal.setitimer(signal.ITIMER_REAL, 0.001, 0.001)
        written.append(large.to_json())
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
    assert written == [large_text]
    assert any(inside for inside, _ in seen)
    assert {text for _, text in seen} == {small_text}


def deep_chain():
    """A chain of additions deeper than the writer follows by type, whose innermost operands have
    long names, and its JSON text built here."""
    from quarnel.compute import _compute as C

    x, tail = C.NumericSeries.Reference("a"), []
    for depth in range(110):
        name = "n" * (640 << 10) if depth < 62 else "b"
        x = x + C.NumericSeries.Reference(name)
        tail.append(',"right":{"type":"raw","raw":{"name":"%s"}}}}' % name)
    head = '{"type":"add","add":{"left":' * 110 + '{"type":"raw","raw":{"name":"a"}}'
    return x, head + "".join(tail)


@posix_only("raises from the handler on SIGALRM from setitimer")
@pytest.mark.parametrize("make", [lambda: doubled(20), deep_chain], ids=["wide", "deep"])
def test_a_to_json_stopped_by_a_signal_handler_leaves_the_next_one_whole(make):
    # An exception raised by the handler between two pieces of a long output comes out of the
    # call; each call after it writes the whole text in the memory the stopped one left.
    tree, text = make()
    assert len(text) > 36 << 20

    for _ in range(2):
        stopped = any(stopped_inside(tree.to_json) for _ in range(5))
        assert stopped, "no tick of the timer landed inside to_json() in 5 attempts"
        assert tree.to_json() == text


def stopped_inside(method):
    """Calls a method of the module with a timer ticking every millisecond, whose handler raises
    only while the method runs: between the profiler's reports of its start and of its end, and in
    no frame of the profiler's own. True when the exception so raised came out of the call; False
    when the call ended first, as it may on a machine too loaded to tick in time."""

    class Stop(Exception):
        pass

    # Held in a list: Python 3.10 writes a profiled frame's locals back over its cells after each
    # call of the profiler, which would undo an assignment to a nonlocal.
    running = [False]

    def profile(frame, event, arg):
        if getattr(arg, "__name__", None) == method.__name__:
            running[0] = event == "c_call"

    def handler(signum, frame):
        if running[0] and frame.f_code is not profile.__code__:
            signal.setitimer(signal.ITIMER_REAL, 0)
            raise Stop

    previous = signal.signal(signal.SIGALRM, handler)
    try:
        signal.setitimer(signal.ITIMER_REAL, 0.001, 0.001)
        previous_profile = sys.getprofile()
        sys.setprofile(profile)
        try:
            method()
        except Stop:
            return True
        finally:
            sys.setprofile(previous_profile)
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
    return False


# The memory marker's measure (conftest.py) under an address-space limit 256 MiB above what the
# process maps already.
MEMORY_UNDER_A_LIMIT = r"""
import resource, sys
sys.path.insert(0, sys.argv[1])
import conftest

with open("/proc/self/status") as f:
    used = next(int(line.split()[1]) << 10 for line in f if line.startswith("VmSize:"))
resource.setrlimit(resource.RLIMIT_AS, (used + (256 << 20),) * 2)
free, bound = conftest.free_memory()
print(free >> 20, bound, flush=True)
"""


@unsanitized
@address_space_limited
@posix_only("limits the address space with resource.setrlimit, reading /proc/self/status")
def test_a_memory_mark_counts_the_address_space_already_mapped():
    # A test may take only what the limit leaves beside what its process maps already: 256 MiB
    # here, not the whole limit.
    said = child(MEMORY_UNDER_A_LIMIT, os.path.dirname(__file__), malloc="pymalloc").stdout
    free, bound = said.rstrip("\n").split(" ", 1)
    assert int(free) <= 256
    if bound == "the address-space limit (ulimit -v)":
        assert int(free) > 192, said


HUGE_TEXT = r"""
from quarnel.compute import _compute as C
n = 2**32 + 5
literal = C.StringConstant.Literal("x" * n + '"')
text = literal.to_json()
head = '{"type":"literal","literal":"'
assert len(text) == len(head) + n + 4, len(text)
assert text.startswith(head + "xxxx") and text.endswith('x\\""}')
print("ok", flush=True)
"""


@unsanitized
@pytest.mark.skipif(
    EMULATED,
    reason="needs 14 GiB of the host's memory, which the native run of the suite beside it "
    "may hold at the same time (it runs this test too)",
)
# The node's copy, the written bytes and the resulting str are each as large as the text; on
# Windows the str's pieces too, joined at the end.
@pytest.mark.memory((18 if sys.platform == "win32" else 14) << 30)
def test_a_text_of_four_gibibytes_is_held_and_written():
    assert child(HUGE_TEXT, malloc="pymalloc", timeout=600).stdout == "ok\n"


def test_escaped_keys_of_every_length_leave_room_for_their_values():
    # Each control character is written as six bytes: some key ends exactly where the room the
    # writer had reserved ends, whatever text comes before it.
    from quarnel.compute import _compute as C

    s = C.NumericSeries.Reference("a")
    for m in range(7):
        for n in range(0, 400, 1 if m == 0 else 7):
            first, second = "\x00" + "a" * m, "\x01" * n
            written = json.loads(C.StructSeries.Combine({first: s, second: s}).to_json())
            inputs = written["combine"]["inputs"]
            assert sorted(inputs) == sorted([first, second])
            assert len(set(map(str, inputs.values()))) == 1
