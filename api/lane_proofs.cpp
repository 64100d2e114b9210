#include "api/lane_proofs.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "support/uponeub.h"

namespace vetrix {

LaneProofs::LaneProofs(std::size_t count, ProofWriter::Format format) {
    for (std::size_t k = 0; k < count; ++k) {
        FilePtr file(std::tmpfile());
        if (!file)
            fatal(std::string("cannot create a temporary proof file: ") + std::strerror(errno) + "\n");
        lanes_.push_back(std::make_unique<Lane>(std::move(file), format));
    }
}

void LaneProofs::copy(std::size_t k, std::ostream &out) {
    Lane &lane = *lanes_[k];
    lane.writer.flush();
    std::FILE *file = lane.file.get();
    if (lane.writer.failed() || std::fseek(file, 0, SEEK_SET) != 0) {
        out.setstate(std::ios::badbit);
        return;
    }
    std::vector<char> block(1 << 16);
    for (std::size_t n; (n = std::fread(block.data(), 1, block.size(), file)) > 0;)
        out.write(block.data(), static_cast<std::streamsize>(n));
    if (std::ferror(file))
        out.setstate(std::ios::badbit);
    out.flush();
}

} // namespace vetrix
