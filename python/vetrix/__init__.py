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
import io
import operator
import os
import time
from dataclasses import dataclass, field
from typing import IO, Callable, Dict, Iterable, Iterator, List, Optional, Sequence, Tuple, Union

from . import _vetrix

# Result.strategy of the fast engine, the strategy "fast".
FAST = 3

__all__ = ["Error", "Result", "Solver", "Verdict", "options", "solve", "solve_dimacs", "solve_file", "__version__"]

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


def _option_text(name: str, value: object) -> str:
    """The text of a keyword option's value, as the command line writes it:
    True and False are 1 and 0, numbers their decimal form, text as it is."""
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, str):
        return value
    if isinstance(value, float):
        return repr(value)
    try:
        return str(operator.index(value))
    except TypeError:
        raise TypeError(f"option {name!r} takes an int, a float, a bool or a str, not {type(value).__name__}") \
            from None


def options() -> List[Dict[str, object]]:
    """The library's table of options (those of ``vetrix --help`` and
    ``vetrix-mpi --help``), one dict each: name (the keyword, with '-' for '_'), kind (flag, count, seconds,
    choice, list, text), default, choices, one_shot and incremental (whether
    solve* and Solver take it), help."""
    return _vetrix.option_table()


# Keywords that are spelt otherwise in the table of options.
_OPTION_ALIASES = {"time_limit": "time"}


def _settings(options: Dict[str, object]) -> List[Tuple[str, str]]:
    """The keyword options as (name, text) pairs of the library's table of
    options (vetrix --help): each keyword is a name with '_' for '-';
    None leaves an option at its default. The library checks the names and
    values, with the command line's messages."""
    return [(_OPTION_ALIASES.get(key, key).replace("_", "-"), _option_text(key, value))
            for key, value in options.items() if value is not None]


def _solve_with(call, *args, strategies: Optional[Sequence[Union[int, str]]], proof: ProofTarget,
                progress: Optional[ProgressCallback], options: Dict[str, object]) -> Result:
    settings = _settings(options)
    listed: List[int] = []
    if strategies is not None:
        listed = [FAST if n == "fast" else operator.index(n) for n in strategies]
        if not listed:
            raise ValueError("strategies must list at least one strategy")
    if proof is None or hasattr(proof, "write"):
        answer = call(*args, settings, listed, proof, progress)
    else:
        with open(proof, "wb") as file:
            answer = call(*args, settings, listed, file, progress)
    verdict, model, stats, decided_by = answer
    return Result(Verdict(verdict), model, stats, decided_by)


