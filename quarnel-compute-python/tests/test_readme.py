"""The README's guide ("Using it") runs as shown: its examples are doctests, so every JSON
text and message it quotes is what the module writes."""

import doctest
import re
from pathlib import Path

README = Path(__file__).resolve().parents[2] / "README.md"


def guide():
    text = README.read_text()
    start = text.index("\n## Using it\n")
    end = text.find("\n## ", start + 1)
    section = text[start : end if end != -1 else len(text)]
    blocks = re.findall(r"```python\n(.*?)```", section, re.S)
    assert blocks, "the guide has no examples"
    return "\n".join(blocks)


def test_the_guide_runs_as_shown():
    test = doctest.DocTestParser().get_doctest(guide(), {}, "README", str(README), 0)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    runner.run(test)
    assert runner.failures == 0 and runner.tries >= 20
