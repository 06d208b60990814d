"""The shared random corpus (tools/corpus.py), whose files are compared byte for byte between
builds of the module on different platforms: a file depends on its seed alone, and the corpus
reaches every entry that the stubs declare."""

import importlib.util
from pathlib import Path

import pytest

CORPUS = Path(__file__).resolve().parents[2] / "tools" / "corpus.py"


@pytest.fixture(scope="module")
def corpus():
    spec = importlib.util.spec_from_file_location("corpus", CORPUS)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def test_a_seed_writes_the_same_file_every_time(corpus, tmp_path):
    paths = [tmp_path / name for name in ("a", "b", "other seed")]
    for path, seed in zip(paths, (7, 7, 8)):
        corpus.write(path, seed, 3000)
    first, again, other = (p.read_bytes() for p in paths)
    assert first == again
    assert first != other
    assert first.isascii() and b"\r" not in first
    assert len(first.splitlines()) == 3001


def test_every_entry_of_the_stubs_is_reached(corpus, tmp_path):
    path = tmp_path / "corpus"
    corpus.write(path, 20261207, 20000)
    built, failed = set(), set()
    for line in path.read_text().splitlines()[1:]:
        _, label, kind, _ = line.split(" ", 3)
        (built if kind == "value" else failed).add(label)
    labels = {entry[0] for entry in corpus.Corpus(0).entries}
    assert len(labels) > 150
    assert labels - built == set()
    # Wrong arguments are one in twenty: nearly every entry that takes one meets some.
    takes_arguments = {entry[0] for entry in corpus.Corpus(0).entries if entry[2]}
    assert len(failed & takes_arguments) > 0.9 * len(takes_arguments)
