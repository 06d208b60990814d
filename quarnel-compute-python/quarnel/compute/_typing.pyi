"""The package's own typing, beside the extension's classes: what every node has in common."""

from abc import abstractmethod
from typing import Protocol, runtime_checkable

@runtime_checkable
class Node(Protocol):
    """Any node of an expression tree: an object of any class of the module. Every one writes
    its tree with `to_json()`, so a list of mixed nodes is a `list[Node]`."""

    @abstractmethod
    def to_json(self) -> str:
        """The node's tree as compact JSON in the wire form."""
        ...
