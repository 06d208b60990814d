"""The project's sessions, each in a virtual environment of its own under build/nox: the Python
suite per CPython against the built wheels, and under Debian's debug interpreter against the
module built for it, the typing checks, the format (and its check) and the sanitized run; and
the loop for changing the code (dev: the module built from the tree, and the suite). Run them
through tools/nox.sh, which keeps nox itself in build/venv-nox (or through the tools/ scripts
that name each session); tools/test.sh runs all but dev."""

import glob
import os
import re
import shutil
import subprocess

import nox

ROOT = os.path.dirname(os.path.abspath(__file__))
PYTHONS = ["3.10", "3.11", "3.12", "3.13"]
# The version of the tools' own interpreter ($PYTHON or python3), which the wheel built from the
# sdist is tested under in full.
TOOLS_VERSION = subprocess.run(
    [
        os.environ.get("PYTHON", "python3"),
        "-c",
        "import sys; print('%d.%d' % sys.version_info[:2])",
    ],
    capture_output=True,
    text=True,
).stdout.strip()

# Every session's pytest: quiet, but naming each skipped test with its reason (a skip is often
# what the machine lacks, which the log should say).
PYTEST = ["python", "-m", "pytest", "-q", "-rs", "-p", "no:cacheprovider"]

nox.options.envdir = os.path.join(ROOT, "build", "nox")
nox.options.reuse_venv = "yes"
nox.options.download_python = "never"
# A CPython the machine lacks is skipped, said so, on CI too; tools/test-python.sh fails when
# none is found.
nox.options.error_on_missing_interpreters = False
nox.options.sessions = ["tests", "typecheck", "format-check"]

# pyenv's interpreters of every version, which its shims hide unless selected: after the rest of
# the PATH, so that they add versions and change no command's meaning (python3's, say).
if shutil.which("pyenv"):
    pyenv_root = subprocess.run(["pyenv", "root"], capture_output=True, text=True).stdout.strip()
    found = sorted(
        glob.glob(os.path.join(pyenv_root, "versions", "[0-9]*", "bin")),
        key=lambda path: [int(n) for n in re.findall(r"[0-9]+", os.path.basename(path[:-4]))],
        reverse=True,
    )
    os.environ["PATH"] = os.pathsep.join([os.environ["PATH"], *found])


def wheels():
    """The x86_64 release wheel (tools/release.sh) and the wheel the machine's compiler built
    from the sdist (tools/check-sdist.sh)."""
    found = [
        glob.glob(os.path.join(ROOT, pattern))
        for pattern in ("dist/*manylinux_2_17_x86_64.whl", "build/sdist-c++/wheel/*.whl")
    ]
    if not all(found):
        raise SystemExit(
            "error: no release wheel in dist/ or no wheel in build/sdist-c++/wheel:"
            " run tools/release.sh first"
        )
    return [paths[0] for paths in found]


@nox.session(python=PYTHONS)
def tests(session):
    """The Python suite against both wheels. They differ in compiler, C++ runtime and unwinder,
    so the tests of a thread ended at exit run against both under every version; the whole suite
    runs against the second under the tools' own interpreter alone."""
    release_wheel, source_wheel = wheels()
    session.install("pytest", "hypothesis")
    session.chdir(os.path.join(ROOT, "quarnel-compute-python", "tests"))
    for wheel in (release_wheel, source_wheel):
        selected = ["."]
        if wheel == source_wheel and session.python != TOOLS_VERSION:
            selected = ["test_shutdown.py"]
        session.log(f"{os.path.basename(wheel)}: {' '.join(selected)}")
        session.install("--force-reinstall", "--no-deps", wheel)
        session.run(*PYTEST, *selected)


@nox.session
def typecheck(session):
    """The typing checks (tools/typecheck.sh) against the wheels given, with pinned checkers."""
    session.install(
        "mypy==2.4.1", "basedpyright==1.40.2", "pytest==9.2.0", "typing-extensions==4.16.0"
    )
    session.run("bash", "tools/typecheck.sh", *(session.posargs or wheels()), external=True)


def formatter(session, *args):
    # Other releases lay out the same settings differently.
    session.install("ruff==0.17.6", "clang-format==21.1.8")
    session.run("bash", "tools/format.sh", *args, external=True)


@nox.session
def format(session):
    """The C++ sources formatted by .clang-format and the Python sources by ruff, in place."""
    formatter(session)


@nox.session(name="format-check")
def format_check(session):
    """The same, changing nothing: fails naming each file that differs, and ruff's findings."""
    formatter(session, "--check")


@nox.session
def sanitize(session):
    """Both suites under AddressSanitizer and UndefinedBehaviorSanitizer, then bounded fuzzing
    (tools/sanitize.sh)."""
    session.install("pytest", "hypothesis")
    session.run("bash", "tools/sanitize.sh", external=True)


def install_from_tree(session, build_dir):
    """Builds the module from the tree and installs it into the session's environment, with
    pytest and hypothesis. It is built without isolation, by the environment's own build
    requirements, so that the build directory kept from an earlier run (build/BUILD_DIR) is built
    again only where sources changed."""
    build = nox.project.load_toml(os.path.join(ROOT, "pyproject.toml"))["build-system"]
    session.install(*build["requires"], "pytest", "hypothesis")
    session.install(
        "--no-deps",
        "--no-build-isolation",
        "--force-reinstall",
        "--config-settings=build-dir=" + os.path.join(ROOT, "build", build_dir),
        ROOT,
    )
    session.chdir(os.path.join(ROOT, "quarnel-compute-python", "tests"))


@nox.session
def dev(session):
    """The loop for changing the code: the module built from the tree (build/dev-module, kept, so
    that a run after a change rebuilds what changed alone) on the tools' interpreter, then the
    Python suite, stopping at the first failure, or pytest with the arguments given after --."""
    install_from_tree(session, "dev-module")
    session.run(*PYTEST, *(session.posargs or ["-x"]))


@nox.session(python="python3-dbg")
def debug(session):
    """The Python suite under Debian's debug interpreter (Py_DEBUG), against the module built
    from source for it (tools/test-debug.sh)."""
    install_from_tree(session, "debug-module")
    # The suite's reference-count checks run only where the interpreter counts references: a
    # release interpreter in this environment would pass them unchecked.
    session.run(
        "python",
        "-c",
        "import sys; from quarnel.compute import _compute;"
        " assert hasattr(sys, 'gettotalrefcount'), 'not a debug interpreter';"
        " print('the module built for', sys.version)",
    )
    # The 4 GiB text is left to the release interpreters' run (the tests session), which may
    # hold its 14 GiB at the same time in tools/test.sh's run.
    session.run(
        *PYTEST,
        "-k",
        "not test_a_text_of_four_gibibytes_is_held_and_written",
        "--durations=10",
        ".",
    )
