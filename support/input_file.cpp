#include "support/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "support/decoders.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

[[noreturn]] void cannot_open(const std::string &name) {
    fatal("cannot open  file " + name + "\n");
}

// The bytes of a file descriptor.
class FdSource : public ByteSource {
  public:
    FdSource(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    ~FdSource() override {
        if (fd_ != STDIN_FILENO)
            close(fd_);
    }

    // A failing read counts as a file that cannot be opened, as when the
    // whole file was read before its text.
    size_t read(char *buf, size_t capacity) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buf, capacity);
            if (got >= 0)
                return static_cast<size_t>(got);
            if (errno != EINTR)
                cannot_open(name_);
        }
    }

  private:
    int fd_;
    std::string name_;
};

// Another source whose first bytes can be looked at before they are read.
class HeadSource : public ByteSource {
  public:
    explicit HeadSource(ByteSource &source) : source_(source) {}

    // The first n bytes (fewer when the input is shorter).
    const std::string &head(size_t n) {
        char buf[16];
        while (head_.size() < n) {
            const size_t got = source_.read(buf, std::min(n - head_.size(), sizeof buf));
            if (got == 0)
                break;
            head_.append(buf, got);
        }
        return head_;
    }

    size_t read(char *buf, size_t capacity) override {
        if (used_ == head_.size())
            return source_.read(buf, capacity);
        const size_t n = std::min(head_.size() - used_, capacity);
        std::memcpy(buf, head_.data() + used_, n);
        used_ += n;
        return n;
    }

  private:
    ByteSource &source_;
    std::string head_; // bytes looked at before reading
    size_t used_ = 0;  // of head_, already handed out
};

int open_fd(const char *name) {
    if (std::strcmp(name, "-") == 0)
        return STDIN_FILENO;
    const int fd = open(name, O_RDONLY);
    if (fd < 0)
        cannot_open(name);
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        cannot_open(name);
    }
    return fd;
}

enum class Format { Plain, Gzip, Xz, Bzip2 };

Format format_of(const std::string &head) {
    auto starts = [&](const char *magic, size_t n) {
        return head.size() >= n && head.compare(0, n, magic, n) == 0;
    };
    if (starts("\x1f\x8b\x08", 3))
        return Format::Gzip;
    if (starts("\xfd\x37\x7a\x58\x5a\x00", 6))
        return Format::Xz;
    if (starts("BZh", 3) && head.size() >= 4 && head[3] >= '1' && head[3] <= '9')
        return Format::Bzip2;
    return Format::Plain;
}

[[noreturn, maybe_unused]] void not_built(const std::string &name, const char *format) {
    input_fault(name,
                (std::string("this build of vetrix cannot read ") + format + " files").c_str());
}

std::unique_ptr<ByteSource> decoder(Format format, [[maybe_unused]] ByteSource &stored,
                                    const std::string &name) {
    switch (format) {
    case Format::Gzip:
#ifdef VETRIX_HAVE_ZLIB
        return gzip_decoder(stored, name);
#else
        not_built(name, "gzip");
#endif
    case Format::Xz:
#ifdef VETRIX_HAVE_LZMA
        return xz_decoder(stored, name);
#else
        not_built(name, "xz");
#endif
    case Format::Bzip2:
#ifdef VETRIX_HAVE_BZIP2
        return bzip2_decoder(stored, name);
#else
        not_built(name, "bzip2");
#endif
    case Format::Plain:
        break;
    }
    return nullptr;
}

} // namespace

void input_fault(const std::string &name, const char *problem) {
    fatal("cannot read  file " + name + ": " + problem + "\n");
}

DecodedText::DecodedText(ByteSource &stored, const std::string &name) {
    auto head = std::make_unique<HeadSource>(stored);
    decoder_ = decoder(format_of(head->head(6)), *head, name);
    head_ = std::move(head);
}

DecodedText::~DecodedText() = default;

ByteSource &DecodedText::text() {
    return decoder_ ? *decoder_ : *head_;
}

void DecodedText::check_rest() {
    if (!decoder_)
        return;
    char buf[1 << 16];
    while (decoder_->read(buf, sizeof buf) > 0) {
    }
}

InputFile::InputFile(const char *name)
    : stored_(new FdSource(open_fd(name), name)), decoded_(new DecodedText(*stored_, name)) {}

InputFile::~InputFile() = default;

} // namespace vetrix
