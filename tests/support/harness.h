// Shared test helpers: run the built binary, read files, check models
// independently of the solver.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace harness {

// A fresh folder for the files a test writes. The files named through path()
// and the folder itself are removed when it goes.
class ScratchDir {
  public:
    ScratchDir() {
        std::string name = testing::TempDir() + "vetrix-XXXXXX";
        if (mkdtemp(&name[0]))
            dir_ = name.c_str();
        else
            ADD_FAILURE() << "mkdtemp " << name;
    }
    ~ScratchDir() {
        for (const std::string &f : files_)
            std::remove(f.c_str());
        rmdir(dir_.c_str());
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const std::string &dir() const { return dir_; }
    std::string path(const std::string &name) {
        files_.push_back(dir_ + "/" + name);
        return files_.back();
    }

  private:
    std::string dir_;
    std::vector<std::string> files_;
};

struct RunResult {
    std::string out; // everything the process wrote to stdout
    int status;      // exit status, or -1 when it did not exit normally
};

inline std::string shell_quote(const std::string &s) {
    std::string q = "'";
    for (char c : s)
        q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the vetrix binary with the given arguments, standard input from
// input_path when it is given; stderr goes to err_path, or is discarded.
inline RunResult run_vetrix(const std::vector<std::string> &args, const std::string &input_path = "",
                            const std::string &err_path = "") {
    std::string cmd = shell_quote(VETRIX_BIN);
    for (const std::string &a : args)
        cmd += " " + shell_quote(a);
    if (!input_path.empty())
        cmd += " < " + shell_quote(input_path);
    cmd += " 2>" + (err_path.empty() ? std::string("/dev/null") : shell_quote(err_path));
    RunResult r{std::string(), -1};
    FILE *p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t got;
    while ((got = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, got);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

inline std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The value of one counter in --stats output ("c NAME: VALUE"), -1 when absent.
inline long long stat_value(const std::string &stats, const std::string &name) {
    const std::string key = "c " + name + ": ";
    const size_t at = stats.find(key);
    return at == std::string::npos ? -1 : std::atoll(stats.c_str() + at + key.size());
}

inline void write_file(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string source_path(const std::string &rel) {
    return std::string(VETRIX_SOURCE_DIR) + "/" + rel;
}

// The benchmark corpus: $VETRIX_CORPUS, by default ../shared/bench beside
// the checkout (the same default as tools/ and bench/).
inline std::string corpus_dir() {
    const char *dir = std::getenv("VETRIX_CORPUS");
    return dir && *dir ? std::string(dir) : source_path("../shared/bench");
}

// A clause list as signed DIMACS literals, read with a plain token parser
// that shares nothing with the solver's reader.
using Clauses = std::vector<std::vector<int>>;

inline bool is_comment_start(char c) { return c == 'c' || c == '\xF1'; }

// A plain DIMACS reader: comment lines start with c (or byte 0xF1, which
// looks like it in Windows-1251), the problem line gives
// the counts, then whitespace-separated integers with 0 ending a clause,
// until the announced number of clauses is complete.
inline bool read_cnf(const std::string &path, int &nb_var, Clauses &clauses) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    int nb_clauses = -1;
    while (nb_clauses < 0 && std::getline(in, line)) {
        if (line.empty() || is_comment_start(line[0]))
            continue;
        std::istringstream p(line);
        std::string tag, format;
        if (!(p >> tag >> format >> nb_var >> nb_clauses) || tag != "p")
            return false;
    }
    if (nb_clauses < 0)
        return false;
    clauses.clear();
    std::vector<int> clause;
    std::string token;
    while (static_cast<int>(clauses.size()) < nb_clauses && in >> token) {
        if (is_comment_start(token[0])) { // a comment between clauses
            std::getline(in, line);
            continue;
        }
        int lit = std::stoi(token);
        if (lit == 0) {
            clauses.push_back(clause);
            clause.clear();
        } else {
            clause.push_back(lit);
        }
    }
    return static_cast<int>(clauses.size()) == nb_clauses;
}

// Parses "s SATISFIABLE" / "v ..." output into the set of true variables.
// Returns false when the output is not a well-formed SAT answer.
inline bool parse_model(const std::string &out, int nb_var, std::vector<bool> &truth) {
    std::istringstream in(out);
    std::string line;
    if (!std::getline(in, line) || line != "s SATISFIABLE")
        return false;
    truth.assign(static_cast<size_t>(nb_var) + 1, false);
    bool ended = false;
    while (std::getline(in, line)) {
        if (ended || line.size() < 1 || line[0] != 'v')
            return false;
        std::istringstream vs(line.substr(1));
        int x;
        while (vs >> x) {
            if (x == 0) {
                ended = true;
                break;
            }
            if (x < 0 || x > nb_var)
                return false;
            truth[static_cast<size_t>(x)] = true;
        }
    }
    return ended;
}

// True when every clause has a literal true under truth (unlisted = false).
inline bool satisfies(const Clauses &clauses, const std::vector<bool> &truth) {
    for (const auto &clause : clauses) {
        bool sat = false;
        for (int lit : clause) {
            bool value = truth[static_cast<size_t>(lit > 0 ? lit : -lit)];
            if ((lit > 0) == value) {
                sat = true;
                break;
            }
        }
        if (!sat)
            return false;
    }
    return true;
}

} // namespace harness
