"""Eight threads build from the same objects and write them at the same time, the interpreter
switching between them as often as it can: each thread gets, call for call, what one thread
alone gets (the same JSON, or the same refusal), and nothing crashes."""

import sys

import pytest
from hostile import failing_variants, outcome, run_threads

pytestmark = pytest.mark.usefixtures("quiet_unraisable")


def answer(call):
    got = outcome(call)
    return got.to_json() if hasattr(got, "to_json") else (type(got).__name__, str(got))


def test_threads_building_from_and_writing_shared_objects_agree(api_search):
    deep = api_search.pool["NumericSeries"][0]
    for _ in range(20_000):
        deep = -deep + 1.0  # every other level a record left open while its first field is written
    recipes = api_search.recipes
    recipes = recipes + [v for r in recipes[::7] for v in failing_variants(*r)]
    calls = [lambda e=e, s=s, a=a: e.call(s, a) for e, s, a in recipes]
    calls += [lambda: deep, lambda: deep + 1.0]
    expected, previous = [answer(c) for c in calls], sys.getswitchinterval()
    orders = [[(k + 37 * i) % len(calls) for k in range(len(calls))] for i in range(8)]
    sys.setswitchinterval(1e-6)
    try:
        results = run_threads(
            lambda i: [[answer(calls[k]) for k in orders[i]] for _ in range(10)], 8
        )
    finally:
        sys.setswitchinterval(previous)
    assert all(
        got == [expected[k] for k in order]
        for rounds, order in zip(results, orders)
        for got in rounds
    )
