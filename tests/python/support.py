"""What the Python tests share: the build's programs, the fixtures, an own
DIMACS reading, an own model check, small formulas and the peer solver."""

import importlib.util
import os
import subprocess
import sysconfig

SOURCE_DIR = os.environ.get("VETRIX_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
VETRIX_BIN = os.environ.get("VETRIX_BIN", "vetrix")
DRATCHECK = os.environ.get("VETRIX_DRATCHECK", "dratcheck")
LRATCHECK = os.environ.get("VETRIX_LRATCHECK", "lratcheck")
CORPUS = os.environ.get("VETRIX_CORPUS", os.path.join(SOURCE_DIR, "..", "shared", "bench"))
INPUTS = os.path.join(SOURCE_DIR, "tests", "inputs")


def read_dimacs(path):
    """(number of variables, clauses) of a plain, well-formed DIMACS file."""
    num_vars, clauses, clause = 0, [], []
    with open(path) as f:
        for line in f:
            words = line.split()
            if not words or words[0] == "c" or words[0] == "%":
                continue
            if words[0] == "p":
                num_vars = int(words[2])
                continue
            for word in words:
                if word == "0":
                    clauses.append(clause)
                    clause = []
                else:
                    clause.append(int(word))
    return num_vars, clauses


def satisfies(model, clauses):
    true = {lit for lit in model}
    return all(any(lit in true for lit in clause) for clause in clauses)


def command_line(path, strategy):
    """(stdout, status) of the built vetrix on path."""
    run = subprocess.run([VETRIX_BIN, path, str(strategy)], capture_output=True)
    return run.stdout.decode("utf-8", "surrogateescape"), run.returncode


def true_variables(stdout):
    """The variables the v lines list."""
    return {int(w) for line in stdout.splitlines() if line.startswith("v ") for w in line.split()[1:] if w != "0"}


def pigeonhole(holes):
    """holes + 1 pigeons in holes holes: unsatisfiable; variable p * holes + h + 1."""
    var = lambda p, h: p * holes + h + 1
    clauses = [[var(p, h) for h in range(holes)] for p in range(holes + 1)]
    clauses += [[-var(p, h), -var(q, h)] for h in range(holes) for p in range(holes + 1) for q in range(p)]
    return clauses


def peer_module():
    """pycryptosat (CryptoMiniSat's incremental solver, from Debian's
    python3-cryptominisat), or None. Debian installs it for its own
    /usr/bin/python3; another interpreter of the same ABI (pyenv, a venv)
    loads that build of the module directly."""
    try:
        import pycryptosat
        return pycryptosat
    except ImportError:
        pass
    path = "/usr/lib/python3/dist-packages/pycryptosat" + sysconfig.get_config_var("EXT_SUFFIX")
    if not os.path.exists(path):
        return None
    found = importlib.util.spec_from_file_location("pycryptosat", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module
