#include "driver/mpi/proof_merge.h"

#include <algorithm>
#include <cstdlib>

namespace vetrix {

namespace {

std::vector<int> sorted(std::vector<int> lits) {
    std::sort(lits.begin(), lits.end());
    lits.erase(std::unique(lits.begin(), lits.end()), lits.end());
    return lits;
}

} // namespace

CombinedProof::~CombinedProof() {
    if (out_)
        std::fclose(out_);
}

bool CombinedProof::open(const std::string &path, std::string &error) {
    out_ = std::fopen(path.c_str(), "w");
    if (!out_)
        error = "vetrix-mpi: cannot create proof file '" + path + "'";
    path_ = path;
    return out_ != nullptr;
}

void CombinedProof::write(const char *data, std::size_t size) {
    std::fwrite(data, 1, size, out_);
    bytes_ += size;
}

void CombinedProof::take_input(const Cnf &cnf, int workers) {
    if (!out_)
        return;
    for (const std::vector<int> &clause : cnf.clauses) {
        Count &c = counts_[sorted(clause)];
        c.holders += workers;
        ++c.copies;
    }
}

std::vector<int> CombinedProof::key_of(const std::string &text, std::size_t at, std::size_t end) {
    std::vector<int> lits;
    const char *p = text.c_str() + at;
    const char *stop = text.c_str() + end;
    while (p < stop) {
        char *next = nullptr;
        const long lit = std::strtol(p, &next, 10);
        if (next == p || lit == 0)
            break;
        lits.push_back(static_cast<int>(lit));
        p = next;
    }
    return sorted(std::move(lits));
}

void CombinedProof::worker_steps(const std::string &text) {
    if (!out_)
        return;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        const bool deletion = text[at] == 'd';
        std::vector<int> key = key_of(text, deletion ? at + 1 : at, end);
        if (!deletion) {
            write(text.data() + at, end - at);
            Count &c = counts_[std::move(key)];
            ++c.holders;
            ++c.copies;
        } else {
            auto found = counts_.find(key);
            if (found != counts_.end() && --found->second.holders <= 0) {
                for (int k = 0; k < found->second.copies; ++k)
                    write(text.data() + at, end - at);
                counts_.erase(found);
            }
        }
        at = end;
    }
}

void CombinedProof::hold(const std::vector<int> &clause) {
    if (out_)
        ++counts_[sorted(clause)].holders;
}

void CombinedProof::clause(const std::vector<int> &lits) {
    if (!out_)
        return;
    std::string line;
    for (int lit : lits)
        line += std::to_string(lit) + ' ';
    line += "0\n";
    write(line.data(), line.size());
}

bool CombinedProof::close(std::string &error) {
    if (!out_)
        return true;
    const bool ok = std::ferror(out_) == 0 && std::fclose(out_) == 0;
    out_ = nullptr;
    if (!ok)
        error = "vetrix-mpi: writing the proof to '" + path_ + "' failed";
    return ok;
}

} // namespace vetrix
