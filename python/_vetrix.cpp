// The compiled half of the Python module vetrix: the library's three solves
// (clauses, a file, DIMACS text), with one strategy or a race of several,
// for the pure-Python layer of python/vetrix/__init__.py, which gives them
// their Python shape. It uses the public C++ interface only.
//
// A solve (a race with its own threads) runs in a thread of its own while
// the calling thread waits without the GIL, waking every few milliseconds to
// run Python's signal check: a KeyboardInterrupt raised there stops the
// search (the library's stop flag, which stops every strategy of a race) and
// leaves the call once the search has ended.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include <vetrix/vetrix.h>

namespace py = pybind11;

namespace {

using Clauses = std::vector<std::vector<int>>;

// ------------------------------------------------------------- clauses

[[noreturn]] void raise(PyObject *type, const std::string &message) {
    PyErr_SetString(type, message.c_str());
    throw py::error_already_set();
}

// A literal: any int (or an object with __index__, as NumPy's integers),
// but not a bool; TypeError otherwise, OverflowError beyond a C int.
int literal_of(py::handle item) {
    if (PyBool_Check(item.ptr()) || !PyIndex_Check(item.ptr()))
        raise(PyExc_TypeError, std::string("a literal must be an int, not ") + Py_TYPE(item.ptr())->tp_name);
    const py::object number = py::reinterpret_steal<py::object>(PyNumber_Index(item.ptr()));
    if (!number)
        throw py::error_already_set();
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
    if (value == -1 && PyErr_Occurred())
        throw py::error_already_set();
    if (overflow != 0 || value < INT_MIN || value > INT_MAX)
        raise(PyExc_OverflowError, "literal " + py::str(number).cast<std::string>() + " does not fit in a C int");
    return static_cast<int>(value);
}

std::vector<int> clause_of(py::handle literals) {
    std::vector<int> clause;
    for (py::handle item : py::iter(literals))
        clause.push_back(literal_of(item));
    return clause;
}

// The largest variable of the clauses, INT_MAX for -INT_MIN.
int largest_variable(const Clauses &clauses) {
    long long largest = 0;
    for (const std::vector<int> &clause : clauses)
        for (const int literal : clause)
            largest = std::max(largest, literal < 0 ? -static_cast<long long>(literal) : literal);
    return static_cast<int>(std::min<long long>(largest, INT_MAX));
}

// ------------------------------------------------------------- the proof

// Hands the proof's bytes to a Python object's write(). The solve's thread
// takes the GIL for each block (the library writes its proof in large
// blocks); the first Python exception is kept for the caller, and the
// stream reports the failure to the library.
class PythonWriteBuffer : public std::streambuf {
  public:
    explicit PythonWriteBuffer(py::object file) : file_(std::move(file)) {}
    std::exception_ptr failure() const { return failure_; }

  protected:
    std::streamsize xsputn(const char *data, std::streamsize size) override {
        if (failure_)
            return 0;
        try {
            py::gil_scoped_acquire gil;
            for (std::streamsize done = 0; done < size;) { // a raw file may take part of the bytes
                const py::object taken = file_.attr("write")(py::bytes(data + done, static_cast<size_t>(size - done)));
                const std::streamsize n = taken.is_none() ? size - done : taken.cast<std::streamsize>();
                if (n <= 0)
                    raise(PyExc_OSError, "the proof file took no bytes");
                done += n;
            }
            return size;
        } catch (...) {
            failure_ = std::current_exception();
            return 0;
        }
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }

  private:
    py::object file_;
    std::exception_ptr failure_;
};

// ------------------------------------------------------------- progress

// Hands each progress report to a Python callable as a dict of the
// vetrix::Progress names. The solve's thread takes the GIL for the call; an
// exception the callable raises ends the solve and reaches the caller.
class PythonProgress {
  public:
    explicit PythonProgress(py::object callback) : callback_(std::move(callback)) {}
    void operator()(const vetrix::Progress &p) const {
        py::gil_scoped_acquire gil;
        py::dict report;
        report["seconds"] = p.seconds;
        report["passes"] = p.passes;
        report["conflicts"] = p.conflicts;
        report["decisions"] = p.decisions;
        report["propagations"] = p.propagations;
        report["learnt_held"] = p.learnt_held;
        report["fixed"] = p.fixed;
        report["reviews"] = p.reviews;
        report["peak_memory_mb"] = p.peak_memory_mb;
        report["last"] = p.last;
        callback_(report);
    }

  private:
    py::object callback_;
};

// ------------------------------------------------------------- the solve

// Runs solve in a thread of its own with the options' stop flag, polling
// Python's signal check meanwhile; rethrows what the solve threw.
vetrix::Result run_interruptible(const std::function<vetrix::Result(const vetrix::Options &)> &solve,
                                 vetrix::Options options) {
    std::atomic<bool> stop{false};
    options.stop = &stop;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    vetrix::Result result;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            result = solve(options);
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
        finished.notify_one();
    });
    std::optional<py::error_already_set> interrupt; // the signal handler's exception
    for (;;) {
        {
            py::gil_scoped_release release;
            std::unique_lock<std::mutex> lock(mutex);
            if (finished.wait_for(lock, std::chrono::milliseconds(20), [&] { return done; }))
                break;
        }
        if (PyErr_CheckSignals() != 0) {
            interrupt.emplace();
            stop = true;
            break;
        }
    }
    {
        py::gil_scoped_release release; // the solve may need the GIL for its proof
        worker.join();
    }
    if (interrupt)
        throw *interrupt;
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

