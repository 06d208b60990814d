"""Typed builders for time-series compute expressions.

Every public name of the `_compute` extension is importable from here, and typed by its stubs
(`_compute.pyi`): `from quarnel.compute import NumericSeries, abs`. `Node` is the type that
every object of its classes has: one that writes its tree with `to_json()`.
"""

from . import _compute
from ._compute import *  # noqa: F403
from ._compute import __all__ as __all__
from ._typing import Node as Node
from ._version import __version__ as __version__

# The extension's names, as its __all__ lists them, after the package's own. Each type checker
# reads the extension's list by its own form: mypy by the import above, pyright by the sum
# below. The list is a new one: the extension's own stays as it is.
__all__ = ["Node"]  # noqa: F811
__all__ += _compute.__all__
