// The compiled half of the Python module vetrix, for the pure-Python layer
// of python/vetrix/__init__.py, which gives it its Python shape: the
// library's three solves (clauses, a file, DIMACS text), with one strategy
// or a race of several, and the incremental solver (solver_binding.cpp). It
// uses the public C++ interface only.
//
// Every search runs in a thread of its own while the calling thread waits
// without the GIL, running Python's signal check (bridge.h): a
// KeyboardInterrupt raised there stops the search (the library's stop flag,
// which stops every strategy of a race) and leaves the call once the search
// has ended.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <vetrix/vetrix.h>

#include "bridge.h"
#include "solver_binding.h"

namespace py = pybind11;
using namespace vetrix_python;

namespace {

using Clauses = std::vector<std::vector<int>>;
using Settings = std::vector<std::pair<std::string, std::string>>;

// The largest variable of the clauses, INT_MAX for -INT_MIN.
int largest_variable(const Clauses &clauses) {
    long long largest = 0;
    for (const std::vector<int> &clause : clauses)
        for (const int literal : clause)
            largest = std::max(largest, literal < 0 ? -static_cast<long long>(literal) : literal);
    return static_cast<int>(std::min<long long>(largest, INT_MAX));
}

// settings: the options of the table by name, their values as text.
py::tuple solve_with(const std::function<vetrix::Result(const vetrix::Options &)> &solve, const Settings &settings,
                     const std::vector<int> &strategies, const py::object &proof, const py::object &progress) {
    vetrix::Options options;
    for (const auto &[name, value] : settings)
        options.set(name, value);
    if (!strategies.empty())
        options.strategies = strategies;
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
    std::atomic<bool> stop{false};
    options.stop = &stop;
    vetrix::Result result;
    run_interruptible([&] { result = solve(options); }, [&] { stop = true; });
    if (buffer && buffer->failure())
        std::rethrow_exception(buffer->failure());
    const int verdict = vetrix::verdict_code(result.verdict);
    py::list model(result.model.size());
    for (size_t k = 0; k < result.model.size(); ++k)
        model[k] = result.model[k];
    return py::make_tuple(verdict, model, stats_dict(result.stats), result.strategy);
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
    m.def("option_table", [] {
        static const char *const kinds[] = {"flag", "count", "seconds", "choice", "list", "text"};
        py::list rows;
        for (const vetrix::OptionInfo &info : vetrix::option_table())
            rows.append(py::dict(py::arg("name") = info.name, py::arg("kind") = kinds[static_cast<int>(info.kind)],
                                 py::arg("default") = info.default_value, py::arg("choices") = info.choices,
                                 py::arg("one_shot") = (info.faces & vetrix::FACE_ONE_SHOT) != 0,
                                 py::arg("incremental") = (info.faces & vetrix::FACE_INCREMENTAL) != 0,
                                 py::arg("help") = info.help));
        return rows;
    });
    bind_solver(m);
    m.def("clause", [](py::handle literals) { return py::cast(clause_of(literals)); },
          "The literals as a list of ints, checked as a solve checks them.");
    m.def(
        "solve_clauses",
        [](py::handle clauses, py::object num_vars, const Settings &settings, const std::vector<int> &strategies,
           py::object proof, py::object progress) {
            Clauses list;
            for (py::handle clause : py::iter(clauses))
                list.push_back(clause_of(clause));
            const int n = num_vars.is_none() ? largest_variable(list) : num_vars.cast<int>();
            return solve_with([&](const vetrix::Options &o) { return vetrix::solve(n, list, o); }, settings,
                              strategies, proof, progress);
        },
        py::arg("clauses"), py::arg("num_vars"), py::arg("settings"), py::arg("strategies"), py::arg("proof"),
        py::arg("progress"));
    m.def(
        "solve_file",
        [](const py::bytes &path, const Settings &settings, const std::vector<int> &strategies, py::object proof,
           py::object progress) {
            const std::string name = path;
            return solve_with([&](const vetrix::Options &o) { return vetrix::solve_file(name, o); }, settings,
                              strategies, proof, progress);
        },
        py::arg("path"), py::arg("settings"), py::arg("strategies"), py::arg("proof"), py::arg("progress"));
    m.def(
        "solve_dimacs",
        [](const py::bytes &text, const Settings &settings, const std::vector<int> &strategies, py::object proof,
           py::object progress) {
            const std::string bytes = text;
            return solve_with([&](const vetrix::Options &o) { return vetrix::solve_dimacs(bytes, o); }, settings,
                              strategies, proof, progress);
        },
        py::arg("text"), py::arg("settings"), py::arg("strategies"), py::arg("proof"), py::arg("progress"));
}
