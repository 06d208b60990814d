"""Builds a small expression and prints its wire JSON."""

from quarnel.compute import NumericSeries, max

speed = NumericSeries.Reference("speed")
limit = NumericSeries.Reference("limit")
print((speed + 2.0).to_json())
print(max([speed, limit * 1.5]).to_json())
print((speed > limit).to_json())
