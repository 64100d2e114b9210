"""vetrix.Solver as an incremental oracle: random call sequences against the
peer (verdicts, models, cores) and propagate (its literals implied),
budgets and interrupt, enum_models, a proof over several calls, and a
deletion-based MUS computed on it."""

import itertools
import os
import random
import subprocess
import tempfile
import threading
import unittest

import vetrix
from support import DRATCHECK, peer_module, pigeonhole, satisfies

PEER = peer_module()
NO_PEER = "pycryptosat (python3-cryptominisat, tools/install_peers.sh) is not importable: no peer to compare with"


def decide(clauses):
    """True when the clauses are satisfiable, by the peer if there is one,
    else by a one-shot vetrix.solve."""
    if PEER is None:
        return vetrix.solve(clauses).verdict is vetrix.Verdict.SATISFIABLE
    peer = PEER.Solver()
    for clause in clauses:
        peer.add_clause(clause)
    return peer.solve()[0]


def propagation(clauses, assumptions):
    """(status, literals set beyond the facts) of propagate as PySAT reads it,
    by naive unit propagation: the clauses' facts, then each assumption in
    turn (one already true skipped, one false a conflict). The literals are
    None after a conflict past the root (they depend on the order of work)."""
    true = set()

    def fixpoint():
        while True:
            units = []
            for clause in clauses:
                if not any(lit in true for lit in clause):
                    free = {lit for lit in clause if -lit not in true}
                    if not free:
                        return False
                    if len(free) == 1:
                        units.append(free.pop())
            if not units:
                return True
            for unit in units:
                if -unit in true:
                    return False
                true.add(unit)

    if not fixpoint():
        return False, set()
    facts = set(true)
    for lit in assumptions:
        if -lit in true:
            return False, None
        true.add(lit)
        if not fixpoint():
            return False, None
    return True, true - facts


def propagate_fault(peer, clauses, assumptions, status, lits, exact):
    """What is wrong with (status, lits) from propagate(assumptions), or None.
    propagate sees the clauses the solver holds, learnt ones and root facts
    included, so it is checked for what any such propagation gives: on a
    conflict the peer refutes the assumptions; otherwise each literal is
    listed once and follows from the clauses and the assumptions, and each
    assumption is listed or follows from the clauses alone (a root fact).
    Naive propagation over the clauses added never finds a conflict it
    misses; under the exact strategies (nothing eliminated) each literal it
    sets is listed or follows from the clauses alone."""
    if len(set(lits)) != len(lits) or any(-lit in lits for lit in lits):
        return "a literal listed twice, or with its complement"
    if not status:
        return "the peer satisfies the assumptions" if peer.solve(assumptions)[0] else None
    naive, implied = propagation(clauses, assumptions)
    if not naive:
        return "naive propagation finds a conflict"
    for lit in lits:
        if peer.solve(assumptions + [-lit])[0]:
            return f"{lit} does not follow"
    for lit in set(assumptions) | (implied if exact else set()):
        if lit not in lits and peer.solve([-lit])[0]:
            return f"{lit} is neither listed nor a fact"
    return None


def random_clause(rng, num_vars):
    return [rng.choice((1, -1)) * rng.randint(1, num_vars) for _ in range(rng.choice((1, 2, 3, 3, 3, 4)))]


