"""The module's errors, options and behaviour: every error class, proofs
checked by the project's checker, the time limit, a race of strategies,
threads, Ctrl-C, memory across calls, and the PySAT-shaped Solver."""

import io
import os
import signal
import subprocess
import sys
import tempfile
import threading
import unittest

import vetrix
from support import DRATCHECK, LRATCHECK, pigeonhole, satisfies

HARD = pigeonhole(11)  # far beyond any test's patience


def dimacs(clauses):
    num_vars = max((abs(lit) for c in clauses for lit in c), default=0)
    return f"p cnf {num_vars} {len(clauses)}\n" + "".join(" ".join(map(str, c)) + " 0\n" for c in clauses)


class Errors(unittest.TestCase):
    def test_each_bad_input_raises_its_class(self):
        rows = [
            (TypeError, lambda: vetrix.solve([[1, 2.0]])),
            (TypeError, lambda: vetrix.solve([[1, "2"]])),
            (TypeError, lambda: vetrix.solve([[1, True]])),
            (TypeError, lambda: vetrix.solve([[1], 2])),
            (TypeError, lambda: vetrix.solve(5)),
            (TypeError, lambda: vetrix.solve([[1]], strategy=[1])),
            (OverflowError, lambda: vetrix.solve([[1, 2**31]])),
            (OverflowError, lambda: vetrix.solve([[-(2**31) - 1]])),
            (OverflowError, lambda: vetrix.solve([[1]], num_vars=2**40)),
            (vetrix.Error, lambda: vetrix.solve([[1]], time_limit=0)),
            (vetrix.Error, lambda: vetrix.solve([[1]], time_limit=float("nan"))),
            (ValueError, lambda: vetrix.solve([[1]], strategies=[])),
            (TypeError, lambda: vetrix.solve([[1]], strategies=["1"])),
            (FileNotFoundError, lambda: vetrix.solve([[1]], proof="/nonexistent-dir/proof.drat")),
        ]
        for error, call in rows:
            with self.subTest(error=error):
                self.assertRaises(error, call)

    def test_every_option_of_the_table_as_a_keyword(self):
        good = {"flag": True, "count": 5, "seconds": 5.0, "choice": "0", "list": "0", "text": "x"}
        bad = {"flag": "maybe", "count": -1, "seconds": 0, "choice": "x", "list": "x", "text": ""}
        for row in vetrix.options():
            name, kind = row["name"], row["kind"]
            if name == "proof":  # a path or a file object here, written by the module itself
                continue
            keyword = name.replace("-", "_")
            for face, call in (("one_shot", lambda **kw: vetrix.solve([[1]], **kw)),
                               ("incremental", lambda **kw: vetrix.Solver([[1]], **kw).solve())):
                with self.subTest(option=name, face=face):
                    with self.assertRaises(vetrix.Error) as caught:
                        call(**{keyword: bad[kind]})
                    text = bad[kind] if not isinstance(bad[kind], bool) else ""
                    self.assertEqual(caught.exception.message, f"vetrix: bad value '{text}' for option '--{name}'\n")
                    if row[face]:
                        call(**{keyword: good[kind]})
                    else:
                        self.assertRaisesRegex(vetrix.Error, "is not taken by", call, **{keyword: good[kind]})
        self.assertRaisesRegex(vetrix.Error, "^vetrix: unknown option '--no-such'$", vetrix.solve, [[1]], no_such=1)

    def test_the_librarys_messages(self):
        missing = os.path.join(tempfile.gettempdir(), "vetrix-no-such-file.cnf")
        rows = [
            (lambda: vetrix.solve([[1], [2, 0]]), "literal 0 out of range in clause 2\n"),
            (lambda: vetrix.solve([[1], [-3]], num_vars=2), "literal -3 out of range in clause 2\n"),
            (lambda: vetrix.solve([[-(2**31)]]), "wrong array size\n"),
            (lambda: vetrix.solve([[1]], num_vars=-1), "wrong array size\n"),
            (lambda: vetrix.solve([[1]], strategy=3), "vetrix: bad value '3' for option '--strategy'\n"),
            (lambda: vetrix.solve([[1]], strategies=(2, 4)), "wrong strategy 4\n"),
            (lambda: vetrix.solve_file(missing, strategies=[0, 2, 0]), "repeated strategy 0\n"),
            (lambda: vetrix.solve([[1]], strategies=[0, 1], progress=print),
             "progress reports are not given by a race of strategies\n"),
            (lambda: vetrix.solve_dimacs("x"), "a CNF is empty (not opened?)\n"),
            (lambda: vetrix.solve_dimacs("p cnf 2 1\n1 3 0\n"), "literal 3 out of range in clause 1\n"),
            (lambda: vetrix.solve_file(missing), f"cannot open  file {missing}\n"),
        ]
        for call, message in rows:
            with self.subTest(message=message):
                with self.assertRaises(vetrix.Error) as caught:
                    call()
                self.assertEqual((caught.exception.message, caught.exception.status), (message, 1))
                self.assertEqual(str(caught.exception), message.strip())
        self.assertEqual(vetrix.solve([[1]]).verdict, vetrix.Verdict.SATISFIABLE)  # nothing stays broken

    def test_a_proof_file_that_is_the_input(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "f.cnf")
            with open(path, "w") as f:
                f.write("p cnf 1 1\n1 0\n")
            with self.assertRaises(vetrix.Error) as caught:
                vetrix.solve_file(path, proof=path)
            self.assertIn("is the input file", caught.exception.message)
            self.assertEqual(vetrix.solve_file(path).model, [1])


