""".ci/summary.py lists every step with its outcome, names those that failed or were left out
and fails the run for them, not for a skipped step; it repeats the steps' notices and adds up
the tests their runners reported."""

import re
import subprocess
import sys

import pytest
from conftest import ROOT

STEPS = ["10-release", "30-cpp", "50-python", "60-aarch64"]
LOGS = {
    "30-cpp": "100% tests passed, 0 tests failed out of 40\n",
    "50-python": "notice: no CPython 3.13 found\n12 passed, 3 skipped in 1.20s\n"
    "SKIPPED [1] test_limits.py:9: 2 passed in a child\n= 1 failed, 5 passed in 3.00s =\n",
    "60-aarch64": "95% tests passed, 2 tests failed out of 40\n",
}
NOT_RUN = "not run: a step it needs failed"


def summary(tmp_path, outcomes):
    """The summary of STEPS with their logs, each step with the outcome given ("passed 12":
    the file 10-release.passed holding 12; None: no outcome)."""
    logs, steps = tmp_path / "ci", tmp_path / "steps"
    logs.mkdir()
    steps.mkdir()
    for step, outcome in zip(STEPS, outcomes):
        (steps / f"{step}.sh").touch()
        (logs / f"{step}.log").write_text(LOGS.get(step, ""))
        if outcome:
            name, held = outcome.split(" ", 1)
            (logs / f"{step}.{name}").write_text(held + "\n")
    script = ROOT / ".ci/summary.py"
    return subprocess.run([sys.executable, script, logs, steps], capture_output=True, text=True)


@pytest.mark.parametrize(
    "outcomes, listed, left",
    [
        (["passed 7"] * 4, ["passed 7 s"] * 4, None),
        (
            ["failed 9", "passed 4", None, None],
            ["failed 9 s", "passed 4 s", NOT_RUN, NOT_RUN],
            "10-release 50-python 60-aarch64",
        ),
        (
            ["passed 9", "failed 4", "passed 8", "skipped needs root (a chroot)"],
            ["passed 9 s", "failed 4 s", "passed 8 s", "skipped: needs root (a chroot)"],
            "30-cpp",
        ),
        (
            ["passed 1"] * 3 + ["skipped no machine"],
            ["passed 1 s"] * 3 + ["skipped: no machine"],
            None,
        ),
        # A run cut short leaves a step with no outcome, which fails it too.
        (["passed 1"] * 3 + [None], ["passed 1 s"] * 3 + [NOT_RUN], "60-aarch64"),
    ],
)
def test_steps_failed_or_left_out_fail_the_run(tmp_path, outcomes, listed, left):
    result = summary(tmp_path, outcomes)
    lines = [" ".join(line.split()) for line in result.stdout.splitlines()]
    assert lines[: len(STEPS)] == [f"test: {s} {o}" for s, o in zip(STEPS, listed)]
    assert result.returncode == (0 if left is None else 1), result.stderr
    assert result.stderr.strip() == (f"test: failed: {left}" if left else "")


def test_notices_are_repeated_and_the_tests_added_up(tmp_path):
    result = summary(tmp_path, ["passed 1"] * 4)
    assert "test: 50-python: notice: no CPython 3.13 found" in result.stdout.splitlines()
    # ctest's 40 and 38, pytest's 12 and 5; the words of a skip's reason are no count.
    totals = re.search(r"^tests: .*", result.stdout, re.M).group()
    assert totals == "tests: 95 passed, 3 failed, 3 skipped"