class CallSequences(unittest.TestCase):
    @unittest.skipIf(PEER is None, NO_PEER)
    def test_random_sequences_against_the_peer(self):
        rng = random.Random(28)
        verdicts = {True: 0, False: 0}
        for sequence in range(40):
            num_vars = rng.randint(5, 14)
            clauses = [random_clause(rng, num_vars) for _ in range(num_vars * 3)]
            solver = vetrix.Solver(bootstrap_with=clauses, strategy=(0, 1, 2, "fast")[sequence % 4],
                                   warm_start=sequence % 2 == 1)
            peer = PEER.Solver()
            for clause in clauses + [[v, -v] for v in range(1, num_vars + 3)]:  # the peer's variables
                peer.add_clause(clause)
            for step in range(30):
                assumptions = [rng.choice((1, -1)) * rng.randint(1, num_vars + 2) for _ in range(rng.randint(0, 4))]
                kind = rng.choice(("add", "solve", "solve", "propagate"))
                with self.subTest(sequence=sequence, step=step, kind=kind):
                    if kind == "add":
                        clauses.append(random_clause(rng, num_vars))
                        solver.add_clause(clauses[-1])
                        peer.add_clause(clauses[-1])
                    elif kind == "propagate":
                        status, lits = solver.propagate(assumptions)
                        self.assertIsNone(propagate_fault(peer, clauses, assumptions, status, lits, sequence % 4 != 3))
                    else:
                        verdict = solver.solve(assumptions)
                        self.assertEqual(verdict, peer.solve(assumptions)[0])
                        verdicts[verdict] += 1
                        if verdict:
                            model = solver.get_model()
                            self.assertEqual([abs(lit) for lit in model], list(range(1, solver.nof_vars() + 1)))
                            self.assertTrue(satisfies(model, clauses + [[a] for a in assumptions]))
                            self.assertIsNone(solver.get_core())
                        else:
                            core = solver.get_core()
                            self.assertLessEqual(set(core), set(assumptions))
                            self.assertFalse(peer.solve(core)[0])
                            self.assertIsNone(solver.get_model())
            solver.delete()
        self.assertGreater(min(verdicts.values()), 50, verdicts)

    def test_propagate_on_hand_examples(self):
        for strategy in (0, "fast"):
            with self.subTest(strategy=strategy), \
                    vetrix.Solver(bootstrap_with=[[1], [-1, 2], [-3, 4], [-4, -5], [-4, 5, 6]], strategy=strategy) as s:
                self.assertEqual(s.propagate(), (True, []))  # the facts 1 and 2 are not listed
                self.assertEqual(s.propagate([2, 3]), (True, [3, 4, -5, 6]))
                self.assertEqual(s.propagate(assumptions=[-2]), (False, []))
                self.assertEqual(s.propagate([3, -6]), (False, [3, 4, -5, 6]))
                s.add_clause([-6])
                self.assertEqual(s.propagate([4], phase_saving=2)[0], False)
                self.assertEqual(s.propagate([-4, 5]), (True, [-4, -3, 5]))
                s.add_clause([])
                self.assertEqual(s.propagate(), (False, []))


    def test_a_literal_beyond_the_solvers_range_is_refused_whole(self):
        too_big = "assumption 1500000000 out of range"
        with vetrix.Solver(bootstrap_with=[[1]]) as s:
            self.assertRaisesRegex(vetrix.Error, too_big, s.solve, [-1, 1500000000])
            self.assertTrue(s.solve())  # nothing of the list stayed queued
            self.assertRaisesRegex(vetrix.Error, too_big, s.propagate, [2, 1500000000])
            self.assertEqual(s.propagate([1]), (True, []))
            self.assertEqual(s.nof_vars(), 1)


class Limits(unittest.TestCase):
    def test_budgets_and_interrupt_give_none_then_a_valid_call(self):
        hard = [c + [-999] for c in pigeonhole(11)]  # hard under the assumption 999 only
        with vetrix.Solver(bootstrap_with=hard) as s:
            for budget in (s.conf_budget, s.prop_budget, s.dec_budget):
                with self.subTest(budget=budget.__name__):
                    budget(50)
                    self.assertIsNone(s.solve_limited([999]))
                    self.assertEqual((s.get_status(), s.get_model(), s.get_core()), (None, None, None))
                    self.assertTrue(s.solve_limited([-999]))  # the budget held for one call
                    self.assertIn(-999, s.get_model())
            threading.Timer(0.2, s.interrupt).start()
            self.assertIsNone(s.solve_limited([999], expect_interrupt=True))
            self.assertIsNone(s.solve([-999]))  # until cleared
            s.clear_interrupt()
            self.assertTrue(s.solve([-999]))
            self.assertGreater(s.accum_stats()["conflicts"], 50)


