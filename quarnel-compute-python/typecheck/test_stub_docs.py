"""Every class, method, operator and function of the extension has a stub with a docstring,
and every example in those docstrings writes what it shows."""

import ast
import doctest
from pathlib import Path

import pytest
import quarnel.compute as qc
from quarnel.compute import _compute

STUB = Path(_compute.__file__).with_name("_compute.pyi")
TREE = ast.parse(STUB.read_text())


def documented(node):
    return bool(ast.get_docstring(node))


def stub_entries():
    """{name: docstring present} for each class and the first def of each name."""
    out = {}
    for node in TREE.body:
        if isinstance(node, ast.ClassDef):
            out[node.name] = documented(node)
            for item in node.body:
                if isinstance(item, ast.FunctionDef):
                    out.setdefault(f"{node.name}.{item.name}", documented(item))
        elif isinstance(node, ast.FunctionDef):
            out.setdefault(node.name, documented(node))
    return out


def runtime_names():
    """The extension's own classes, their callables (slot wrappers included) and functions."""
    names = []
    for name in _compute.__all__:
        obj = getattr(_compute, name)
        names.append(name)
        if isinstance(obj, type):
            names.append(f"{name}.__new__")  # a constructor, or a refusal
            for attr, member in vars(obj).items():
                if callable(member) or isinstance(member, staticmethod):
                    names.append(f"{name}.{attr}")
    return names


def test_every_runtime_name_has_a_documented_stub():
    stubs = stub_entries()
    missing = [n for n in runtime_names() if n not in stubs]
    undocumented = [n for n in runtime_names() if not stubs.get(n, True)]
    assert not missing and not undocumented, (missing, undocumented)


def test_the_stub_declares_nothing_the_extension_lacks():
    runtime = set(runtime_names())
    extra = [n for n, _ in stub_entries().items() if n not in runtime]
    assert not extra


def test_runtime_docstrings_stay_text_signatures():
    # The stubs carry the prose; the extension's own __doc__ is its text signature alone.
    for name in runtime_names():
        owner, _, attr = name.partition(".")
        obj = getattr(_compute, owner)
        if attr == "__new__":
            continue
        member = getattr(obj, attr) if attr else obj
        if attr and not attr.startswith("__"):
            assert member.__doc__ is None and member.__text_signature__, name


def stub_examples():
    parser = doctest.DocTestParser()
    out = []
    for node in ast.walk(TREE):
        if isinstance(node, (ast.ClassDef, ast.FunctionDef)):
            doc = ast.get_docstring(node)
            if doc and ">>>" in doc:
                out.append(parser.get_doctest(doc, dict(vars(qc)), node.name, str(STUB), 0))
    return out


@pytest.mark.parametrize("test", stub_examples(), ids=lambda t: t.name)
def test_stub_examples_write_what_they_show(test):
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    runner.run(test)
    assert runner.failures == 0
