"""tools/deps.sh names every Debian package missing for the options given at once, and installs
them in one apt-get call, with sudo when not root; without root or sudo it names them all in
one message and fails, installing nothing. With --debian-python it checks Debian's own
/usr/bin/python3, whatever python3 (pyenv's, say) comes first on the PATH."""

import os
import re
import shutil

import pytest
from conftest import BASH, ROOT, run

# Options whose packages it finds missing by a command alone, on a PATH without any of them.
OPTIONS = ["--make", "--aarch64", "--oldest-compilers"]
MISSING = ["g++", "make", "mmdebstrap", "qemu-user-static", "binfmt-support", "clang-14", "g++-11"]


@pytest.fixture
def bare_path(tmp_path):
    """A PATH of the few plain tools the script needs besides the commands it looks for."""
    folder = tmp_path / "plain"
    folder.mkdir()
    for tool in ("awk", "cat", "dirname", "head", "nproc", "sed", "sort"):
        os.symlink(shutil.which(tool), folder / tool)
    return str(folder)


@pytest.mark.parametrize(
    "uid, sudo", [(1000, False), (1000, True), (0, False)], ids=["user", "user with sudo", "root"]
)
def test_every_missing_package_is_named_at_once(fakes, bare_path, uid, sudo):
    fakes.user(uid)
    fakes.add("apt-get")
    if sudo:
        fakes.add("sudo", 'exec "$@"')
    result = run([BASH, ROOT / "tools/deps.sh", *OPTIONS], fakes, path=bare_path)
    installs = [call.split() for call in fakes.calls("apt-get") if " install " in call]
    if uid and not sudo:
        assert result.returncode != 0
        (message,) = result.stderr.splitlines()
        assert set(MISSING) <= set(re.findall(r"[\w.+-]+", message)), message
        assert installs == []
    else:
        assert result.returncode == 0, result.stderr
        assert len(installs) == 1 and installs[0][-len(MISSING) :] == MISSING
        through_sudo = [f"apt-get {call}" for call in fakes.calls("apt-get")] if sudo else []
        assert fakes.calls("sudo") == through_sudo


@pytest.mark.parametrize("where", ["PATH", "PYTHON"])
def test_the_debian_python_checked_is_debians_own(fakes, tmp_path, where):
    """Every Python process started records its interpreter (sitecustomize on PYTHONPATH); an
    interpreter that lacks everything stands first on the PATH as python3, or is PYTHON."""
    fakes.user(1000)
    for name in ("apt-get", "sudo"):
        fakes.add(name)
    fakes.add("python3", "exit 1")
    site = tmp_path / "site"
    site.mkdir()
    started = tmp_path / "started"
    (site / "sitecustomize.py").write_text(
        f"import sys\nopen({str(started)!r}, 'a').write(sys.executable + '\\n')\n"
    )
    python = str(fakes.folder / "python3") if where == "PYTHON" else None
    result = run(
        [BASH, ROOT / "tools/deps.sh", "--debian-python"],
        fakes,
        PYTHONPATH=str(site),
        PYTHON=python,
    )
    assert fakes.calls("python3") == []
    assert set(started.read_text().split()) == {"/usr/bin/python3"}
    assert "/usr/bin/python3" in result.stderr or result.returncode == 0
