"""The test command's decisions about its own run: when it shortens (a CI job on fewer than 4
cores), that .ci/run makes a run a CI job, that .ci/Makefile runs the same steps from any
folder, and that the aarch64 step runs as root alone, skipped with its reason otherwise."""

import re
import shutil
import sys

import pytest
from conftest import BASH, ROOT, run

WHEELS = [
    "quarnel_compute-0.1.0-cp310-abi3-manylinux2014_aarch64.manylinux_2_17_aarch64.whl",
    "quarnel_compute-0.1.0-cp310-abi3-manylinux2014_x86_64.manylinux_2_17_x86_64.whl",
]
ROOT_REASON = "needs root (a chroot and binfmt_misc for qemu)"


@pytest.mark.parametrize(
    "ci, nproc, ci_cores, given, short",
    [
        ("true", 3, None, None, "1"),
        ("true", 4, None, None, "0"),
        ("github-actions", 2, None, None, "1"),
        (None, 2, None, None, "0"),
        ("", 2, None, None, "0"),
        ("false", 2, None, None, "0"),
        ("0", 3, None, None, "0"),
        ("1", 8, "3", None, "1"),  # CI_CORES is the count the rule takes
        ("1", 2, "4", None, "0"),
        ("true", 2, None, "0", "0"),  # CI_SHORT set by hand, either way, wins
        (None, 8, None, "1", "1"),
    ],
)
def test_a_ci_job_on_fewer_than_four_cores_is_shortened(fakes, ci, nproc, ci_cores, given, short):
    fakes.add("nproc", f"echo {nproc}")
    result = run(
        [BASH, ROOT / "tools/test.sh", "--print-short"],
        fakes,
        CI=ci,
        CI_CORES=ci_cores,
        CI_SHORT=given,
    )
    assert result.stdout == f"CI_SHORT={short}\n", result.stderr


@pytest.mark.parametrize(
    "ci, seen", [(None, "true"), ("false", "false"), ("woodpecker", "woodpecker")]
)
def test_ci_run_is_a_ci_job_unless_the_service_said_otherwise(fakes, tmp_path, ci, seen):
    (tmp_path / ".ci").mkdir()
    (tmp_path / "tools").mkdir()
    shutil.copy(ROOT / ".ci/run", tmp_path / ".ci/run")
    (tmp_path / "tools/test.sh").write_text('echo "CI=${CI-unset} $(env | grep -c ^CI=)"\n')
    result = run([BASH, tmp_path / ".ci/run"], fakes, cwd="/", CI=ci)
    assert result.stdout == f"CI={seen} 1\n"  # and exported, as the steps see it


@pytest.mark.parametrize(
    "args",
    [
        ["-C", "{root}/.ci"],
        ["-C", "../project/.ci"],
        ["-f", "{root}/.ci/Makefile"],
        ["-C", "{root}/.ci/steps", "-f", "../Makefile"],
    ],
)
def test_a_step_runs_the_same_from_any_folder(fakes, project, args):
    (project / ".ci/steps/30-cpp.sh").write_text('echo "$0 ran, $JOBS jobs"\n')
    elsewhere = project.parent / "elsewhere"
    elsewhere.mkdir()
    args = [arg.format(root=project) for arg in args]
    result = run(["make", *args, "30-cpp", "CORES=8"], fakes, cwd=elsewhere)
    assert result.returncode == 0, result.stdout + result.stderr
    logs = project / "build/ci"
    assert (logs / "30-cpp.log").read_text() == f"{project}/.ci/steps/30-cpp.sh ran, 2 jobs\n"
    assert (logs / "30-cpp.passed").exists()
    assert list(elsewhere.iterdir()) == []


@pytest.mark.parametrize("uid", [1000, 0])
def test_the_aarch64_step_runs_as_root_alone(fakes, project, uid):
    fakes.user(uid)
    (project / "tools").mkdir()
    fakes.add("test-aarch64")
    (project / "tools/test-aarch64.sh").write_text(f'"{fakes.folder}/test-aarch64" "$@"\n')
    (project / "dist").mkdir()
    for wheel in WHEELS:
        (project / "dist" / wheel).touch()
    (project / ".ci/steps/10-release.sh").write_text("true\n")
    assert run(["make", "-C", project / ".ci", "60-aarch64"], fakes).returncode == 0
    logs = project / "build/ci"
    summary = run([sys.executable, project / ".ci/summary.py", logs, project / ".ci/steps"], fakes)
    assert summary.returncode == 0
    if uid:
        assert fakes.calls("test-aarch64") == []
        assert (logs / "60-aarch64.skipped").read_text() == ROOT_REASON + "\n"
        assert re.search(
            f"^test: 60-aarch64 +skipped: {re.escape(ROOT_REASON)}$", summary.stdout, re.M
        )
    else:
        assert fakes.calls("test-aarch64") == [" ".join(f"dist/{wheel}" for wheel in WHEELS)]
        assert (logs / "60-aarch64.passed").exists()
        assert not (logs / "60-aarch64.skipped").exists()


@pytest.mark.parametrize(
    "script, outcome",
    [
        ("echo 'skip: no machine for it'; exit 77", "skipped"),
        ("exit 77", "failed"),  # a command's own exit code is no skip without the step's reason
        ("echo 'skip: said too early'; exit 1", "failed"),
    ],
)
def test_a_step_is_skipped_only_when_it_says_why(fakes, project, script, outcome):
    (project / ".ci/steps/30-cpp.sh").write_text(script + "\n")
    result = run(["make", "-C", project / ".ci", "30-cpp"], fakes)
    assert result.returncode == (0 if outcome == "skipped" else 2)
    outcomes = [p.suffix for p in (project / "build/ci").glob("30-cpp.*")]
    assert set(outcomes) & {".passed", ".failed", ".skipped"} == {f".{outcome}"}
