"""On a debug interpreter, which counts every reference the process holds: each call of every
entry of the API (each recipe that makes an object, once more with its lists given as sequences
without len(), with a surplus argument, an unknown keyword, each argument replaced by one that
fails, and the writer of every object found), and each refused call of a class without a
constructor, leaves that count where it was, call after call."""

import gc
import sys

import pytest
from hostile import outcome
from test_leaks import REFUSED_CALLS, REFUSING, mixed_calls, with_unsized

pytestmark = [
    pytest.mark.skipif(
        not hasattr(sys, "gettotalrefcount"), reason="needs a debug interpreter (Py_DEBUG)"
    ),
    pytest.mark.usefixtures("quiet_unraisable"),
]

CALLS = 100


def growth(call, collect):
    """What the total reference count grows by over CALLS calls, after a warm-up; with the
    collector run before and after, when collect is set."""
    for _ in range(2):
        outcome(call)
    if collect:
        gc.collect()
    before = sys.gettotalrefcount()
    for _ in range(CALLS):
        outcome(call)
    if collect:
        gc.collect()
    return sys.gettotalrefcount() - before


def call_growth(call, collect):
    """growth() of the call beyond that of a call that does nothing (the count read first is an
    object too)."""
    return growth(call, collect) - growth(lambda: None, collect)


def test_no_call_of_any_entry_grows_the_total_reference_count(api_search):
    calls, _ = mixed_calls(with_unsized(api_search.recipes), api_search.objects)
    assert len(calls) > 1000
    # A count that the interpreter moves by itself (a cache filling, garbage waiting for the
    # collector) is not the call's: a call is counted as growing only if it grows again when
    # measured once more, with the collector run around it.
    grown = [c for c in calls if call_growth(c, collect=False) > 0]
    assert len(grown) < 200, f"{len(grown)} of {len(calls)} calls grew the count"
    grown = [g for c in grown if (g := call_growth(c, collect=True)) > 0]
    assert grown == [], f"{len(grown)} of {len(calls)} calls grew the count"


@pytest.mark.parametrize("cls", REFUSING.values(), ids=REFUSING)
@pytest.mark.parametrize("call", REFUSED_CALLS.values(), ids=REFUSED_CALLS)
def test_a_refused_call_of_a_class_without_a_constructor_grows_no_count(cls, call):
    assert call_growth(lambda: call(cls, 1.0), collect=True) <= 0
