"""The package's own typing, beside the extension's classes: what every node has in common.

Its stub (`_typing.pyi`) gives type checkers `Node` as a protocol. Here it is an abstract class
that recognises any class with `to_json()`, so that `isinstance(x, Node)` answers as the
protocol does, and importing the package does not import `typing`.
"""

from abc import ABCMeta, abstractmethod


class Node(metaclass=ABCMeta):
    """Any node of an expression tree: an object of any class of the module. Every one writes
    its tree with `to_json()`, so a list of mixed nodes is a `list[Node]`."""

    __slots__ = ()

    @abstractmethod
    def to_json(self) -> str:
        """The node's tree as compact JSON in the wire form."""

    @classmethod
    def __subclasshook__(cls, other):
        if cls is Node and callable(getattr(other, "to_json", None)):
            return True
        return NotImplemented
