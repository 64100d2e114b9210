#include "driver/mpi/proof_merge.h"

namespace vetrix {

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

void CombinedProof::worker_steps(const std::string &text) {
    if (!out_)
        return;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text[at] != 'd') {
            std::fwrite(text.data() + at, 1, end - at, out_);
            bytes_ += end - at;
        }
        at = end;
    }
}

void CombinedProof::clause(const std::vector<int> &lits) {
    if (!out_)
        return;
    std::string line;
    for (int lit : lits)
        line += std::to_string(lit) + ' ';
    line += "0\n";
    std::fwrite(line.data(), 1, line.size(), out_);
    bytes_ += line.size();
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
