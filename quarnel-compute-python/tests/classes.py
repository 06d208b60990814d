"""The module's classes under their own names, as its `__all__` lists them, for a table of calls
that names them: `from classes import *`. The module's functions are left out, as their names
(abs, max, min, sum) would hide the builtins; a table calls them through the module."""

from quarnel.compute import _compute as C

__all__ = [name for name in C.__all__ if isinstance(getattr(C, name), type)]
globals().update((name, getattr(C, name)) for name in __all__)