class Options(unittest.TestCase):
    def check(self, clauses, proof_path, binary, lrat=False):
        run = subprocess.run([LRATCHECK if lrat else DRATCHECK, "--binary" if binary else "--text", clauses,
                              proof_path], capture_output=True, text=True)
        self.assertEqual((run.returncode, run.stdout.splitlines()[-1:]), (0, ["s VERIFIED"]), run.stdout)

    def test_proofs_verify_in_every_format_to_paths_and_files(self):
        php = pigeonhole(4)
        with tempfile.TemporaryDirectory() as tmp:
            cnf = os.path.join(tmp, "php.cnf")
            with open(cnf, "w") as f:
                f.write(dimacs(php))
            for strategy in (0, 1, 2, "fast"):
                for binary, lrat in ((False, False), (True, False), (False, True), (True, True)):
                    with self.subTest(strategy=strategy, binary=binary, lrat=lrat):
                        path = os.path.join(tmp, "proof")
                        result = vetrix.solve(php, strategy=strategy, proof=path, binary_proof=binary, lrat=lrat)
                        self.assertEqual(result.verdict, vetrix.Verdict.UNSATISFIABLE)
                        self.check(cnf, path, binary, lrat)
                        stream = io.BytesIO()
                        vetrix.solve_file(cnf, strategy=strategy, proof=stream, binary_proof=binary, lrat=lrat)
                        with open(path, "rb") as f:
                            self.assertEqual(stream.getvalue(), f.read())

    def test_a_failing_proof_writer_raises_its_exception(self):
        class Full(io.RawIOBase):
            def writable(self):
                return True

            def write(self, data):
                raise OSError(28, "No space left on device")

        with self.assertRaises(OSError):
            vetrix.solve(pigeonhole(4), proof=Full())

    def test_time_limit_gives_unknown_and_stats(self):
        result = vetrix.solve(HARD, time_limit=1e-9)
        self.assertEqual((result.verdict, result.model), (vetrix.Verdict.UNKNOWN, []))
        done = vetrix.solve(pigeonhole(5))
        self.assertEqual(set(done.stats), {"conflicts", "decisions", "propagations", "visits", "passes",
                                           "reviews_fixed", "reviews_plain", "recipes_included",
                                           "recipes_deleted", "cubes_held"})
        self.assertGreater(done.stats["conflicts"], 0)

    def test_progress_reports_end_with_the_results_counters(self):
        reports = []
        result = vetrix.solve(pigeonhole(6), progress=reports.append)
        self.assertTrue(reports and reports[-1]["last"])
        self.assertEqual(reports[-1]["conflicts"], result.stats["conflicts"])
        self.assertEqual([r["last"] for r in reports[:-1]], [False] * (len(reports) - 1))

        def stop(report):
            raise RuntimeError("enough")

        with self.assertRaisesRegex(RuntimeError, "enough"):
            vetrix.solve(HARD, progress=stop)

    def test_a_race_gives_the_winners_answer_and_proof(self):
        php = pigeonhole(5)
        sat = [[1, -2, 3], [-1, 2], [2, -3, 4], [-4, 1], [3, 4]]
        for clauses in (php, sat):
            for strategies in ([0, 1, 2], (2, 0), [1]):
                with self.subTest(clauses=len(clauses), strategies=strategies):
                    proof, alone_proof = io.BytesIO(), io.BytesIO()
                    result = vetrix.solve_dimacs(dimacs(clauses), strategies=strategies, proof=proof)
                    self.assertIn(result.strategy, strategies)
                    self.assertEqual(result, vetrix.solve(clauses, strategy=result.strategy, proof=alone_proof))
                    self.assertEqual(proof.getvalue(), alone_proof.getvalue())
        self.assertRaisesRegex(TypeError, "strategies", vetrix.Solver, bootstrap_with=php, strategies=[2, 1])

    def test_version_is_the_command_lines(self):
        from support import VETRIX_BIN
        out = subprocess.run([VETRIX_BIN, "--version"], capture_output=True, text=True).stdout
        self.assertIn(vetrix.__version__, out)


