"""tools/stage-python-headers.py stages a Debian interpreter's multiarch pyconfig.h alone, under
the target's multiarch name, and nothing for an interpreter whose pyconfig.h stands alone."""

import importlib.util
import pathlib
import sysconfig

import pytest

SCRIPT = pathlib.Path(__file__).resolve().parents[1] / "stage-python-headers.py"
spec = importlib.util.spec_from_file_location("stage_python_headers", SCRIPT)
stage_python_headers = importlib.util.module_from_spec(spec)
spec.loader.exec_module(stage_python_headers)

HOST, TARGET = "x86_64-linux-gnu", "aarch64-linux-gnu"
# Debian's python3.11/pyconfig.h picks the file of the machine it is compiled for.
DEBIAN = "".join(
    f"#if defined(__{cpu}__)\n#  include <{machine}/python3.11/pyconfig.h>\n#endif\n"
    for cpu, machine in [("aarch64", TARGET), ("x32", "x86_64-linux-gnux32"), ("x86_64", HOST)]
)
HOST_CONFIG = "#define SIZEOF_LONG 8\n"


def files(root):
    return {p.relative_to(root).as_posix(): p.read_text() for p in root.rglob("*") if p.is_file()}


def staged(tmp_path, monkeypatch, config, host_files):
    """Runs the script for TARGET, its interpreter's include directory holding CONFIG as
    pyconfig.h, beside a multiarch directory holding HOST_FILES; returns what OUT holds
    afterwards, the include directory left as it was."""
    include, out = tmp_path / "include" / "python3.11", tmp_path / "out"
    include.mkdir(parents=True)
    (include / "pyconfig.h").write_text(config)
    for name, text in host_files.items():
        (tmp_path / "include" / name).parent.mkdir(parents=True, exist_ok=True)
        (tmp_path / "include" / name).write_text(text)
    sources = files(tmp_path / "include")
    (out / HOST).mkdir(parents=True)  # left by an earlier build
    config_vars = {"INCLUDEDIR": str(tmp_path / "include"), "MULTIARCH": HOST}
    monkeypatch.setattr(sysconfig, "get_paths", lambda: {"include": str(include)})
    monkeypatch.setattr(sysconfig, "get_config_var", config_vars.get)
    stage_python_headers.main([TARGET, str(out)])
    assert files(tmp_path / "include") == sources
    return files(out)


@pytest.mark.parametrize(
    "config, expected",
    [
        (DEBIAN, {f"{TARGET}/python3.11/pyconfig.h": HOST_CONFIG}),
        (HOST_CONFIG, {}),  # pyenv's or a python.org build's: the configuration itself
    ],
)
def test_only_the_hosts_configuration_is_staged_under_the_targets_name(
    tmp_path, monkeypatch, config, expected
):
    host_files = {f"{HOST}/python3.11/pyconfig.h": HOST_CONFIG}
    assert staged(tmp_path, monkeypatch, config, host_files) == expected
    assert not (tmp_path / "out" / HOST).exists()


def test_a_missing_host_configuration_is_an_error_naming_it(tmp_path, monkeypatch):
    with pytest.raises(SystemExit, match=f"{HOST}/python3.11/pyconfig.h"):
        staged(tmp_path, monkeypatch, DEBIAN, {})
