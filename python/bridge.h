// What the compiled module's bindings share: literals and clauses read from
// Python objects, the Python objects the library calls from its search
// thread (a proof's file, a progress callable), the counters as a dict, and
// the wait for a search without the GIL.
#pragma once

#include <pybind11/pybind11.h>

#include <exception>
#include <functional>
#include <memory>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include <vetrix/vetrix.h>

namespace vetrix_python {

namespace py = pybind11;

[[noreturn]] void raise(PyObject *type, const std::string &message);

// A literal: any int (or an object with __index__, as NumPy's integers),
// but not a bool; TypeError otherwise, OverflowError beyond a C int.
int literal_of(py::handle item);
std::vector<int> clause_of(py::handle literals);

// Hands the proof's bytes to a Python object's write(). The search's thread
// takes the GIL for each block (the library writes its proof in large
// blocks); the first Python exception is kept for the caller, and the
// stream reports the failure to the library.
class PythonWriteBuffer : public std::streambuf {
  public:
    explicit PythonWriteBuffer(py::object file) : file_(std::move(file)) {}
    std::exception_ptr failure() const { return failure_; }

  protected:
    std::streamsize xsputn(const char *data, std::streamsize size) override;
    int_type overflow(int_type c) override;

  private:
    py::object file_;
    std::exception_ptr failure_;
};

// Hands each progress report to a Python callable as a dict of the
// vetrix::Progress names. The search's thread takes the GIL for the call; an
// exception the callable raises ends the search and reaches the caller.
class PythonProgress {
  public:
    explicit PythonProgress(py::object callback) : callback_(std::move(callback)) {}
    void operator()(const vetrix::Progress &p) const;

  private:
    py::object callback_;
};

// The counters under the names of the command line's --stats.
py::dict stats_dict(const vetrix::Statistics &s);

// A thread that runs one search at a time for its owner (an incremental
// solver makes many short calls: a thread made anew for each costs more
// than a short call), started at the first and kept until the owner ends.
// run() hands work to it while the calling thread waits without the GIL,
// waking every few milliseconds to run Python's signal check. A
// KeyboardInterrupt raised there calls stop, which must end the search at
// its next decision or conflict, and is raised once work has ended;
// otherwise what work threw is rethrown. A process forked from the owner's
// starts a thread of its own (the parent's is not in the child).
class SearchThread {
  public:
    SearchThread();
    SearchThread(const SearchThread &) = delete;
    SearchThread &operator=(const SearchThread &) = delete;
    ~SearchThread();
    void run(const std::function<void()> &work, const std::function<void()> &stop);

  private:
    struct Channel;
    void start();
    std::unique_ptr<Channel> channel_;
    std::unique_ptr<std::thread> thread_;
    long process_ = 0; // the process that started the thread
};

// run() on a thread of its own, for a single search.
void run_interruptible(const std::function<void()> &work, const std::function<void()> &stop);

} // namespace vetrix_python
