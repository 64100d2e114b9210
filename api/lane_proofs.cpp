#include "api/lane_proofs.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vetrix {

namespace {

// The pattern of a temporary file in path's directory, for mkstemp.
std::string temp_pattern(const std::string &path) {
    const std::string::size_type slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return dir + ".vetrix-proof-XXXXXX";
}

} // namespace

LaneProofs::~LaneProofs() { remove_all(); }

void LaneProofs::remove_all() {
    for (const std::unique_ptr<Lane> &lane : lanes_) {
        lane->file.reset();
        if (!lane->path.empty())
            std::remove(lane->path.c_str());
    }
    lanes_.clear();
}

bool LaneProofs::create(std::size_t count, std::string &error) {
    for (std::size_t k = 0; k < count; ++k) {
        FilePtr file(std::tmpfile());
        if (!file) {
            error = std::string("cannot create a temporary proof file: ") + std::strerror(errno);
            return false;
        }
        lanes_.push_back(std::make_unique<Lane>(std::move(file), std::string()));
    }
    return true;
}

bool LaneProofs::create_beside(const std::string &path, std::size_t count, std::string &error) {
    path_ = path;
    // The reported file replaces path: that must not put a plain file in
    // place of a device, a pipe or a link.
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error = "vetrix: with '--portfolio' the proof file '" + path + "' must be a regular file";
        return false;
    }
    for (std::size_t k = 0; k < count; ++k) {
        std::string temp = temp_pattern(path);
        const int fd = mkstemp(&temp[0]);
        if (fd < 0) {
            error = "vetrix: cannot create a temporary proof file beside '" + path + "': " + std::strerror(errno);
            return false;
        }
        // The mode a file created by the single run's proof would get.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
        FilePtr file(fdopen(fd, "wb"));
        if (!file) {
            close(fd);
            std::remove(temp.c_str());
            error = "vetrix: cannot open the temporary proof file '" + temp + "'";
            return false;
        }
        lanes_.push_back(std::make_unique<Lane>(std::move(file), std::move(temp)));
    }
    return true;
}

void LaneProofs::copy(std::size_t k, std::ostream &out) {
    Lane &lane = *lanes_[k];
    lane.stream.flush();
    std::FILE *file = lane.file.get();
    if (lane.stream.fail() || std::fseek(file, 0, SEEK_SET) != 0) {
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

bool LaneProofs::keep(std::size_t k, std::string &error) {
    Lane &lane = *lanes_[k];
    lane.stream.flush();
    bool ok = !lane.stream.fail();
    ok = std::fclose(lane.file.release()) == 0 && ok;
    if (!ok)
        error = "vetrix: writing the proof to '" + path_ + "' failed";
    else if (std::rename(lane.path.c_str(), path_.c_str()) != 0)
        error = "vetrix: cannot rename the proof to '" + path_ + "': " + std::strerror(errno);
    else
        lanes_.erase(lanes_.begin() + static_cast<std::ptrdiff_t>(k));
    remove_all();
    return error.empty();
}

} // namespace vetrix
