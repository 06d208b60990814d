"""StructSeries: named series joined into a struct series, and numeric fields taken out of it."""

import json

import pytest
from hypothesis import given, strategies as st

from conftest import CAT, S, STRUCT, lit, node, obj, raw, type_error, value_error, var


def test_the_documented_examples(C):
    x, y = C.NumericSeries.Reference("x"), C.CategoricalSeries.Reference("y")
    assert C.StructSeries.Combine({"b": x, "a": y}).to_json() == (
        '{"type":"combine","combine":{"inputs":{"a":{"type":"enum","enum":{"type":"raw","raw":{"name":"y"}}},'
        '"b":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"x"}}}}}}')
    t = C.StructSeries.Combine({"a": x})
    assert t.extract_numeric(["f"], "int64").to_json() == (
        '{"type":"extractFromStruct","extractFromStruct":{"input":{"type":"combine","combine":{"inputs":'
        '{"a":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"x"}}}}}},"fieldPath":'
        '[{"type":"literal","literal":"f"}],"dataType":"INT64"}}')
    assert C.StructSeries.Combine({}).to_json() == '{"type":"combine","combine":{}}'


def test_combine_orders_members_by_bytes_and_nests_any_series(C, o):
    member = node("numeric", S)
    with o.unchanged():
        combined = C.StructSeries.Combine({"b": o.s, "aa": o.s, "a": o.s, "B": o.s, "": o.s})
        assert combined.to_json() == node("combine", obj(("inputs", obj(
            ("", member), ("B", member), ("a", member), ("aa", member), ("b", member)))))
        nested = C.StructSeries.Combine(inputs={"s": o.t, "c": o.c})
        assert nested.to_json() == node("combine", obj(("inputs", obj(
            ("c", node("enum", CAT)), ("s", node("struct", STRUCT))))))


def test_two_keys_with_equal_text_collapse_into_the_later(C, o):
    class Key(str):
        # Distinct dict keys whose text is the same.
        __hash__ = object.__hash__

        def __eq__(self, other):
            return self is other

    first, second = C.NumericSeries.Reference("first"), C.NumericSeries.Reference("second")
    inputs = {Key("k"): first, "j": o.c, Key("k"): second}
    assert len(inputs) == 3
    assert C.StructSeries.Combine(inputs).to_json() == node("combine", obj(("inputs", obj(
        ("j", node("enum", CAT)), ("k", node("numeric", raw("second")))))))


@pytest.mark.parametrize(
    "args,members",
    [
        ((["a", "b", "a"],), [("fieldPath", "[%s,%s,%s]" % (lit("a"), lit("b"), lit("a")))]),
        (([],), []),
        ((["x"], None), [("fieldPath", "[%s]" % lit("x"))]),
        ((("x",), "int64"), [("fieldPath", "[%s]" % lit("x")), ("dataType", '"INT64"')]),
        ((["x"], "float64"), [("fieldPath", "[%s]" % lit("x")), ("dataType", '"FLOAT64"')]),
        (([], "uint64"), [("dataType", '"UINT64"')]),
        (([""],), [("fieldPath", "[%s]" % lit(""))]),
    ],
)
def test_extract_numeric(C, o, args, members):
    with o.unchanged():
        result = o.t.extract_numeric(*args)
        assert type(result) is C.NumericSeries
        assert result.to_json() == node("extractFromStruct", obj(("input", STRUCT), *members))


def test_extract_numeric_keeps_variables_in_the_path(C, o):
    path = [C.StringConstant.Reference("v"), "a"]
    assert o.t.extract_numeric(field_path=path, data_type=None).to_json() == node("extractFromStruct", obj(
        ("input", STRUCT), ("fieldPath", "[%s,%s]" % (var("v"), lit("a")))))


@pytest.mark.parametrize("text", ["INT64", "Int64", "float", "int", "", "int64 "])
def test_data_type_names_are_exact(C, o, text):
    with o.unchanged():
        assert value_error(o.t.extract_numeric, ["x"], text) == \
            "Failed to convert '%s' to NumericDataType enum: Invalid custom type: %s" % (text, text)


@pytest.mark.parametrize(
    "call,message",
    [
        (lambda C, o: o.t.extract_numeric("a"), "argument 'field_path': Can't extract `str` to `Vec`"),
        (lambda C, o: o.t.extract_numeric(), "StructSeries.extract_numeric() missing 1 required positional argument: "
                                             "'field_path'"),
        (lambda C, o: C.StructSeries.Combine([("a", o.s)]), "argument 'inputs': 'list' object is not an instance of 'dict'"),
        (lambda C, o: C.StructSeries.Combine({1: o.s}), "argument 'inputs': 'int' object is not an instance of 'str'"),
        (lambda C, o: C.StructSeries.Combine({"a": 1.0}),
         "argument 'inputs': Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
         "struct (Class(StructSeries))"),
        (lambda C, o: C.StructSeries.Combine({"a": o.r}),
         "argument 'inputs': Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
         "struct (Class(StructSeries))"),
    ],
)
def test_refusals(C, o, call, message):
    with o.unchanged():
        assert type_error(call, C, o) == message


def test_the_path_converts_before_the_data_type(C, o):
    assert type_error(o.t.extract_numeric, "a", "INT64") == "argument 'field_path': Can't extract `str` to `Vec`"


@given(st.dictionaries(st.text(st.characters(blacklist_categories=("Cs",)), max_size=3), st.booleans(), max_size=6))
def test_members_are_ordered_by_utf8_bytes(keys):
    from quarnel.compute import _compute as C

    s, c = C.NumericSeries.Reference("s"), C.CategoricalSeries.Reference("c")
    written = json.loads(C.StructSeries.Combine({k: s if v else c for k, v in keys.items()}).to_json())
    members = list(written["combine"].get("inputs", {}).items())
    assert [k for k, _ in members] == sorted(keys, key=lambda k: k.encode("utf-8"))
    for k, series in members:
        assert series["type"] == ("numeric" if keys[k] else "enum")
