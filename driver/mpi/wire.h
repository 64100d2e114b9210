// The messages between rank 0 and the workers: tags, a byte buffer packed
// with ints and raw bytes, and sends and receives that count what they move.
// Waiting is done by probing and pausing, never in a blocking receive: Open
// MPI's blocking calls spin, and an idle rank must leave its core to the
// ranks that solve.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vetrix {

enum Tag : int {
    TAG_CUBE = 1,   // rank 0 -> worker: a cube to solve, with the clauses shared since the last one
    TAG_RESULT = 2, // worker -> rank 0: proof steps, shared clauses, the cube's outcome
    TAG_CANCEL = 3, // rank 0 -> worker: the cube it solves is pruned
    TAG_STOP = 4,   // rank 0 -> worker: end
    TAG_DONE = 5,   // worker -> rank 0: ended, with its CPU time
};

class Packet {
  public:
    void put(std::int64_t v);
    void put(const std::vector<int> &ints); // the count, then the ints
    void put_bytes(const std::string &bytes);

    // Reading, from the start.
    std::int64_t get();
    std::vector<int> get_ints();
    std::string get_bytes();

    std::vector<char> data;

  private:
    std::size_t at_ = 0;
};

// Messages and bytes this rank sent.
struct WireCounts {
    std::uint64_t messages = 0;
    std::uint64_t bytes = 0;
};
const WireCounts &wire_counts();

void send(const Packet &packet, int dest, int tag);
// Receives the message that a probe of (source, tag) found waiting, or
// false when none waits.
bool try_receive(int source, int tag, Packet &packet, int &from, int &got_tag);
// Leaves the core for a moment between two probes.
void idle_pause();

} // namespace vetrix
