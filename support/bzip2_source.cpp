// bzip2 input through libbz2; streams written one after another (as by
// parallel compressors) read as one text.
#include <bzlib.h>

#include "support/decoders.h"
#include "support/input_file.h"

namespace vetrix {

namespace {

class Bzip2Source : public DecodingSource {
  public:
    Bzip2Source(ByteSource &raw, const std::string &name) : DecodingSource(raw, name) { start(); }
    ~Bzip2Source() override { BZ2_bzDecompressEnd(&z_); }

    size_t read(char *buf, size_t capacity) override {
        z_.next_out = buf;
        z_.avail_out = static_cast<unsigned>(capacity);
        while (z_.avail_out == capacity) {
            if (z_.avail_in == 0 && !raw_ended_)
                fetch();
            if (stream_ended_) {
                if (z_.avail_in == 0)
                    return 0; // the last stream is complete
                BZ2_bzDecompressEnd(&z_);
                start();
            }
            if (z_.avail_in == 0)
                input_fault(name_, "the bzip2 data ends early");
            const int r = BZ2_bzDecompress(&z_);
            if (r == BZ_STREAM_END)
                stream_ended_ = true;
            else if (r == BZ_MEM_ERROR)
                input_fault(name_, "out of memory");
            else if (r != BZ_OK)
                input_fault(name_, "the bzip2 data is corrupt");
        }
        return capacity - z_.avail_out;
    }

  private:
    void start() {
        char *next_in = z_.next_in;
        const unsigned avail_in = z_.avail_in;
        z_ = bz_stream{};
        if (BZ2_bzDecompressInit(&z_, 0, 0) != BZ_OK)
            input_fault(name_, "out of memory");
        z_.next_in = next_in;
        z_.avail_in = avail_in;
        stream_ended_ = false;
    }

    void fetch() {
        z_.avail_in = static_cast<unsigned>(fetch_raw());
        z_.next_in = in_;
    }

    bz_stream z_{};
    bool stream_ended_ = false;
};

} // namespace

std::unique_ptr<ByteSource> bzip2_decoder(ByteSource &raw, const std::string &name) {
    return std::make_unique<Bzip2Source>(raw, name);
}

} // namespace vetrix
