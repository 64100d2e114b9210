#include "driver/proof_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace vetrix {

namespace {

bool same_file(const std::string &a, const std::string &b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

bool ProofFile::open(const std::string &name, const std::string &input, ProofWriter::Format format,
                     std::string &error) {
    name_ = name;
    if (name != "-" && same_file(name, input)) {
        error = "vetrix: the proof file '" + name + "' is the input file";
        return false;
    }
    if (name == "-") {
        writer_ = std::make_unique<ProofWriter>(std::cout, format);
        return true;
    }
    errno = 0;
    file_.open(name, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!file_) {
        error = "vetrix: cannot create proof file '" + name + "'";
        if (errno != 0)
            error += std::string(": ") + std::strerror(errno);
        return false;
    }
    writer_ = std::make_unique<ProofWriter>(file_, format);
    return true;
}

bool ProofFile::close(std::string &error) {
    if (!writer_)
        return true;
    writer_->flush();
    bool ok = !writer_->failed();
    writer_.reset();
    if (file_.is_open()) {
        file_.close();
        ok = ok && !file_.fail();
    }
    if (!ok)
        error = "vetrix: writing the proof to '" + name_ + "' failed";
    return ok;
}

} // namespace vetrix
