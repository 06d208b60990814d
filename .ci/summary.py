"""Says which of CI's steps (.ci/steps) did not pass or did not run, from the outcomes that
.ci/Makefile leaves in the log folder, and adds up the tests that the steps ran, from their
runners' closing lines (pytest's; ctest's) in the step logs: summary.py LOGS STEPS. Fails if a
step did not pass."""

import pathlib
import re
import sys

logs, steps = map(pathlib.Path, sys.argv[1:])
total = {"passed": 0, "failed": 0, "skipped": 0}
for path in sorted(logs.glob("*.log")):
    for line in path.read_text(errors="replace").splitlines():
        if re.match(r"=* ?[0-9]+ (passed|failed)\b.* in [0-9.]+s", line):
            for count, word in re.findall(r"([0-9]+) (passed|failed|skipped)", line):
                total[word] += int(count)
        elif m := re.match(
            r"[0-9]+% tests passed(?:, ([0-9]+) tests failed)? out of ([0-9]+)", line
        ):
            failed = int(m.group(1) or 0)
            total["passed"] += int(m.group(2)) - failed
            total["failed"] += failed
print("tests: %(passed)d passed, %(failed)d failed, %(skipped)d skipped" % total)
failed = [s.stem for s in sorted(steps.glob("*.sh")) if (logs / f"{s.stem}.failed").exists()]
not_run = [
    s.stem
    for s in sorted(steps.glob("*.sh"))
    if not (logs / f"{s.stem}.passed").exists() and s.stem not in failed
]
if not_run:
    print("ci: not run, a step they need having failed:", " ".join(not_run))
if failed or not_run:
    sys.exit("ci: failed: " + " ".join(failed + not_run))
