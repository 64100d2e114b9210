#include "driver/proof_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace vetrix {

namespace {

bool same_file(const std::string &a, const std::string &b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

bool ProofFile::open(const std::string &name, const std::string &input, std::string &error) {
    name_ = name;
    if (name != "-" && same_file(name, input)) {
        error = "vetrix: the proof file '" + name + "' is the input file";
        return false;
    }
    if (name == "-")
        return true;
    errno = 0;
    stream_ = std::make_unique<std::ofstream>(name, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!*stream_) {
        error = "vetrix: cannot create proof file '" + name + "'";
        if (errno != 0)
            error += std::string(": ") + std::strerror(errno);
        return false;
    }
    return true;
}

bool ProofFile::close(bool stdout_failed, std::string &error) {
    bool ok = !stdout_failed;
    if (stream_) {
        ok = ok && !stream_->fail();
        stream_->close();
        ok = ok && !stream_->fail();
    }
    if (!ok)
        error = "vetrix: writing the proof to '" + name_ + "' failed";
    return ok;
}

} // namespace vetrix
