"""Typed builders for time-series compute expressions; see the `_compute` extension module."""
