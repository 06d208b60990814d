"""Two builds of the extension side by side in one process: the release wheel against a wheel
built from the tree with the machine's compiler, say. Each case is timed for every build in
turn, round after round, and each build keeps its best round, so that both meet the same load
of the machine; the figures are ratios to the first build.

    python benchmarks/compare.py 'dist/*-manylinux*_x86_64.whl' 'build/wheel/*.whl'

A build is a wheel or an extension file, optionally named: NAME=PATH (PATH may be a pattern
that matches one file).
"""

from __future__ import annotations

import argparse
import gc
import glob
import importlib.util
import math
import pathlib
import platform
import sys
import tempfile
import timeit
import zipfile


def release_wheel(dist: pathlib.Path, machine: str = "") -> str:
    """The pattern of the release wheel that this machine runs (or `machine`), of those that
    tools/release.sh leaves in dist/: a manylinux wheel for each Linux machine, and Windows's."""
    return str(dist / f"*-manylinux*_{machine or platform.machine()}.whl")


def load(name: str, pattern: str, tmp: pathlib.Path):
    paths = glob.glob(pattern)
    if len(paths) != 1:
        sys.exit(f"{pattern}: {len(paths)} files match, not one")
    path = pathlib.Path(paths[0])
    if path.suffix == ".whl":
        with zipfile.ZipFile(path) as z:
            (so,) = [n for n in z.namelist() if n.endswith(".so")]
            path = pathlib.Path(z.extract(so, tmp / name))
    # The module keeps its own name's last part, which its init function is found by.
    spec = importlib.util.spec_from_file_location(f"{name}._compute", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def cases(C):
    """name -> (function, calls per timing, units per call)."""
    R = C.NumericSeries.Reference
    s, b, w = R("a"), R("b"), C.Duration.Seconds(10)
    added, small = s + 2.0, s.rolling_time(C.Duration.Seconds(10)).sum()
    tags = ["site", "unit", "site", "asset"]

    def terms(n):
        return C.NumericSeries.Sum([R(f"x{i}") * 2.0 + i for i in range(n)])

    def chain():
        t = s
        for _ in range(10_000):
            t = t + 1.0
        return t

    def steps(n):
        t = R("s")
        for _ in range(n):
            t = t + 2.0
        return t

    sum_1k, sum_20k, chain_20k = terms(1_000), terms(20_000), steps(20_000)
    return {
        "s + 2.0": (lambda: s + 2.0, 20_000, 1),
        "s.rolling_time(Seconds(10)).sum()": (
            lambda: s.rolling_time(C.Duration.Seconds(10)).sum(),
            10_000,
            1,
        ),
        "s.head(10)": (lambda: s.head(10), 20_000, 1),
        "s.select_tags(tags)": (lambda: s.select_tags(tags), 20_000, 1),
        "s.rolling_time(window=w)": (lambda: s.rolling_time(window=w), 20_000, 1),
        "max([s, b])": (lambda: C.max([s, b]), 20_000, 1),
        "s.time_difference('days')": (lambda: s.time_difference("days"), 20_000, 1),
        "s.time_difference()": (s.time_difference, 20_000, 1),
        "chain s = s + 1.0, per op": (chain, 3, 10_000),
        "1,000-term sum built, per term": (lambda: terms(1_000), 20, 1_000),
        "to_json, s + 2.0": (added.to_json, 20_000, 1),
        "to_json, 12-object tree": (small.to_json, 20_000, 1),
        "to_json, 1,000-term sum, per term": (sum_1k.to_json, 200, 1_000),
        "to_json, 20,000-term sum, per term": (sum_20k.to_json, 10, 20_000),
        "to_json, 20,000-step chain, per step": (chain_20k.to_json, 10, 20_000),
    }


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("builds", nargs="+", help="wheel or extension file, as [NAME=]PATH")
    parser.add_argument("--rounds", type=int, default=40)
    args = parser.parse_args()
    if len(args.builds) < 2:
        parser.error("give two builds or more")
    with tempfile.TemporaryDirectory() as tmp:
        builds = {}
        for i, spec in enumerate(args.builds):
            name, _, path = spec.rpartition("=")
            builds[name or f"b{i}"] = load(name or f"b{i}", path, pathlib.Path(tmp))
        timed = {name: cases(C) for name, C in builds.items()}
        best = {name: {} for name in builds}
        gc.disable()
        for _ in range(args.rounds):
            for case in timed[next(iter(builds))]:
                for name in builds:
                    f, calls, units = timed[name][case]
                    ns = timeit.timeit(f, number=calls) / calls / units * 1e9
                    best[name][case] = min(best[name].get(case, math.inf), ns)
        gc.enable()

    first, *others = builds
    print(f"{'case':38s}{first:>12s}" + "".join(f"{f'{o} / {first}':>16s}" for o in others))
    logs = {o: 0.0 for o in others}
    for case, ns in best[first].items():
        ratios = {o: best[o][case] / ns for o in others}
        print(f"{case:38s}{ns:10.1f}ns" + "".join(f"{ratios[o]:15.2f}x" for o in others))
        for o in others:
            logs[o] += math.log(ratios[o])
    n = len(best[first])
    print(
        f"{'geometric mean':38s}{'':12s}"
        + "".join(f"{math.exp(logs[o] / n):15.2f}x" for o in others)
    )


if __name__ == "__main__":
    main()
