"""Shared helpers: the wire forms the tests expect, written out from the node shapes."""

import contextlib

import pytest

from quarnel.compute import _compute


@pytest.fixture
def C():
    return _compute


def node(variant, payload):
    """A union value: {"type": variant, variant: payload}."""
    return '{"type":"%s","%s":%s}' % (variant, variant, payload)


def obj(*members):
    """A record from (key, json) pairs, in the given order."""
    return "{" + ",".join('"%s":%s' % (k, v) for k, v in members) + "}"


def raw(name):
    return node("raw", obj(("name", '"%s"' % name)))


def const(number_text):
    """The numeric series constant node of a float, written as number_text."""
    return node("constant", node("double", node("literal", number_text)))


def lit(text):
    return node("literal", '"%s"' % text)


@contextlib.contextmanager
def unchanged(*objects):
    """The objects keep their JSON across the block, whether it raises or not."""
    before = [o.to_json() for o in objects]
    yield
    assert [o.to_json() for o in objects] == before
