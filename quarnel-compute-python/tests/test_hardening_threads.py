"""Eight threads build from the same objects and write them at the same time: each thread gets,
call for call, what one thread alone gets (the same JSON, or the same refusal), and nothing
crashes. The interpreter is made to switch threads as often as it can."""

import sys
import threading

import pytest

from test_hardening_api import POOL, RECIPES
from test_hardening_leaks import _failing_variants

THREADS = 8
ROUNDS = 10


def outcome(entry, self_obj, args):
    try:
        return entry.call(self_obj, args).to_json()
    except BaseException as e:  # noqa: B036 - a refusal is an outcome to compare
        return (type(e).__name__, str(e))


def _calls():
    calls = [(e, s, a) for e, s, a in RECIPES]
    calls += [v for e, s, a in RECIPES[::7] for v in _failing_variants(e, s, a)]
    return calls


@pytest.fixture
def fast_switching(monkeypatch):
    previous = sys.getswitchinterval()
    sys.setswitchinterval(1e-6)
    monkeypatch.setattr(sys, "unraisablehook", lambda _: None)
    yield
    sys.setswitchinterval(previous)


def run_threads(work):
    """Runs work(index) on THREADS threads started together; returns their results."""
    start = threading.Barrier(THREADS)
    results, failures = [None] * THREADS, []

    def main(i):
        try:
            start.wait()
            results[i] = work(i)
        except BaseException as e:  # noqa: B036 - handed to the test's thread
            failures.append(e)

    threads = [threading.Thread(target=main, args=(i,)) for i in range(THREADS)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    if failures:
        raise failures[0]
    return results


def test_threads_building_from_shared_objects_agree(fast_switching):
    calls = _calls()
    expected = [outcome(*c) for c in calls]

    def work(i):
        order = list(range(len(calls)))
        order = order[i * 37 % len(order) :] + order[: i * 37 % len(order)]
        got = [None] * len(calls)
        for _ in range(ROUNDS):
            for k in order:
                got[k] = outcome(*calls[k])
        return got

    for got in run_threads(work):
        assert got == expected


def test_threads_writing_one_deep_tree_agree(fast_switching):
    deep = POOL["NumericSeries"][0]
    for _ in range(20_000):
        deep = -deep
    text = deep.to_json()

    def work(i):
        outs = set()
        for _ in range(10):
            outs.add(deep.to_json())
            outs.add((deep + i).to_json().count(text))
        return outs

    for outs in run_threads(work):
        assert outs == {text, 1}
