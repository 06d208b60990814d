"""The writer's memory through the module: texts whose escaped form is several times their raw
bytes, written into the output buffer that the module keeps from one call to the next, at every
size it grows to; what that buffer and the writer's stack keep after a call, against the bound
the module promises; and the report a panic writes. Each case runs in its own process: the kept
buffer is the process's, and a corrupted heap ends it."""

import ctypes
import platform
import re
import sys

import pytest
from hostile import SANITIZED, child

GLIBC = sys.platform.startswith("linux") and platform.libc_ver()[0] == "glibc"


def checking_allocator():
    """Environment variables that make glibc fill what it hands out and frees with a pattern, and
    send every freed block through the checks of its heap's integrity rather than a per-thread
    cache: a heap corrupted past the end of a block then fails the process rather than passing
    by chance. None but glibc's, or under the sanitizer, which checks anyway."""
    if not GLIBC or SANITIZED:
        return {}
    return {"GLIBC_TUNABLES": "glibc.malloc.tcache_count=0", "MALLOC_PERTURB_": "165"}


# Texts of characters that escape to six bytes (\u00XX), first alone and four times longer each
# time: the kept buffer, grown to fit one, holds the next one's raw bytes but not its escaped form,
# and must grow past twice its size. Then texts of every kind of character (escaped to six bytes,
# to two, not at all, and characters of two to four bytes), at lengths around the longest text
# held in a value (14 bytes), the buffer's first kilobyte, and the piece long texts are escaped by
# (64 KiB); then a churn of the heap, whose checks find a block written past its end.
ESCAPED_TEXTS = r"""
import json
from quarnel.compute import _compute as C

six = "".join(chr(c) for c in range(32) if chr(c) not in "\b\t\n\f\r")
KINDS = [six, '"\\\b\t\n\f\r', "a/", "\u00e9\u20ac\U0001f600"]
SIXES = [(1, six)] + [(4**i, six) for i in range(1, 10)]
MIXED = [(n, kind) for n in sorted({*range(0, 20), *range(160, 180), *range(330, 350),
                                    *range(1010, 1030), 2000, 5000, 65535, 65536, 65537})
         for kind in KINDS]
s = C.NumericSeries.Reference("a")
for n, kind in SIXES + MIXED:
    text = (kind * (n // len(kind) + 1))[:n]
    quoted = json.dumps(text, ensure_ascii=False)
    literal = C.StringConstant.Literal(text).to_json()
    assert literal == '{"type":"literal","literal":%s}' % quoted, (n, kind)
    key = C.StructSeries.Combine({text: s}).to_json()
    assert key == ('{"type":"combine","combine":{"inputs":{%s:{"type":"numeric","numeric":'
                   '{"type":"raw","raw":{"name":"a"}}}}}}' % quoted), (n, kind)
churn = [bytearray(n) for n in range(1, 200000, 97)]
del churn
print("written", flush=True)
"""


def test_escaped_texts_fit_the_kept_buffer_at_every_size():
    done = child(ESCAPED_TEXTS, malloc="malloc", env=checking_allocator())
    assert done.stdout == "written\n"


# glibc's count of the bytes its heap hands out (mallinfo2, glibc 2.33 and later): the resident
# size does not show memory given back, as glibc keeps freed pages for later.
HELD_AFTER_CALLS = r"""
import ctypes, gc, sys
from quarnel.compute import _compute as C

FIELDS = "arena ordblks smblks hblks hblkhd usmblks fsmblks uordblks fordblks keepcost"

class Mallinfo2(ctypes.Structure):
    _fields_ = [(f, ctypes.c_size_t) for f in FIELDS.split()]

libc = ctypes.CDLL(None)
libc.mallinfo2.restype = Mallinfo2

def in_use():
    m = libc.mallinfo2()
    return m.uordblks + m.hblkhd

s = C.NumericSeries.Reference("a")
if sys.argv[1] == "output":  # three outputs of 30 MiB, the tree itself a few bytes
    tree, calls, least = C.StringConstant.Literal("x" * (30 << 20)), 3, 30 << 20
else:  # 400,000 records open at once, each left open while its first field is written
    tree, calls, least = s, 1, 129 * 400_000
    for _ in range(400_000):
        tree = tree + 1.0
s.to_json()
gc.collect()
before = in_use()
for _ in range(calls):
    assert len(tree.to_json()) > least
gc.collect()
print(in_use() - before)
"""

# What the module keeps after a call: up to 8 MiB of output buffer and 1 MiB of writer stack.
KEPT = (8 << 20) + (1 << 20)


@pytest.mark.skipif(not GLIBC, reason="glibc's mallinfo2() counts the bytes in use")
@pytest.mark.skipif(SANITIZED, reason="the sanitizer's allocator keeps no glibc count")
@pytest.mark.parametrize("which", ["output", "stack"])
def test_memory_kept_after_a_call_is_within_its_bound(which):
    if not hasattr(ctypes.CDLL(None), "mallinfo2"):
        pytest.skip("glibc before 2.33 has no mallinfo2()")
    held = int(child(HELD_AFTER_CALLS, which, malloc="pymalloc").stdout)
    assert held <= KEPT + (512 << 10), f"{held} bytes held after the calls"


PANIC = r"""
from quarnel.compute import _compute as C
try:
    C.NumericSeries.Reference("a").bit_and(2**31)
except BaseException as e:
    print(type(e).__name__)
"""


def test_the_panic_report_says_where_the_failure_happened():
    done = child(PANIC)
    assert done.stdout == "PanicException\n"
    # The place is a source file of the binding named from the project's root, and its line.
    report = re.fullmatch(
        r"_compute panicked at (?P<file>[^:\n]+):(?P<line>[0-9]+): "
        r"integer value exceeds i32 range: TryFromIntError\(\(\)\)\n",
        done.stderr,
    )
    assert report, done.stderr
    assert re.fullmatch(r"quarnel-compute-python/src/(\w+/)*\w+\.(cc|h)", report["file"]), report[
        "file"
    ]
    assert int(report["line"]) > 0
