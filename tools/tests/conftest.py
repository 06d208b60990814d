"""What the tests of the test command's own decisions share: commands faked first on the PATH,
each logging its arguments, and a project holding a copy of the run's machinery (.ci)."""

import os
import pathlib
import shutil
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BASH = shutil.which("bash")


class Fakes:
    def __init__(self, folder):
        self.folder = folder
        folder.mkdir()

    def add(self, name, script=""):
        (self.folder / name).write_text(f'#!/bin/sh\necho "$*" >>"$0.calls"\n{script}\n')
        (self.folder / name).chmod(0o755)

    def calls(self, name):
        log = self.folder / f"{name}.calls"
        return log.read_text().splitlines() if log.exists() else []

    def user(self, uid):
        self.add("id", f'[ "$1" = -u ] && echo {uid} || exec /usr/bin/id "$@"')


@pytest.fixture
def fakes(tmp_path):
    return Fakes(tmp_path / "fakes")


def run(args, fakes, path=None, cwd=None, **env):
    """Runs ARGS with the fakes first on the PATH (before PATH, or the real one) and the
    variables given set (None: unset), the test command's own unset unless given."""
    environ = {k: v for k, v in os.environ.items() if k not in ("CI", "CI_SHORT", "CI_CORES")}
    environ |= {k: v for k, v in env.items() if v is not None}
    environ = {k: v for k, v in environ.items() if env.get(k, v) is not None}
    environ["PATH"] = f"{fakes.folder}:{path or os.environ['PATH']}"
    return subprocess.run(args, env=environ, cwd=cwd, capture_output=True, text=True, timeout=60)


@pytest.fixture
def project(tmp_path):
    """A project with a copy of .ci's Makefile, summary and aarch64 step; the test writes the
    other steps it needs."""
    root = tmp_path / "project"
    (root / ".ci" / "steps").mkdir(parents=True)
    for name in ("Makefile", "summary.py", "steps/60-aarch64.sh"):
        shutil.copy(ROOT / ".ci" / name, root / ".ci" / name)
    return root
