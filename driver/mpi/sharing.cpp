#include "driver/mpi/sharing.h"

#include <algorithm>

namespace vetrix {

void pack_clauses(const std::vector<std::vector<int>> &clauses, Packet &packet) {
    std::vector<int> flat;
    for (const std::vector<int> &c : clauses) {
        flat.push_back(static_cast<int>(c.size()));
        flat.insert(flat.end(), c.begin(), c.end());
    }
    packet.put(flat);
}

std::vector<std::vector<int>> unpack_clauses(Packet &packet) {
    const std::vector<int> flat = packet.get_ints();
    std::vector<std::vector<int>> clauses;
    for (std::size_t at = 0; at < flat.size(); at += static_cast<std::size_t>(flat[at]) + 1)
        clauses.emplace_back(flat.begin() + static_cast<std::ptrdiff_t>(at + 1),
                             flat.begin() + static_cast<std::ptrdiff_t>(at + 1 + static_cast<std::size_t>(flat[at])));
    return clauses;
}

std::vector<std::vector<int>> ClausePool::add_from(int source, Packet &packet) {
    std::vector<std::vector<int>> fresh;
    for (std::vector<int> &clause : unpack_clauses(packet)) {
        std::vector<int> key = clause;
        std::sort(key.begin(), key.end());
        if (!known_.insert(std::move(key)).second)
            continue;
        fresh.push_back(clause);
        clauses_.push_back(std::move(clause));
        source_.push_back(source);
    }
    return fresh;
}

std::vector<std::vector<int>> ClausePool::pack_for(int worker, Packet &packet) {
    std::size_t &from = cursor_[static_cast<std::size_t>(worker)];
    std::vector<std::vector<int>> fresh;
    for (; from < clauses_.size(); ++from)
        if (source_[from] != worker)
            fresh.push_back(clauses_[from]);
    pack_clauses(fresh, packet);
    return fresh;
}

} // namespace vetrix