class Threads(unittest.TestCase):
    def test_two_threads_give_the_sequential_answers(self):
        formulas = [pigeonhole(5), pigeonhole(6)] + [[[1, -2], [2, 3], [-1, -3], [k % 3 + 1]] for k in range(6)]
        expected = [vetrix.solve(f, strategy=k % 3) for k, f in enumerate(formulas)]
        got = [None] * len(formulas)

        def work(first):
            for k in range(first, len(formulas), 2):
                got[k] = vetrix.solve(formulas[k], strategy=k % 3)

        threads = [threading.Thread(target=work, args=(first,)) for first in (0, 1)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        self.assertEqual(got, expected)

    def run_child(self, body, interrupt):
        """Runs body in a fresh Python that prints 'solving' just before its
        solve starts; with interrupt, sends it SIGINT 0.2 s later. Returns its
        stdout lines; a child that hangs fails the test."""
        script = f"import threading, vetrix, sys, os\nsys.path.insert(0, {os.path.dirname(__file__)!r})\n" \
                 f"from support import pigeonhole\n{body}"
        child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, text=True)
        try:
            self.assertEqual(child.stdout.readline(), "solving\n")
            if interrupt:
                threading.Timer(0.2, child.send_signal, (signal.SIGINT,)).start()
            return child.communicate(timeout=120)[0].splitlines()
        finally:
            child.kill()  # the search would go on for hours
            child.wait()

    def test_the_search_runs_without_the_gil(self):
        body = ("ts = [threading.Thread(target=vetrix.solve, args=(pigeonhole(11),), kwargs=k, daemon=True)\n"
                "      for k in ({}, {'strategies': [0, 1, 2]})]\n"
                "ts.append(threading.Thread(target=vetrix.Solver(pigeonhole(11)).solve, daemon=True))\n"
                "print('solving', flush=True); [t.start() for t in ts]\n"
                "ts[1].join(0.2); print('main ran', [t.is_alive() for t in ts], flush=True); os._exit(0)\n")
        self.assertEqual(self.run_child(body, False), ["main ran [True, True, True]"])

    def test_ctrl_c_raises_keyboard_interrupt(self):
        body = ("clauses = pigeonhole(11)\nprint('solving', flush=True)\n"
                "try:\n    vetrix.solve(clauses)\nexcept KeyboardInterrupt:\n    print('interrupted')\n"
                "print(vetrix.solve([[1]]).model)\n")
        self.assertEqual(self.run_child(body, True), ["interrupted", "[1]"])

    def test_ctrl_c_leaves_a_solver_usable(self):
        body = ("s = vetrix.Solver([c + [-999] for c in pigeonhole(11)])\nprint('solving', flush=True)\n"
                "try:\n    s.solve([999])\nexcept KeyboardInterrupt:\n    print('interrupted')\n"
                "print(s.solve([-999]), s.get_model()[-1])\n")
        self.assertEqual(self.run_child(body, True), ["interrupted", "True -999"])


