"""The benchmarks measure by default the release wheel of the machine they run on, found among
the wheels of every machine that tools/release.sh leaves side by side in dist/."""

import glob
import pathlib
import sys

import pytest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "benchmarks"))
import compare  # noqa: E402

# The wheels of one release, as tools/build-wheel.sh tags them.
LINUX = {
    "x86_64": "quarnel_compute-0.1.0-cp310-abi3-manylinux2014_x86_64.manylinux_2_17_x86_64.whl",
    "aarch64": "quarnel_compute-0.1.0-cp310-abi3-manylinux2014_aarch64.manylinux_2_17_aarch64.whl",
}
WINDOWS = "quarnel_compute-0.1.0-cp310-abi3-win_amd64.whl"


@pytest.mark.parametrize("machine", sorted(LINUX))
def test_the_machines_own_wheel_of_a_release(tmp_path, machine):
    for name in [*LINUX.values(), WINDOWS, "quarnel_compute-0.1.0.tar.gz"]:
        (tmp_path / name).touch()
    assert glob.glob(compare.release_wheel(tmp_path, machine)) == [str(tmp_path / LINUX[machine])]


def test_no_wheel_of_the_machine(tmp_path):
    (tmp_path / WINDOWS).touch()
    assert glob.glob(compare.release_wheel(tmp_path, "x86_64")) == []