py::tuple solve_with(const std::function<vetrix::Result(const vetrix::Options &)> &solve, int strategy,
                     const std::vector<int> &strategies, const py::object &proof, bool binary_proof, bool lrat,
                     double time_limit, const py::object &progress) {
    vetrix::Options options;
    options.strategy = strategy;
    options.strategies = strategies;
    options.binary_proof = binary_proof;
    options.lrat = lrat;
    options.time_limit = time_limit;
    // The library copies its options without the GIL: the callback it holds
    // is a pointer to the Python callable's holder, never a Python object.
    std::unique_ptr<PythonProgress> reporter;
    if (!progress.is_none()) {
        reporter = std::make_unique<PythonProgress>(progress);
        options.progress = [holder = reporter.get()](const vetrix::Progress &p) { (*holder)(p); };
    }
    std::unique_ptr<PythonWriteBuffer> buffer;
    std::unique_ptr<std::ostream> stream;
    if (!proof.is_none()) {
        buffer = std::make_unique<PythonWriteBuffer>(proof);
        stream = std::make_unique<std::ostream>(buffer.get());
        options.proof = stream.get();
    }
    const vetrix::Result result = run_interruptible(solve, options);
    if (buffer && buffer->failure())
        std::rethrow_exception(buffer->failure());
    const int verdict = result.verdict == vetrix::Verdict::satisfiable     ? 10
                        : result.verdict == vetrix::Verdict::unsatisfiable ? 20
                                                                           : 0;
    py::list model(result.model.size());
    for (size_t k = 0; k < result.model.size(); ++k)
        model[k] = result.model[k];
    const vetrix::Statistics &s = result.stats;
    py::dict stats;
    stats["conflicts"] = s.conflicts;
    stats["decisions"] = s.decisions;
    stats["propagations"] = s.propagations;
    stats["visits"] = s.visits;
    stats["passes"] = s.passes;
    stats["reviews_fixed"] = s.reviews_root;
    stats["reviews_plain"] = s.reviews_plain;
    stats["recipes_included"] = s.recipes_included;
    stats["recipes_deleted"] = s.recipes_deleted;
    stats["cubes_held"] = s.cubes_held;
    return py::make_tuple(verdict, model, stats, result.strategy);
}

// A vetrix::Error becomes the package's vetrix.Error(message, status), the
// message's bytes decoded as file names are.
void raise_package_error(const vetrix::Error &error) {
    const py::object type = py::module_::import("vetrix").attr("Error");
    const std::string &bytes = error.message();
    const py::object message = py::reinterpret_steal<py::object>(
        PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogateescape"));
    PyErr_SetObject(type.ptr(), type(message, error.status()).ptr());
}

} // namespace

PYBIND11_MODULE(_vetrix, m) {
    m.doc() = "vetrix's C++ library for the vetrix package; use the package, not this module.";
    py::register_exception_translator([](std::exception_ptr caught) {
        try {
            if (caught)
                std::rethrow_exception(caught);
        } catch (const vetrix::Error &error) {
            raise_package_error(error);
        }
    });
    m.def("version", &vetrix::version);
    m.def("clause", [](py::handle literals) { return py::cast(clause_of(literals)); },
          "The literals as a list of ints, checked as a solve checks them.");
    m.def(
        "solve_clauses",
        [](py::handle clauses, py::object num_vars, int strategy, const std::vector<int> &strategies,
           py::object proof, bool binary_proof, bool lrat, double time_limit, py::object progress) {
            Clauses list;
            for (py::handle clause : py::iter(clauses))
                list.push_back(clause_of(clause));
            const int n = num_vars.is_none() ? largest_variable(list) : num_vars.cast<int>();
            return solve_with([&](const vetrix::Options &o) { return vetrix::solve(n, list, o); }, strategy,
                              strategies, proof, binary_proof, lrat, time_limit, progress);
        },
        py::arg("clauses"), py::arg("num_vars"), py::arg("strategy"), py::arg("strategies"), py::arg("proof"),
        py::arg("binary_proof"), py::arg("lrat"), py::arg("time_limit"), py::arg("progress"));
    m.def(
        "solve_file",
        [](const py::bytes &path, int strategy, const std::vector<int> &strategies, py::object proof,
           bool binary_proof, bool lrat, double time_limit, py::object progress) {
            const std::string name = path;
            return solve_with([&](const vetrix::Options &o) { return vetrix::solve_file(name, o); }, strategy,
                              strategies, proof, binary_proof, lrat, time_limit, progress);
        },
        py::arg("path"), py::arg("strategy"), py::arg("strategies"), py::arg("proof"), py::arg("binary_proof"),
        py::arg("lrat"), py::arg("time_limit"), py::arg("progress"));
    m.def(
        "solve_dimacs",
        [](const py::bytes &text, int strategy, const std::vector<int> &strategies, py::object proof,
           bool binary_proof, bool lrat, double time_limit, py::object progress) {
            const std::string bytes = text;
            return solve_with([&](const vetrix::Options &o) { return vetrix::solve_dimacs(bytes, o); },
                              strategy, strategies, proof, binary_proof, lrat, time_limit, progress);
        },
        py::arg("text"), py::arg("strategy"), py::arg("strategies"), py::arg("proof"), py::arg("binary_proof"),
        py::arg("lrat"), py::arg("time_limit"), py::arg("progress"));
}
