#include "driver/race_proofs.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vetrix {

namespace {

// The pattern of a temporary file in name's directory, for mkstemp.
std::string temp_pattern(const std::string &name) {
    const std::string::size_type slash = name.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    return dir + ".vetrix-proof-XXXXXX";
}

} // namespace

RaceProofs::~RaceProofs() { remove_temps(); }

void RaceProofs::remove_temps() {
    for (const std::unique_ptr<Temp> &t : temps_)
        std::remove(t->path.c_str());
    temps_.clear();
}

bool RaceProofs::open(const std::string &name, std::size_t count, std::string &error) {
    name_ = name;
    // The winner's file replaces name: that must not put a plain file in
    // place of a device, a pipe or a link.
    struct stat st;
    if (lstat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error = "vetrix: with '--portfolio' the proof file '" + name + "' must be a regular file";
        return false;
    }
    for (std::size_t k = 0; k < count; ++k) {
        auto temp = std::make_unique<Temp>();
        temp->path = temp_pattern(name);
        const int fd = mkstemp(&temp->path[0]);
        if (fd < 0) {
            error = "vetrix: cannot create a temporary proof file beside '" + name + "': " + std::strerror(errno);
            return false;
        }
        // The mode a file created by the single run's proof would get.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
        close(fd);
        temps_.push_back(std::move(temp));
        Temp &t = *temps_.back();
        t.file.open(t.path, std::ios::out | std::ios::binary | std::ios::trunc);
        if (!t.file) {
            error = "vetrix: cannot open the temporary proof file '" + t.path + "'";
            return false;
        }
    }
    return true;
}

std::vector<std::ostream *> RaceProofs::streams() {
    std::vector<std::ostream *> out;
    for (const std::unique_ptr<Temp> &t : temps_)
        out.push_back(&t->file);
    return out;
}

bool RaceProofs::keep(std::size_t k, std::string &error) {
    Temp &t = *temps_[k];
    bool ok = !t.file.fail();
    t.file.close();
    ok = ok && !t.file.fail();
    if (!ok)
        error = "vetrix: writing the proof to '" + name_ + "' failed";
    else if (std::rename(t.path.c_str(), name_.c_str()) != 0)
        error = "vetrix: cannot rename the proof to '" + name_ + "': " + std::strerror(errno);
    else
        temps_.erase(temps_.begin() + static_cast<std::ptrdiff_t>(k));
    remove_temps();
    return error.empty();
}

} // namespace vetrix
