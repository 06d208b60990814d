"""The typing cases (cases.py) name every public name of the package, which they take by its
`__all__`: so both checkers are seen to read that list whole."""

import ast
from pathlib import Path

import quarnel.compute as qc


def test_the_cases_name_every_public_name():
    tree = ast.parse(Path(__file__).with_name("cases.py").read_text())
    named = {n.id for n in ast.walk(tree) if isinstance(n, ast.Name)}
    missing = [name for name in qc.__all__ if name not in named]
    assert not missing, f"no case in typecheck/cases.py names {', '.join(missing)}: add one each"
