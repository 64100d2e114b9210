// gzip input through zlib. Members written one after another (as by
// concatenating .gz files) read as one text.
#include <zlib.h>

#include "support/decoders.h"
#include "support/input_file.h"

namespace vetrix {

namespace {

class GzipSource : public DecodingSource {
  public:
    GzipSource(ByteSource &raw, const std::string &name) : DecodingSource(raw, name) {
        if (inflateInit2(&z_, 16 + MAX_WBITS) != Z_OK) // 16: gzip wrapper only
            input_fault(name_, "out of memory");
    }
    ~GzipSource() override { inflateEnd(&z_); }

    size_t read(char *buf, size_t capacity) override {
        z_.next_out = reinterpret_cast<Bytef *>(buf);
        z_.avail_out = static_cast<uInt>(capacity);
        while (z_.avail_out == capacity) {
            if (z_.avail_in == 0 && !raw_ended_)
                fetch();
            if (member_ended_) {
                if (z_.avail_in == 0)
                    return 0; // the last member is complete
                inflateReset(&z_);
                member_ended_ = false;
            }
            if (z_.avail_in == 0)
                input_fault(name_, "the gzip data ends early");
            const int r = inflate(&z_, Z_NO_FLUSH);
            if (r == Z_STREAM_END)
                member_ended_ = true;
            else if (r == Z_MEM_ERROR)
                input_fault(name_, "out of memory");
            else if (r != Z_OK && r != Z_BUF_ERROR)
                input_fault(name_, "the gzip data is corrupt");
        }
        return capacity - z_.avail_out;
    }

  private:
    void fetch() {
        z_.avail_in = static_cast<uInt>(fetch_raw());
        z_.next_in = reinterpret_cast<Bytef *>(in_);
    }

    z_stream z_{};
    bool member_ended_ = false;
};

} // namespace

std::unique_ptr<ByteSource> gzip_decoder(ByteSource &raw, const std::string &name) {
    return std::make_unique<GzipSource>(raw, name);
}

} // namespace vetrix
