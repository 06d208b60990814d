"""Builds a small expression and prints its wire JSON."""

from quarnel.compute import _compute as C

speed = C.NumericSeries.Reference("speed")
limit = C.NumericSeries.Reference("limit")
print((speed + 2.0).to_json())
print(C.max([speed, limit * 1.5]).to_json())
print((speed > limit).to_json())
