"""Eight threads build from the same objects and write them at the same time, the interpreter
switching between them as often as it can: each thread gets, call for call, what one thread
alone gets (the same JSON, or the same refusal), and nothing crashes."""

import sys

from test_hardening_api import POOL, RECIPES, failing_variants, outcome
from test_hardening_api import quiet_unraisable  # noqa: F401 - an autouse fixture
from test_hardening_depth import run_threads


def answer(call):
    got = outcome(call)
    return got.to_json() if hasattr(got, "to_json") else (type(got).__name__, str(got))


def test_threads_building_from_and_writing_shared_objects_agree():
    deep = POOL["NumericSeries"][0]
    for _ in range(20_000):
        deep = -deep
    recipes = RECIPES + [v for r in RECIPES[::7] for v in failing_variants(*r)]
    calls = [lambda e=e, s=s, a=a: e.call(s, a) for e, s, a in recipes] + [lambda: deep, lambda: deep + 1.0]
    expected, previous = [answer(c) for c in calls], sys.getswitchinterval()
    orders = [[(k + 37 * i) % len(calls) for k in range(len(calls))] for i in range(8)]
    sys.setswitchinterval(1e-6)
    try:
        results = run_threads(lambda i: [[answer(calls[k]) for k in orders[i]] for _ in range(10)], 8)
    finally:
        sys.setswitchinterval(previous)
    assert all(got == [expected[k] for k in order] for rounds, order in zip(results, orders) for got in rounds)
