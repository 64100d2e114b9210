#include "bridge.h"

#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include <unistd.h>

namespace vetrix_python {

void raise(PyObject *type, const std::string &message) {
    PyErr_SetString(type, message.c_str());
    throw py::error_already_set();
}

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

// ------------------------------------------------------------- the proof

std::streamsize PythonWriteBuffer::xsputn(const char *data, std::streamsize size) {
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

PythonWriteBuffer::int_type PythonWriteBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

// ------------------------------------------------------------- progress

void PythonProgress::operator()(const vetrix::Progress &p) const {
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

py::dict stats_dict(const vetrix::Statistics &s) {
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
    return stats;
}

// ------------------------------------------------------------- the wait

struct SearchThread::Channel {
    std::mutex mutex;
    std::condition_variable wake;     // a job or the end for the thread
    std::condition_variable finished; // the job is done, for the caller
    const std::function<void()> *job = nullptr;
    bool done = false;
    bool quit = false;
    std::exception_ptr failure;
};

void SearchThread::start() {
    if (thread_ && process_ == static_cast<long>(getpid()))
        return;
    // After a fork the parent's thread and its channel are not ours to end.
    (void)channel_.release();
    (void)thread_.release();
    channel_ = std::make_unique<Channel>();
    process_ = static_cast<long>(getpid());
    thread_ = std::make_unique<std::thread>([c = channel_.get()] {
        std::unique_lock<std::mutex> lock(c->mutex);
        for (;;) {
            c->wake.wait(lock, [c] { return c->job != nullptr || c->quit; });
            if (c->quit)
                return;
            const std::function<void()> *job = c->job;
            c->job = nullptr;
            lock.unlock();
            std::exception_ptr failure;
            try {
                (*job)();
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            c->failure = failure;
            c->done = true;
            c->finished.notify_one();
        }
    });
}

SearchThread::SearchThread() = default;

SearchThread::~SearchThread() {
    if (!thread_ || process_ != static_cast<long>(getpid()))
        return;
    {
        std::lock_guard<std::mutex> lock(channel_->mutex);
        channel_->quit = true;
    }
    channel_->wake.notify_one();
    thread_->join(); // idle: run() returns once the job is done
}

void SearchThread::run(const std::function<void()> &work, const std::function<void()> &stop) {
    start();
    Channel &c = *channel_;
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        c.job = &work;
        c.done = false;
        c.failure = nullptr;
    }
    c.wake.notify_one();
    std::optional<py::error_already_set> interrupt; // the signal handler's exception
    for (;;) {
        {
            py::gil_scoped_release release;
            std::unique_lock<std::mutex> lock(c.mutex);
            if (c.finished.wait_for(lock, std::chrono::milliseconds(20), [&] { return c.done; }))
                break;
        }
        if (PyErr_CheckSignals() != 0) {
            interrupt.emplace();
            stop();
            break;
        }
    }
    {
        py::gil_scoped_release release; // the search may need the GIL for its proof or progress
        std::unique_lock<std::mutex> lock(c.mutex);
        c.finished.wait(lock, [&] { return c.done; });
    }
    if (interrupt)
        throw *interrupt;
    if (c.failure)
        std::rethrow_exception(std::exchange(c.failure, nullptr));
}

void run_interruptible(const std::function<void()> &work, const std::function<void()> &stop) {
    SearchThread thread;
    thread.run(work, stop);
}

} // namespace vetrix_python
