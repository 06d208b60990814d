"""Every entry of the module, driven with hostile arguments: a call answers with an object whose
JSON parses or raises an exception the module documents, and leaves every object it was given as
it was. The search (hostile.py) first finds objects of every class and the arguments each
parameter accepts, so that calls also get past the first parameters."""

import itertools
import json

import pytest
from hostile import (
    CLASS_SET,
    CLASSES,
    ENTRIES,
    INTERRUPTS,
    PANIC,
    SETTINGS,
    boom,
    outcome,
    raisers,
    watched_call,
)
from hypothesis import given
from hypothesis import strategies as st

pytestmark = pytest.mark.usefixtures("quiet_unraisable")


def test_the_walk_and_the_search_reach_everything(api_search):
    assert PANIC.__name__ == "PanicException"
    assert [
        f"{n}.{a}"
        for n, cls in CLASSES.items()
        for a in vars(cls)
        if not a.startswith("__") and not getattr(getattr(cls, a), "__text_signature__", None)
    ] == []
    assert sorted(api_search.pool) == sorted(CLASSES)
    assert [e.label for e in ENTRIES if e.label not in api_search.good] == []


@pytest.mark.parametrize("entry", ENTRIES, ids=lambda e: e.label)
@SETTINGS
@given(data=st.data())
def test_an_entry_answers_or_refuses_cleanly(api_search, entry, data):
    values = api_search.values
    drawn = [
        data.draw(st.one_of(st.sampled_from(accepted), values), label=name)
        for (name, _), accepted in zip(entry.params, api_search.good[entry.label])
    ]
    npos = data.draw(st.integers(0, len(drawn)), label="positional")
    args = drawn[:npos]
    kwargs = {
        n: v for (n, _), v in zip(entry.params[npos:], drawn[npos:]) if data.draw(st.integers(0, 7))
    }
    # Mostly, not always, self is an object of the entry's own class.
    own = (
        entry.owner
        and data.draw(st.integers(0, 9), label="own self")
        and api_search.pool[entry.owner]
    )
    self_obj = None
    if entry.owner:
        self_obj = data.draw(st.sampled_from(own) if own else values, label="self")
    result = watched_call(
        lambda *a, **k: entry.call(self_obj, a, k), self_obj, *args, kwargs=kwargs
    )
    if entry.owner and type(self_obj) is not CLASSES[entry.owner]:
        assert type(result) is TypeError, "a wrong self must be refused"
    elif type(result) is str:
        assert entry.label.endswith(".to_json")
        assert json.loads(result, parse_constant=boom) is not None
    else:
        assert (
            isinstance(result, BaseException)
            or type(result) in CLASS_SET
            or result is NotImplemented
        )


@pytest.mark.parametrize("entry", [e for e in ENTRIES if e.params], ids=lambda e: e.label)
def test_interrupts_and_memory_errors_are_never_folded(api_search, entry):
    """An interrupt raised while an argument converts, wherever it sits, comes out as itself:
    never as a TypeError or ValueError, never swallowed. The operator slots are entries too."""
    self_obj = api_search.pool[entry.owner][0] if entry.owner else None
    base = [accepted[0] for accepted in api_search.good[entry.label]]
    places = (lambda v: v, lambda v: [1.5, v], lambda v: {"k": v})
    for i, place, error in itertools.product(range(len(base)), places, INTERRUPTS):
        exc = error("hostile")
        for make in raisers(lambda exc=exc: exc):
            exc.__traceback__ = None  # set again only if it is raised
            got = outcome(entry.call, self_obj, base[:i] + [place(make())] + base[i + 1 :])
            assert exc.__traceback__ is None or got is exc, f"{exc!r} became {got!r}"
