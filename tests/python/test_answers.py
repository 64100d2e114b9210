"""The module's answers against the command line's: the input fixtures and a
slice of the corpus's small tier under every strategy, through each entry
point, every model checked against the clauses as read here."""

import array
import os
import unittest

import vetrix
from support import CORPUS, INPUTS, command_line, read_dimacs, satisfies, true_variables

try:
    import numpy
except ImportError:
    numpy = None


class Fixtures(unittest.TestCase):
    def test_every_fixture_under_every_strategy(self):
        names = sorted(n[:-4] for n in os.listdir(INPUTS) if n.endswith(".cnf"))
        self.assertGreater(len(names), 20)
        for name in names:
            path = os.path.join(INPUTS, name + ".cnf")
            with open(os.path.join(INPUTS, name + ".out"), encoding="utf-8", errors="surrogateescape") as f:
                out = f.read()
            with open(os.path.join(INPUTS, name + ".status")) as f:
                status = int(f.read())
            with open(path, "rb") as f:
                text = f.read()
            for strategy in range(3):
                for call in (lambda: vetrix.solve_file(path, strategy=strategy),
                             lambda: vetrix.solve_dimacs(text, strategy=strategy)):
                    with self.subTest(name=name, strategy=strategy):
                        if not out.startswith("s "):
                            with self.assertRaises(vetrix.Error) as caught:
                                call()
                            self.assertEqual((caught.exception.message, caught.exception.status),
                                             (out, status))
                            continue
                        result = call()
                        self.assertEqual(result.verdict.name, out.split()[1])
                        self.assertEqual({v for v in result.model if v > 0}, true_variables(out))

    def test_the_fast_engine_gives_the_verdicts_and_checked_models(self):
        """strategy="fast" answers each fixture as strategy 0 does and fails
        alike; its own model satisfies the clauses of every plain fixture
        (one whose clauses as read here strategy 0's model satisfies)."""
        for name in sorted(n[:-4] for n in os.listdir(INPUTS) if n.endswith(".cnf")):
            path = os.path.join(INPUTS, name + ".cnf")
            with self.subTest(name=name):
                try:
                    expected = vetrix.solve_file(path)
                except vetrix.Error as e:
                    with self.assertRaises(vetrix.Error) as caught:
                        vetrix.solve_file(path, strategy="fast")
                    self.assertEqual(caught.exception.message, e.message)
                    continue
                result = vetrix.solve_file(path, strategy="fast")
                self.assertEqual((result.verdict, result.strategy), (expected.verdict, vetrix.FAST))
                if result.verdict == vetrix.Verdict.SATISFIABLE:
                    try:
                        clauses = read_dimacs(path)[1]
                    except ValueError:  # not plain DIMACS
                        continue
                    self.assertTrue(satisfies(result.model, clauses) or not satisfies(expected.model, clauses))


def corpus_slice():
    """Every 40th instance of the small tier, with at most 200 variables."""
    with open(os.path.join(CORPUS, "MANIFEST.tsv")) as f:
        rows = [line.rstrip("\n").split("\t") for line in f][1:]
    rows = [r for r in rows if r[7] == "small" and int(r[2]) <= 200]
    return [(os.path.join(CORPUS, r[0]), r[4]) for r in rows[::40]]


@unittest.skipUnless(os.path.isdir(CORPUS), f"no corpus at {CORPUS}")
class Corpus(unittest.TestCase):
    def test_models_equal_the_command_lines(self):
        instances = corpus_slice()
        self.assertGreater(len(instances), 20)
        for path, expected in instances:
            num_vars, clauses = read_dimacs(path)
            for strategy in range(3):
                with self.subTest(path=path, strategy=strategy):
                    out, status = command_line(path, strategy)
                    self.assertEqual(status, 0)
                    result = vetrix.solve(clauses, num_vars=num_vars, strategy=strategy)
                    self.assertEqual(result.verdict, {"SAT": vetrix.Verdict.SATISFIABLE, "UNSAT": vetrix.Verdict.UNSATISFIABLE}[expected])
                    self.assertEqual(result.verdict.name, out.split()[1])
                    self.assertEqual(vetrix.solve_file(path, strategy=strategy), result)
                    if result.verdict is vetrix.Verdict.SATISFIABLE:
                        self.assertEqual(sorted(map(abs, result.model)), list(range(1, num_vars + 1)))
                        self.assertEqual({v for v in result.model if v > 0}, true_variables(out))
                        self.assertTrue(satisfies(result.model, clauses))


class ClauseContainers(unittest.TestCase):
    def test_every_iterable_of_ints_gives_the_same_answer(self):
        clauses = [[1, -2, 3], [-1, 2], [2, -3], [-2, 3, 4], [-4, -1]]
        expected = vetrix.solve(clauses)
        self.assertEqual(expected.verdict, vetrix.Verdict.SATISFIABLE)
        self.assertTrue(satisfies(expected.model, clauses))
        self.assertEqual(len(expected.model), 4)
        forms = {
            "tuples": tuple(tuple(c) for c in clauses),
            "generators": ((lit for lit in c) for c in clauses),
            "array": [array.array("i", c) for c in clauses],
        }
        if numpy is not None:
            forms["numpy"] = [numpy.array(c, dtype=numpy.int64) for c in clauses]
            forms["numpy int32 rows"] = list(numpy.array([[1, -2], [2, 3], [-1, 3]], dtype=numpy.int32))
        for form, value in forms.items():
            with self.subTest(form=form):
                result = vetrix.solve(value)
                if form == "numpy int32 rows":
                    self.assertEqual(result.model, vetrix.solve([[1, -2], [2, 3], [-1, 3]]).model)
                else:
                    self.assertEqual(result, expected)
        self.assertEqual(len(vetrix.solve(clauses, num_vars=6).model), 6)
        self.assertEqual(vetrix.solve([]).model, [])
        self.assertEqual(vetrix.solve([[1], []]).verdict, vetrix.Verdict.UNSATISFIABLE)


if __name__ == "__main__":
    unittest.main()
