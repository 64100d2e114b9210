#include "driver/proof_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace vetrix {

namespace {

bool same_file(const std::string &a, const std::string &b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Standard output as a stream buffer: the proof's bytes go through stdio,
// in order with the verdict lines written there.
class StdoutBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        return std::fputc(c, stdout) == EOF ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char *s, std::streamsize n) override {
        return static_cast<std::streamsize>(std::fwrite(s, 1, static_cast<size_t>(n), stdout));
    }
    int sync() override { return std::fflush(stdout) == 0 ? 0 : -1; }
};

} // namespace

bool ProofFile::open(const std::string &name, const std::string &input, std::string &error) {
    name_ = name;
    if (name != "-" && same_file(name, input)) {
        error = "vetrix: the proof file '" + name + "' is the input file";
        return false;
    }
    if (name == "-") {
        stdout_buf_ = std::make_unique<StdoutBuffer>();
        stream_ = std::make_unique<std::ostream>(stdout_buf_.get());
        return true;
    }
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

bool ProofFile::close(std::string &error) {
    if (!stream_)
        return true;
    bool ok = !stream_->fail();
    if (auto *file = dynamic_cast<std::ofstream *>(stream_.get())) {
        file->close();
        ok = ok && !file->fail();
    }
    if (!ok)
        error = "vetrix: writing the proof to '" + name_ + "' failed";
    return ok;
}

} // namespace vetrix
