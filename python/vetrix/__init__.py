"""vetrix, a conflict-driven SAT solver, from Python.

    >>> import vetrix
    >>> r = vetrix.solve([[1, -2], [2, 3], [-1]])
    >>> r.verdict, r.model
    (<Verdict.SATISFIABLE: 10>, [-1, -2, 3])

The answers are the command line's: for a given formula and strategy the
model is the one ``vetrix FILE N`` prints; a race of strategies gives the
answer of the one that wins it. Every failure of the input is a
:class:`vetrix.Error` carrying the command line's message and exit status.
"""

from __future__ import annotations

import enum
import operator
import os
from dataclasses import dataclass, field
from typing import IO, Callable, Dict, Iterable, List, Optional, Sequence, Union

from . import _vetrix

__all__ = ["Error", "Result", "Solver", "Verdict", "solve", "solve_dimacs", "solve_file", "__version__"]

__version__: str = _vetrix.version()

Clauses = Iterable[Iterable[int]]
ProofTarget = Union[str, "os.PathLike[str]", IO[bytes], None]
ProgressCallback = Callable[[Dict[str, Union[int, float, bool]]], None]

_C_INT_MAX = 2**31 - 1


class Error(Exception):
    """A failure of the input or the options: ``message`` is the exact text
    the command line prints for it, ``status`` its exit status."""

    def __init__(self, message: str, status: int = 1) -> None:
        super().__init__(message, status)
        self.message = message
        self.status = status

    def __str__(self) -> str:
        return self.message.strip()


class Verdict(enum.Enum):
    """The answer of a solve; the values are the SAT-competition exit codes."""

    SATISFIABLE = 10
    UNSATISFIABLE = 20
    UNKNOWN = 0  # stopped by the time limit or an interrupt


@dataclass(frozen=True)
class Result:
    """verdict; model: for v = 1..n, +v or -v (empty unless satisfiable);
    stats: the search's counters under the names of ``--stats``; strategy:
    the strategy whose search gave the answer (a race's winner, or, when none
    decided, the first listed one)."""

    verdict: Verdict
    model: List[int] = field(default_factory=list)
    stats: Dict[str, int] = field(default_factory=dict)
    strategy: int = 0


def _solve_with(call, *args, strategy: int, strategies: Optional[Sequence[int]], proof: ProofTarget,
                binary_proof: bool, lrat: bool, time_limit: Optional[float],
                progress: Optional[ProgressCallback]) -> Result:
    seconds = 0.0
    if time_limit is not None:
        seconds = float(time_limit)
        if not 0 < seconds <= 1e9:
            raise ValueError(f"time_limit must be above 0 and at most 1e9 seconds, not {time_limit!r}")
    listed: List[int] = []
    if strategies is not None:
        listed = [operator.index(n) for n in strategies]
        if not listed:
            raise ValueError("strategies must list at least one strategy")
    if proof is None or hasattr(proof, "write"):
        answer = call(*args, strategy, listed, proof, bool(binary_proof), bool(lrat), seconds, progress)
    else:
        with open(proof, "wb") as file:
            answer = call(*args, strategy, listed, file, bool(binary_proof), bool(lrat), seconds, progress)
    verdict, model, stats, decided_by = answer
    return Result(Verdict(verdict), model, stats, decided_by)


def solve(clauses: Clauses, *, num_vars: Optional[int] = None, strategy: int = 0,
          strategies: Optional[Sequence[int]] = None, proof: ProofTarget = None, binary_proof: bool = False,
          lrat: bool = False, time_limit: Optional[float] = None,
          progress: Optional[ProgressCallback] = None) -> Result:
    """Decides the formula whose clauses are given as DIMACS literals.

    clauses: any iterable of iterables of ints (lists, tuples, generators,
    ``array('i')``, NumPy integer arrays), read by the command line's clause
    rules: a repeated literal counts once, a clause holding a literal and its
    complement is dropped, an empty clause makes the formula unsatisfiable.
    num_vars: the number of variables, by default the largest one used.
    strategy: the branching strategy, 0, 1 or 2.
    strategies: instead of strategy, the strategies (each 0, 1 or 2, at most
    once) to race on the formula, each in a thread of its own: the first to
    reach a verdict wins, and the result is exactly its answer alone
    (Result.strategy names it; which one wins may differ from run to run).
    One strategy is a single solve of it, an empty sequence a ValueError; a
    race of more gives no progress reports (vetrix.Error with progress).
    proof: a path or a writable binary file receiving the DRAT proof (binary
    DRAT with binary_proof; LRAT, clause IDs and the hints of every step, with
    lrat: input clause k has ID k). time_limit: seconds of search, after which the
    verdict is UNKNOWN. progress: a callable that receives a dict of the
    search's counters (seconds, passes, conflicts, decisions, propagations,
    learnt_held, fixed, reviews, peak_memory_mb, last) between passes, at
    most about ten times a second and once at the end (last is True); an
    exception it raises ends the solve and reaches the caller.
    """
    if num_vars is not None:
        num_vars = operator.index(num_vars)
        if not -_C_INT_MAX - 1 <= num_vars <= _C_INT_MAX:
            raise OverflowError(f"num_vars {num_vars} does not fit in a C int")
    return _solve_with(_vetrix.solve_clauses, clauses, num_vars, strategy=strategy, strategies=strategies,
                       proof=proof, binary_proof=binary_proof, lrat=lrat, time_limit=time_limit,
                       progress=progress)


