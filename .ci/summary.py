"""Adds up the tests that CI's steps ran, from their runners' closing lines in the step logs
given as arguments (pytest's; ctest's), and prints the sum as one closing line."""

import re
import sys

total = {"passed": 0, "failed": 0, "skipped": 0}
for path in sys.argv[1:]:
    with open(path, errors="replace") as log:
        for line in log:
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
