"""Typed builders for time-series compute expressions.

Every public name of the `_compute` extension is importable from here, and typed by its stubs
(`_compute.pyi`): `from quarnel.compute import NumericSeries, abs`.
"""

# The names are the extension's, as its __all__ lists them: this package adds none of its own.
# Type checkers read them from the stubs through the two imports below.
from ._compute import *  # noqa: F403
from ._compute import __all__ as __all__
from ._version import __version__ as __version__
