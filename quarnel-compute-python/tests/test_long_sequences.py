"""Sequence arguments longer than the few elements a call converts in place: their storage on the
heap is given back by every call, taken or refused, whichever way the sequence is read. Thousands
of calls leave malloc's bytes in use where they were; under the sanitized build the calls run a
few times each, and the leak checker at exit makes the same check. Each element read through an
iterator is given back too, and a len() that raises an interrupt or exhausted memory ends the
call with it."""

import gc
import sys

import pytest
from hostile import INTERRUPTS, SANITIZED, UNSIZED, LenFails, Seq, malloc_in_use, resident
from quarnel.compute import _compute as C

# Each case converts about ELEMENTS elements, in calls of its length: a call that kept its storage
# would keep at least 16 bytes an element, megabytes in all. The resident size, where glibc's count
# is not to be had, moves by whole pages and more.
IN_USE, ELEMENTS, ALLOWED = (
    (malloc_in_use, 2 * 10**5, 512 << 10)
    if malloc_in_use() is not None
    else (resident, 6 * 10**5, 4 << 20)
)


class Sized(Seq):
    """A sequence read through iteration, whose len() says how many elements to expect."""

    def __len__(self):
        return len(self.items)


# A list or tuple is read by index, growing its storage as it goes; any other sequence is
# iterated, into storage of its len() where it has one.
FORMS = {"list": list, "tuple": tuple, "sized": Sized, **UNSIZED}
s, r = C.NumericSeries.Reference("a"), C.RangeSeries.Reference("r")
# The builders, each with the elements it takes: two-way forms of numbers and texts (long enough
# to hold their own heap blocks), objects of a class, and the Series variants.
BUILDERS = {
    "numeric series": (C.NumericSeries.Sum, lambda i: s if i % 2 else float(i)),
    "tag texts": (C.GroupByTags.Subset, lambda i: "tag-" + "t" * 40 + str(i)),
    "range series": (C.RangeSeries.Union, lambda i: r),
    "series": (lambda x: C.NumericSeries.RustUdf(x, "f"), lambda i: s),
}


def grown_over_calls(call, length):
    """The growth of malloc's bytes in use over enough calls of this length, after a warm-up."""
    calls = 3 if SANITIZED else max(ELEMENTS // length, 2000)
    for _ in range(min(calls, 200)):
        call()
    before = IN_USE()
    for _ in range(calls):
        call()
    return IN_USE() - before


def outcome(call, argument):
    try:
        return call(argument)
    except TypeError as e:
        return e


@pytest.mark.parametrize("length", [9, 17, 33, 300])
@pytest.mark.parametrize("form", FORMS, ids=FORMS)
@pytest.mark.parametrize("refused", [False, True], ids=["taken", "refused at the end"])
def test_a_long_numeric_series_list_gives_back_its_storage(form, length, refused):
    builder, element = BUILDERS["numeric series"]
    items = [element(i) for i in range(length)] + [object()] * refused
    argument = FORMS[form](items)
    kind = TypeError if refused else C.NumericSeries
    assert type(outcome(builder, argument)) is kind
    grown = grown_over_calls(lambda: outcome(builder, argument), length)
    assert SANITIZED or grown < ALLOWED, f"{grown} bytes kept"


@pytest.mark.parametrize("kind", list(BUILDERS)[1:])
def test_long_lists_of_every_element_form_give_back_their_storage(kind):
    builder, element = BUILDERS[kind]
    for length in (17, 100):
        argument = [element(i) for i in range(length)]
        grown = grown_over_calls(lambda a=argument: builder(a), length)
        assert SANITIZED or grown < ALLOWED, f"{grown} bytes kept by lists of {length}"


@pytest.mark.parametrize("form", FORMS, ids=FORMS)
@pytest.mark.parametrize("kind", BUILDERS)
@pytest.mark.parametrize("refused", [False, True], ids=["taken", "refused at the end"])
def test_every_element_read_is_given_back(form, kind, refused):
    builder, element = BUILDERS[kind]
    items = [element(i) for i in range(3)] + [object()] * refused
    argument = FORMS[form](items)
    outcome(builder, argument)
    gc.collect()
    before = [sys.getrefcount(x) for x in items]
    for _ in range(1000):
        outcome(builder, argument)
    gc.collect()
    assert [sys.getrefcount(x) for x in items] == before


# len() only sizes the result, and an ordinary error from it is discarded (the "len fails" form
# above); an interrupt, an exit or exhausted memory is not.
@pytest.mark.parametrize("error", INTERRUPTS)
@pytest.mark.parametrize("kind", BUILDERS)
def test_an_interrupt_from_len_ends_the_call_as_itself(kind, error):
    builder, element = BUILDERS[kind]
    exc = error("hostile")
    with pytest.raises(error) as raised:
        builder(LenFails([element(i) for i in range(3)], exc))
    assert raised.value is exc
