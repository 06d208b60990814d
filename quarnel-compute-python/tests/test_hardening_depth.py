"""Deep trees through the Python API: a million levels built one call at a time, written and
freed on the main thread, and 2*10^5 levels in a thread whose stack is 256 KiB. Nothing on
the way (building, writing, the last release of the tree) may recurse on the C stack.

The expected text is the one-level text nested n times: its prefix and suffix around the
operand's own JSON, repeated. The wire forms themselves are checked elsewhere; here only the
depth is."""

import threading

import pytest

from quarnel.compute import _compute as C

DEEP = 10**6
THREAD_DEEP = 2 * 10**5
THREAD_STACK = 256 * 1024


def _method(cls_name, name):
    cls = getattr(C, cls_name)
    if not hasattr(cls, name):
        pytest.skip(f"{cls_name}.{name} is not there yet")
    return getattr(cls, name)


def _chains():
    """name -> () -> (seed, step); each step wraps its argument once."""

    def numeric_add():
        other = C.NumericSeries.Reference("b")
        return C.NumericSeries.Reference("a"), lambda x: x + other

    def numeric_reflected():
        return C.NumericSeries.Reference("a"), lambda x: 2.5 ** x

    def numeric_negate():
        return C.NumericSeries.Reference("a"), lambda x: -x

    def boolean_and():
        other = C.NumericSeries.Reference("b") > 2.0
        return C.NumericSeries.Reference("a") < 1.0, lambda b: b & other

    def range_invert():
        invert = _method("RangeSeries", "invert")
        return _method("RangeSeries", "Reference")("r"), invert

    def dataset_tag():
        tag = _method("Dataset", "tag")
        key, value = C.StringConstant.Literal("k"), C.StringConstant.Literal("v")
        return _method("Dataset", "Asset")("rid"), lambda d: tag(d, key, value)

    def duration_add():
        two = C.Duration.Minutes(2)
        return C.Duration.Seconds(1), lambda d: d + two

    def duration_subtract():
        two = C.Duration.Minutes(2)
        return C.Duration.Seconds(1), lambda d: two - d

    def duration_negate():
        return C.Duration.Seconds(1), lambda d: -d

    return {f.__name__: f for f in (numeric_add, numeric_reflected, numeric_negate, boolean_and, range_invert,
                                     dataset_tag, duration_add, duration_subtract, duration_negate)}


CHAINS = _chains()


def _repeats(text, pos, unit, n):
    """text holds unit n times from pos on (compared in blocks, without building the whole)."""
    block = unit * 4096
    full, rest = divmod(n, 4096)
    for _ in range(full):
        if not text.startswith(block, pos):
            return False
        pos += len(block)
    return text.startswith(unit * rest, pos)


def build_write_free(make, n):
    seed, step = make()
    base = seed.to_json()
    parts = step(seed).to_json().split(base)
    assert len(parts) == 2, "the operand's text appears once in one level"
    prefix, suffix = parts
    x = seed
    for _ in range(n):
        x = step(x)
    text = x.to_json()
    del x  # the last reference: the whole tree is released here
    assert len(text) == len(base) + n * (len(prefix) + len(suffix))
    assert _repeats(text, 0, prefix, n)
    assert text.startswith(base, n * len(prefix))
    assert _repeats(text, n * len(prefix) + len(base), suffix, n)


@pytest.mark.parametrize("name", sorted(CHAINS))
def test_a_million_levels(name):
    build_write_free(CHAINS[name], DEEP)


@pytest.mark.parametrize("name", sorted(CHAINS))
def test_deep_trees_in_a_thread_with_a_small_stack(name):
    make = CHAINS[name]
    make()  # a missing method skips here, on the test's own thread
    failures = []

    def run():
        try:
            build_write_free(make, THREAD_DEEP)
        except BaseException as e:  # noqa: B036 - handed to the test's thread
            failures.append(e)

    previous = threading.stack_size(THREAD_STACK)
    try:
        worker = threading.Thread(target=run)
        worker.start()
    finally:
        threading.stack_size(previous)
    worker.join()
    if failures:
        raise failures[0]


def test_a_deep_tree_shared_by_many_objects_is_released_once():
    """Many objects hold the same deep tree; releasing them in any order frees it once."""
    seed, step = CHAINS["numeric_negate"]()
    x = seed
    for _ in range(THREAD_DEEP):
        x = step(x)
    holders = [x + 1.0 for _ in range(100)] + [C.NumericSeries.Max([x, x]) for _ in range(100)]
    text = x.to_json()
    del x
    for h in holders[::40]:
        assert text in h.to_json()
    del holders[::2]
    del holders