class Models(unittest.TestCase):
    def test_enum_models_gives_every_model_once(self):
        clauses = [[1, 2, -3], [-1, 4], [2, 3, -5], [-2, -4, 5], [3, 6], [-6, -1, 2]]
        every = [m for m in itertools.product(*[(-v, v) for v in range(1, 7)]) if satisfies(m, clauses)]
        for assumptions in ([], [2, -6]):
            with self.subTest(assumptions=assumptions), vetrix.Solver(bootstrap_with=clauses) as s:
                models = [tuple(m) for m in s.enum_models(assumptions)]
                self.assertEqual(sorted(models), sorted(m for m in every if set(assumptions) <= set(m)))
                self.assertEqual(s.nof_clauses(), len(clauses) + len(models))

    def test_calls_after_a_review_that_emptied_the_base(self):
        """The three first clauses are true at the root after the first
        pass, and the review that follows drops them all: the clauses added
        later, and the models enum_models lists over them, are those of
        brute force, under each strategy, warm and cold."""
        later = [[-5], [1, 5, 6], [-6, 7, -1]]
        for strategy, warm in itertools.product(range(3), (False, True)):
            with self.subTest(strategy=strategy, warm=warm), \
                    vetrix.Solver(bootstrap_with=[[2], [-4, -3], [3]], strategy=strategy, warm_start=warm) as s:
                self.assertEqual((s.solve(), s.get_model()), (True, [-1, 2, 3, -4]))
                s.append_formula(later)
                clauses = [[2], [-4, -3], [3]] + later
                every = [m for m in itertools.product(*[(-v, v) for v in range(1, 8)]) if satisfies(m, clauses)]
                self.assertEqual(sorted(tuple(m) for m in s.enum_models()), sorted(every))

    def test_a_deletion_based_mus_is_unsatisfiable_and_minimal(self):
        rng = random.Random(5)
        clauses = [random_clause(rng, 24) for _ in range(130)]
        selectors = list(range(25, 25 + len(clauses)))
        with vetrix.Solver(bootstrap_with=[c + [-sel] for c, sel in zip(clauses, selectors)]) as s:
            self.assertFalse(s.solve(selectors))
            mus, k = s.get_core(), 0
            while k < len(mus):
                if s.solve(mus[:k] + mus[k + 1:]):
                    k += 1
                else:
                    mus = s.get_core()  # within the trial: the k first are still needed
        chosen = [clauses[sel - 25] for sel in mus]
        self.assertFalse(decide(chosen))
        for k in range(len(chosen)):
            self.assertTrue(decide(chosen[:k] + chosen[k + 1:]), k)


class Proofs(unittest.TestCase):
    def test_a_proof_over_several_calls_verifies(self):
        php = pigeonhole(4)
        with vetrix.Solver(bootstrap_with=php, with_proof=True) as s:
            self.assertFalse(s.solve([1, 6]))
            self.assertFalse(s.solve([-1]))
            self.assertFalse(s.solve())
            lines = s.get_proof()
        self.assertEqual(lines[-1], "0")
        with tempfile.TemporaryDirectory() as tmp:
            paths = os.path.join(tmp, "php.cnf"), os.path.join(tmp, "proof")
            with open(paths[0], "w") as f:
                f.write(f"p cnf 20 {len(php)}\n" + "".join(" ".join(map(str, c)) + " 0\n" for c in php))
            with open(paths[1], "w") as f:
                f.write("\n".join(lines) + "\n")
            run = subprocess.run([DRATCHECK, "--text", *paths], capture_output=True, text=True)
        self.assertEqual(run.stdout.splitlines()[-1:], ["s VERIFIED"], run.stdout)


if __name__ == "__main__":
    unittest.main()