def solve_file(path: Union[str, "os.PathLike[str]"], *, strategy: int = 0,
               strategies: Optional[Sequence[int]] = None, proof: ProofTarget = None,
               binary_proof: bool = False, lrat: bool = False, time_limit: Optional[float] = None,
               progress: Optional[ProgressCallback] = None) -> Result:
    """Reads a DIMACS CNF file as the command line does (plain, gzip, xz or
    bzip2; ``"-"`` is standard input) and decides it. Options as for solve."""
    name = os.fsencode(path)
    if proof is not None and not hasattr(proof, "write") and name != b"-" and \
            os.path.exists(name) and os.path.exists(proof) and os.path.samefile(name, proof):
        raise Error(f"vetrix: the proof file '{os.fsdecode(proof)}' is the input file\n", 1)
    return _solve_with(_vetrix.solve_file, name, strategy=strategy, strategies=strategies, proof=proof,
                       binary_proof=binary_proof, lrat=lrat, time_limit=time_limit, progress=progress)


def solve_dimacs(text: Union[str, bytes], *, strategy: int = 0, strategies: Optional[Sequence[int]] = None,
                 proof: ProofTarget = None, binary_proof: bool = False, lrat: bool = False,
                 time_limit: Optional[float] = None, progress: Optional[ProgressCallback] = None) -> Result:
    """Reads text as the contents of a DIMACS CNF file and decides it.
    Options as for solve."""
    data = text.encode() if isinstance(text, str) else bytes(text)
    return _solve_with(_vetrix.solve_dimacs, data, strategy=strategy, strategies=strategies, proof=proof,
                       binary_proof=binary_proof, lrat=lrat, time_limit=time_limit, progress=progress)


class Solver:
    """A solver in the shape of PySAT's ``Solver``.

    Each ``solve`` decides the clauses added so far from scratch, with the
    assumptions added as unit clauses: nothing learnt is kept between calls,
    and ``get_core`` is not offered. The options (``time_limit``, ``proof``,
    ``binary_proof``, ``lrat``, ``progress``) apply to every solve; a proof path is rewritten by each.
    With ``strategies`` each solve is a race of them, as for :func:`solve`.
    """

    def __init__(self, bootstrap_with: Optional[Clauses] = None, strategy: int = 0,
                 strategies: Optional[Sequence[int]] = None, **options: object) -> None:
        unknown = set(options) - {"time_limit", "proof", "binary_proof", "lrat", "progress"}
        if unknown:
            raise TypeError(f"unknown option {sorted(unknown)[0]!r}")
        self.strategy = strategy
        self.strategies = strategies
        self._options = options
        self._clauses: Optional[List[List[int]]] = []
        self._nof_vars = 0
        self._status: Optional[bool] = None
        self._model: Optional[List[int]] = None
        self._stats: Dict[str, int] = {}
        if bootstrap_with is not None:
            self.append_formula(bootstrap_with)

    def _held(self) -> List[List[int]]:
        if self._clauses is None:
            raise ValueError("the solver has been deleted")
        return self._clauses

    def add_clause(self, clause: Iterable[int]) -> None:
        """Adds one clause of DIMACS literals (ints)."""
        lits = _vetrix.clause(clause)
        self._held().append(lits)
        self._nof_vars = max([self._nof_vars] + [abs(lit) for lit in lits])

    def append_formula(self, formula: Clauses) -> None:
        """Adds every clause of formula."""
        for clause in formula:
            self.add_clause(clause)

    def solve(self, assumptions: Iterable[int] = ()) -> Optional[bool]:
        """Decides the clauses added so far, from scratch, with each assumption
        as a unit clause: True (satisfiable), False (unsatisfiable) or None
        (stopped by the time limit)."""
        units = [[lit] for lit in _vetrix.clause(assumptions)]
        num_vars = max([self._nof_vars] + [abs(unit[0]) for unit in units])
        result = solve(self._held() + units, num_vars=num_vars, strategy=self.strategy,
                       strategies=self.strategies, **self._options)
        for name, value in result.stats.items():
            self._stats[name] = self._stats.get(name, 0) + value
        self._status = {Verdict.SATISFIABLE: True, Verdict.UNSATISFIABLE: False}.get(result.verdict)
        self._model = result.model if self._status else None
        return self._status

    def get_status(self) -> Optional[bool]:
        """The last solve's answer (None before the first)."""
        return self._status

    def get_model(self) -> Optional[List[int]]:
        """The last solve's model, +v or -v for v = 1..n, or None unless it
        was satisfiable."""
        return self._model

    def nof_vars(self) -> int:
        """The largest variable of the clauses added."""
        return self._nof_vars

    def nof_clauses(self) -> int:
        """The number of clauses added."""
        return len(self._held())

    def accum_stats(self) -> Dict[str, int]:
        """The ``--stats`` counters summed over every solve."""
        return dict(self._stats)

    def delete(self) -> None:
        """Drops the clauses; the solver cannot be used afterwards."""
        self._clauses = None
        self._model = None

    def __enter__(self) -> "Solver":
        return self

    def __exit__(self, *exc_info: object) -> None:
        self.delete()
