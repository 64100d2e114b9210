// xz input through liblzma; concatenated streams read as one text.
#include <lzma.h>

#include <cstdint>

#include "support/decoders.h"
#include "support/input_file.h"

namespace vetrix {

namespace {

class XzSource : public DecodingSource {
  public:
    XzSource(ByteSource &raw, const std::string &name) : DecodingSource(raw, name) {
        if (lzma_stream_decoder(&z_, UINT64_MAX, LZMA_CONCATENATED) != LZMA_OK)
            input_fault(name_, "out of memory");
    }
    ~XzSource() override { lzma_end(&z_); }

    size_t read(char *buf, size_t capacity) override {
        z_.next_out = reinterpret_cast<uint8_t *>(buf);
        z_.avail_out = capacity;
        while (z_.avail_out == capacity && !ended_) {
            if (z_.avail_in == 0 && !raw_ended_)
                fetch();
            const lzma_ret r = lzma_code(&z_, raw_ended_ ? LZMA_FINISH : LZMA_RUN);
            if (r == LZMA_STREAM_END)
                ended_ = true;
            else if (r == LZMA_BUF_ERROR)
                input_fault(name_, "the xz data ends early");
            else if (r == LZMA_MEM_ERROR)
                input_fault(name_, "out of memory");
            else if (r != LZMA_OK)
                input_fault(name_, "the xz data is corrupt");
        }
        return capacity - z_.avail_out;
    }

  private:
    void fetch() {
        z_.avail_in = fetch_raw();
        z_.next_in = reinterpret_cast<const uint8_t *>(in_);
    }

    lzma_stream z_ = LZMA_STREAM_INIT;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<ByteSource> xz_decoder(ByteSource &raw, const std::string &name) {
    return std::make_unique<XzSource>(raw, name);
}

} // namespace vetrix
