"""Sums up a test run (tools/test.sh) from what .ci/Makefile leaves in the log folder: each step
of .ci/steps with its outcome and seconds (a skipped step with its reason instead), the notices
the steps gave (lines of their logs starting with "notice:"), and the tests that the steps ran,
added up from their runners' closing lines (pytest's; ctest's) in the step logs: summary.py LOGS
STEPS. Fails if a step failed or was left out; a skipped step (one that cannot run on this
machine) is neither."""

import pathlib
import re
import sys

logs, steps = map(pathlib.Path, sys.argv[1:])
total = {"passed": 0, "failed": 0, "skipped": 0}
notices = []
for path in sorted(logs.glob("*.log")):
    for line in path.read_text(errors="replace").splitlines():
        if line.startswith("notice:"):
            notices.append(f"{path.stem}: {line}")
        elif re.match(r"=* ?[0-9]+ (passed|failed)\b.* in [0-9.]+s", line):
            for count, word in re.findall(r"([0-9]+) (passed|failed|skipped)", line):
                total[word] += int(count)
        elif m := re.match(
            r"[0-9]+% tests passed(?:, ([0-9]+) tests failed)? out of ([0-9]+)", line
        ):
            failed = int(m.group(1) or 0)
            total["passed"] += int(m.group(2)) - failed
            total["failed"] += failed

failed, not_run = [], []
for step in sorted(s.stem for s in steps.glob("*.sh")):
    for outcome in ("passed", "failed", "skipped"):
        if (logs / f"{step}.{outcome}").exists():
            held = (logs / f"{step}.{outcome}").read_text().strip()
            if outcome == "skipped":
                print(f"test: {step:22} skipped: {held}")
            else:
                print(f"test: {step:22} {outcome:6} {held:>5} s")
            break
    else:
        outcome = "not run"
        print(f"test: {step:22} not run: a step it needs failed")
    {"failed": failed, "not run": not_run}.get(outcome, []).append(step)
for notice in notices:
    print("test:", notice)
print("tests: %(passed)d passed, %(failed)d failed, %(skipped)d skipped" % total)
if failed or not_run:
    sys.exit("test: failed: " + " ".join(failed + not_run))
