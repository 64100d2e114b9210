#include "driver/mpi/wire.h"

#include <mpi.h>

#include <cstring>
#include <ctime>

namespace vetrix {

namespace {

WireCounts counts;

} // namespace

void Packet::put(std::int64_t v) {
    const char *p = reinterpret_cast<const char *>(&v);
    data.insert(data.end(), p, p + sizeof v);
}

void Packet::put(const std::vector<int> &ints) {
    put(static_cast<std::int64_t>(ints.size()));
    const char *p = reinterpret_cast<const char *>(ints.data());
    data.insert(data.end(), p, p + ints.size() * sizeof(int));
}

void Packet::put_bytes(const std::string &bytes) {
    put(static_cast<std::int64_t>(bytes.size()));
    data.insert(data.end(), bytes.begin(), bytes.end());
}

std::int64_t Packet::get() {
    std::int64_t v = 0;
    std::memcpy(&v, data.data() + at_, sizeof v);
    at_ += sizeof v;
    return v;
}

std::vector<int> Packet::get_ints() {
    const std::size_t n = static_cast<std::size_t>(get());
    std::vector<int> ints(n);
    if (n > 0) // an empty vector's data() may be null
        std::memcpy(ints.data(), data.data() + at_, n * sizeof(int));
    at_ += n * sizeof(int);
    return ints;
}

std::string Packet::get_bytes() {
    const std::size_t n = static_cast<std::size_t>(get());
    std::string bytes(data.data() + at_, n);
    at_ += n;
    return bytes;
}

const WireCounts &wire_counts() { return counts; }

void send(const Packet &packet, int dest, int tag) {
    MPI_Send(packet.data.data(), static_cast<int>(packet.data.size()), MPI_BYTE, dest, tag, MPI_COMM_WORLD);
    ++counts.messages;
    counts.bytes += packet.data.size();
}

bool try_receive(int source, int tag, Packet &packet, int &from, int &got_tag) {
    int waiting = 0;
    MPI_Status status;
    MPI_Iprobe(source, tag, MPI_COMM_WORLD, &waiting, &status);
    if (!waiting)
        return false;
    int size = 0;
    MPI_Get_count(&status, MPI_BYTE, &size);
    packet = Packet();
    packet.data.resize(static_cast<std::size_t>(size));
    MPI_Recv(packet.data.data(), size, MPI_BYTE, status.MPI_SOURCE, status.MPI_TAG, MPI_COMM_WORLD,
             MPI_STATUS_IGNORE);
    from = status.MPI_SOURCE;
    got_tag = status.MPI_TAG;
    return true;
}

void idle_pause() {
    const timespec pause{0, 200 * 1000}; // 0.2 ms: far below a cube's time, far above a probe's
    nanosleep(&pause, nullptr);
}

} // namespace vetrix
