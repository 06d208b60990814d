"""Deep trees through the Python API: a million levels built one call at a time, written and
freed, and 2*10^5 levels in a thread whose stack is 256 KiB. Nothing on the way (building,
writing, releasing the tree while a subtree of it is still held) may recurse on the C stack."""

import operator

import pytest
from hostile import run_threads
from quarnel.compute import _compute as C

A, B = C.NumericSeries.Reference("a"), C.NumericSeries.Reference("b")
KEY, VALUE = C.StringConstant.Literal("k"), C.StringConstant.Literal("v")
ONE, TWO = C.Duration.Seconds(1), C.Duration.Minutes(2)
CHAINS = {  # name: (seed, a step that wraps its argument once)
    "numeric_add": (A, lambda x: x + B),
    "numeric_reflected_pow": (A, lambda x: 2.5**x),
    "numeric_negate": (A, operator.neg),
    "boolean_and": (A < 1.0, lambda x: x & (B > 2.0)),
    "range_invert": (C.RangeSeries.Reference("r"), C.RangeSeries.invert),
    "dataset_tag": (C.Dataset.Asset("rid"), lambda d: d.tag(KEY, VALUE)),
    "duration_add": (ONE, lambda d: d + TWO),
    "duration_reflected_sub": (ONE, lambda d: TWO - d),
    "duration_negate": (ONE, operator.neg),
}


def build_write_free(name, n):
    """The n-level text is the one-level text's prefix n times, the seed's text, its suffix n
    times."""
    seed, step = CHAINS[name]
    base = seed.to_json()
    prefix, suffix = step(seed).to_json().split(base)
    x = seed
    for i in range(n):
        x = step(x)
        if i == n // 2:
            inner = x
    text, lp, ls, outer = x.to_json(), len(prefix), len(suffix), n - n // 2 - 1
    del x  # the last reference to the whole: released while `inner` still holds a part of it
    assert len(text) == len(base) + n * (lp + ls) and text.startswith(base, n * lp)
    assert text.count(prefix, 0, n * lp) == n and text.count(suffix, n * lp + len(base)) == n
    assert inner.to_json() == text[outer * lp : len(text) - outer * ls]


@pytest.mark.parametrize("name", CHAINS)
def test_deep_trees(name):
    build_write_free(name, 10**6)
    run_threads(lambda _: build_write_free(name, 2 * 10**5), 1, stack_size=256 << 10)
