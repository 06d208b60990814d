"""The tables that the Python tests and these checks share (tests/operators.py) are imported
from where the tests keep them."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests"))