class Memory(unittest.TestCase):
    @unittest.skipUnless(os.path.exists("/proc/self/statm"), "needs /proc")
    def test_many_small_solves_keep_a_flat_resident_size(self):
        def resident_kb():
            with open("/proc/self/statm") as f:
                return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE") // 1024

        clauses = [[1, -2, 3], [-1, 2], [2, -3, 4], [-4, 1], [3, 4]]
        stream = io.BytesIO()
        for _ in range(300):
            vetrix.solve(clauses, proof=stream)
        before = resident_kb()
        for k in range(3000):
            vetrix.solve(clauses, strategy=k % 3, proof=io.BytesIO())
            try:
                vetrix.solve([[1, 0]])
            except vetrix.Error:
                pass
        self.assertLess(resident_kb() - before, 2048)


class SolverClass(unittest.TestCase):
    def test_the_pysat_shape(self):
        clauses = [[1, 2, 3], [-1, -2], [-2, -3], [-1, -3]]
        with vetrix.Solver(bootstrap_with=clauses[:2], strategy=1) as s:
            self.assertIsNone(s.get_status())
            s.add_clause(clauses[2])
            s.append_formula(iter(clauses[3:]))
            self.assertEqual((s.nof_vars(), s.nof_clauses()), (3, 4))
            self.assertTrue(s.solve())
            self.assertEqual(s.get_model(), vetrix.solve(clauses, strategy=1).model)
            for assumptions in ([2], (-1, -2), [4]):
                with self.subTest(assumptions=assumptions):
                    self.assertTrue(s.solve(assumptions=assumptions))
                    model = s.get_model()
                    self.assertTrue(satisfies(model, clauses + [[a] for a in assumptions]))
                    self.assertIsNone(s.get_core())
            self.assertFalse(s.solve([-1, -2, -3]))
            self.assertEqual((s.get_model(), s.get_status(), sorted(s.get_core())), (None, False, [-3, -2, -1]))
            self.assertTrue(s.solve())  # nothing kept from the failed assumptions
            self.assertEqual(s.nof_clauses(), 4)
            self.assertGreater(s.accum_stats()["decisions"], 0)
            self.assertRaises(TypeError, s.add_clause, [1, None])
        self.assertRaises(ValueError, s.solve)

    def test_options_time_limit_and_progress(self):
        with vetrix.Solver(bootstrap_with=HARD, time_limit=1e-9, name="g4", incr=True, warm_start=True) as s:
            self.assertIsNone(s.solve())
            self.assertIsNone(s.get_model())
        self.assertRaises(vetrix.Error, vetrix.Solver, conflicts=-3)
        reports = []
        with vetrix.Solver(bootstrap_with=pigeonhole(6), use_timer=True, progress=reports.append) as s:
            self.assertFalse(s.solve())
            self.assertEqual(reports[-1]["conflicts"], s.accum_stats()["conflicts"])
            self.assertGreaterEqual(s.time_accum(), s.time())
            self.assertGreater(s.time(), 0)


if __name__ == "__main__":
    unittest.main()