def solve(clauses: Clauses, *, num_vars: Optional[int] = None, strategies: Optional[Sequence[Union[int, str]]] = None,
          proof: ProofTarget = None, progress: Optional[ProgressCallback] = None, **options: object) -> Result:
    """Decides the formula whose clauses are given as DIMACS literals.

    clauses: any iterable of iterables of ints (lists, tuples, generators,
    ``array('i')``, NumPy integer arrays), read by the command line's clause
    rules: a repeated literal counts once, a clause holding a literal and its
    complement is dropped, an empty clause makes the formula unsatisfiable.
    num_vars: the number of variables, by default the largest one used.
    options: the library's options (``vetrix --help``) by name, '_' for
    '-', each a bool, a number or a str as on the command line:
    strategy (0, 1 or 2, or "fast": the fast engine), binary_proof, lrat, time_limit (or time; seconds),
    conflicts, decisions, propagations (bounds of the search, after which
    the verdict is UNKNOWN), portfolio (a comma list of strategies). An
    unknown name or a bad value raises vetrix.Error with the command line's
    message. strategies: instead of strategy, the strategies (each 0, 1, 2 or
    "fast", at most once) to race on the formula, each in a thread of its own: the first to
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
    return _solve_with(_vetrix.solve_clauses, clauses, num_vars, strategies=strategies, proof=proof,
                       progress=progress, options=options)


def solve_file(path: Union[str, "os.PathLike[str]"], *, strategies: Optional[Sequence[Union[int, str]]] = None,
               proof: ProofTarget = None, progress: Optional[ProgressCallback] = None,
               **options: object) -> Result:
    """Reads a DIMACS CNF file as the command line does (plain, gzip, xz or
    bzip2; ``"-"`` is standard input) and decides it. Options as for solve."""
    name = os.fsencode(path)
    if proof is not None and not hasattr(proof, "write") and name != b"-" and \
            os.path.exists(name) and os.path.exists(proof) and os.path.samefile(name, proof):
        raise Error(f"vetrix: the proof file '{os.fsdecode(proof)}' is the input file\n", 1)
    return _solve_with(_vetrix.solve_file, name, strategies=strategies, proof=proof, progress=progress,
                       options=options)


def solve_dimacs(text: Union[str, bytes], *, strategies: Optional[Sequence[Union[int, str]]] = None,
                 proof: ProofTarget = None, progress: Optional[ProgressCallback] = None,
                 **options: object) -> Result:
    """Reads text as the contents of a DIMACS CNF file and decides it.
    Options as for solve."""
    data = text.encode() if isinstance(text, str) else bytes(text)
    return _solve_with(_vetrix.solve_dimacs, data, strategies=strategies, proof=proof, progress=progress,
                       options=options)


# Keyword arguments PySAT's solvers take beside the options of vetrix's
# solves: name (which solver PySAT should create) and incr (Glucose's
# incremental mode, which vetrix.Solver always runs in) mean nothing here.
_PYSAT_ARGUMENTS = {"name", "incr"}
_OWN_OPTIONS = {"with_proof", "proof", "progress"}


class Solver:
    """An incremental solver with the object interface of PySAT's solvers:
    code written for a PySAT solver object runs unchanged on it (only the
    constructor call differs).

    The clauses added are kept, and so is everything the search learnt:
    each ``solve`` goes on from the calls before it. Assumptions hold for one
    call; after an unsatisfiable call ``get_core`` names the assumptions the
    clauses refute.

    bootstrap_with: clauses to start with. strategy: "fast" (the default),
    the fast engine, or 0, 1 or 2, the exact searches. use_timer: measure each call's CPU time (``time``,
    ``time_accum``). Options: ``with_proof`` keeps a text DRAT proof of every
    call in memory for ``get_proof``; ``proof`` (a path, or a writable binary
    file) and ``binary_proof`` write it to a file instead, kept open until
    ``delete``; ``time_limit`` bounds each call's search in seconds (the call
    then returns None); ``progress`` is a callable given a dict of counters,
    as for :func:`solve`; ``warm_start=True`` makes each call after a
    satisfiable one decide every variable in its polarity in the last model
    (often much sooner on runs of similar calls: cores, MaxSAT, MUS), where
    by default each call branches as its strategy does on a fresh formula.
    Every other option of the library's table (``vetrix --help``) is a
    keyword too, with '_' for '-' (``conflicts``, ``decisions``,
    ``propagations`` bound every call; ``lrat`` makes the proof LRAT); an
    unknown one or a bad value raises vetrix.Error with the command line's
    message. PySAT's ``name`` and ``incr`` are accepted and change nothing.
    ``strategies`` is a TypeError: a race of strategies
    needs one solver per strategy, which is what :func:`solve` does; an
    incremental solver has one.
    """

    def __init__(self, bootstrap_with: Optional[Clauses] = None, strategy: Union[int, str] = "fast", use_timer: bool = False,
                 **options: object) -> None:
        if "strategies" in options:
            raise TypeError("Solver takes no 'strategies': an incremental solver runs one strategy; "
                            "vetrix.solve(clauses, strategies=...) races several")
        table = {key: value for key, value in options.items() if key not in _PYSAT_ARGUMENTS | _OWN_OPTIONS}
        settings = _settings({"strategy": strategy, **table})
        self._proof_lines: Optional[io.BytesIO] = None
        self._proof_file: Optional[IO[bytes]] = None
        proof = options.get("proof")
        if options.get("with_proof"):
            if proof is not None or options.get("binary_proof"):
                raise ValueError("with_proof keeps a text proof for get_proof: not with proof= or binary_proof")
            proof = self._proof_lines = io.BytesIO()
        elif proof is not None and not hasattr(proof, "write"):
            proof = self._proof_file = open(proof, "wb")  # type: ignore[call-overload]
        try:
            self._solver: Optional[_vetrix.Solver] = _vetrix.Solver(settings, proof, options.get("progress"))
        except BaseException:
            if self._proof_file is not None:
                self._proof_file.close()
            raise
        self._use_timer = use_timer
        self._call_time = 0.0
        self._accum_time = 0.0
        self._budgets = (0, 0, 0)  # conflicts, propagations, decisions of the next solve_limited
        self._status: Optional[bool] = None
        self._model: Optional[List[int]] = None
        self._core: Optional[List[int]] = None
        self._refuted = False  # the clauses alone are unsatisfiable
        if bootstrap_with is not None:
            self.append_formula(bootstrap_with)

    def _live(self) -> "_vetrix.Solver":
        if self._solver is None:
            raise ValueError("the solver has been deleted")
        return self._solver

    # ---- the formula ----

    def add_clause(self, clause: Iterable[int], no_return: bool = True) -> Optional[bool]:
        """Adds one clause of DIMACS literals (ints). With no_return=False,
        returns False when the clauses are known to be unsatisfiable (an
        empty clause, or an unsatisfiable call without a core)."""
        if not self._live().add_clause(clause):
            self._refuted = True
        return None if no_return else not self._refuted

    def append_formula(self, formula: Clauses, no_return: bool = True) -> Optional[bool]:
        """Adds every clause of formula; the return as for add_clause."""
        if not self._live().add_clauses(formula):
            self._refuted = True
        return None if no_return else not self._refuted

    def supports_atmost(self) -> bool:
        """False: cardinality constraints go through CNF encodings."""
        return False

    def nof_vars(self) -> int:
        """The largest variable of the clauses added."""
        return self._live().num_vars()

    def nof_clauses(self) -> int:
        """The number of clauses added (the blocking clauses of enum_models
        included)."""
        return self._live().num_clauses()

    # ---- calls ----

    def _call(self, assumptions: Iterable[int], budgets: Tuple[int, int, int]) -> Optional[bool]:
        solver = self._live()
        self._status = self._model = self._core = None
        start = time.process_time()
        try:
            verdict = solver.solve(assumptions, *budgets)
        finally:
            if self._use_timer:
                self._call_time = time.process_time() - start
                self._accum_time += self._call_time
        self._status = {10: True, 20: False}.get(verdict)
        if self._status is False:
            self._core = solver.core()
            self._refuted = self._refuted or not self._core
        return self._status

    def solve(self, assumptions: Iterable[int] = []) -> Optional[bool]:
        """Decides the clauses under the assumptions (literals true for this
        call only): True or False; None only when the call was stopped by
        interrupt() or time_limit."""
        self._budgets = (0, 0, 0)
        return self._call(assumptions, (0, 0, 0))

    def solve_limited(self, assumptions: Iterable[int] = [], expect_interrupt: bool = False) -> Optional[bool]:
        """As solve, within the budgets set since the last call: None when
        one was spent or interrupt() was called. interrupt() works whatever
        expect_interrupt says."""
        budgets, self._budgets = self._budgets, (0, 0, 0)
        return self._call(assumptions, budgets)

    def conf_budget(self, budget: int = -1) -> None:
        """Bounds the conflicts of the next solve_limited (0 or -1: no bound)."""
        self._budgets = (max(operator.index(budget), 0),) + self._budgets[1:]

    def prop_budget(self, budget: int = -1) -> None:
        """Bounds the propagations (literals set) of the next solve_limited
        (0 or -1: no bound)."""
        self._budgets = self._budgets[:1] + (max(operator.index(budget), 0),) + self._budgets[2:]

    def dec_budget(self, budget: int = -1) -> None:
        """Bounds the decisions of the next solve_limited (0 or -1: no bound)."""
        self._budgets = self._budgets[:2] + (max(operator.index(budget), 0),)

    def interrupt(self) -> None:
        """Stops the running call (from another thread, or a threading.Timer),
        which returns None. Every call returns None at once until
        clear_interrupt()."""
        self._live().interrupt()

    def clear_interrupt(self) -> None:
        """Lets calls run again after interrupt()."""
        self._live().clear_interrupt()

    def propagate(self, assumptions: Iterable[int] = [], phase_saving: int = 0) -> Tuple[bool, List[int]]:
        """Unit propagation of the assumptions, one after another, without
        search: (False, ...) when a conflict arises, and the literals set
        beyond the root (the assumptions not already true and what they
        imply, in the order set, up to a conflict). As PySAT's
        MiniSat-backed propagate, it sees every clause the solver holds:
        the clauses added, the learnt ones and the facts fixed at the root
        (which are not listed), so after a solve it may list fewer literals
        or find a conflict sooner. Under strategies 0, 1 and 2 it reads a
        copy of the clauses and later calls answer as without it; under the
        fast engine it propagates the engine itself, which may change the
        model a later call finds. phase_saving changes nothing (no search is
        run)."""
        if self._refuted:
            return False, []
        return self._live().propagate(assumptions)

    def enum_models(self, assumptions: Iterable[int] = []) -> Iterator[List[int]]:
        """The models, one at a time; after each, the clause that excludes it
        is added (and kept)."""
        assumptions = _vetrix.clause(assumptions)
        while self.solve(assumptions):
            model = self.get_model()
            self.add_clause([-lit for lit in model])  # type: ignore[union-attr]
            yield model  # type: ignore[misc]

    # ---- the last call ----

    def get_status(self) -> Optional[bool]:
        """The last call's answer (None before the first or when stopped)."""
        return self._status

    def get_model(self) -> Optional[List[int]]:
        """The last call's model, +v or -v for v = 1..nof_vars(), or None
        unless it was satisfiable."""
        if self._status and self._model is None:
            self._model = self._live().model()
        return self._model

    def get_core(self) -> Optional[List[int]]:
        """After an unsatisfiable call, the assumptions that the clauses
        refute (a subset of the call's assumptions; empty when the clauses
        alone are unsatisfiable); None otherwise."""
        return self._core

    def get_proof(self) -> Optional[List[str]]:
        """With with_proof=True, the DRAT proof of every call so far, one
        line a step; None otherwise."""
        if self._proof_lines is None:
            return None
        return self._proof_lines.getvalue().decode().splitlines()

    def time(self) -> float:
        """With use_timer, the CPU seconds of the last call; 0.0 otherwise."""
        return self._call_time

    def time_accum(self) -> float:
        """With use_timer, the CPU seconds of every call so far."""
        return self._accum_time

    def accum_stats(self) -> Dict[str, int]:
        """Counters of every call so far: PySAT's restarts (vetrix's search
        passes: each starts from the root), conflicts, decisions and
        propagations, and vetrix's own under the names of ``--stats``."""
        stats = self._live().statistics()
        return {"restarts": stats["passes"], **stats}

    # ---- its life ----

    def delete(self) -> None:
        """Frees the solver (and closes a proof file it opened); it cannot
        be used afterwards."""
        self._solver = None
        self._model = self._core = None
        if self._proof_file is not None:
            self._proof_file.close()
            self._proof_file = None

    def __enter__(self) -> "Solver":
        return self

    def __exit__(self, *exc_info: object) -> None:
        self.delete()
