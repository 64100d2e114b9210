// Decoders of compressed input, each a byte source over the stored bytes.
// Every one reports damage through input_fault, naming the file.
#pragma once

#include <memory>
#include <string>

#include "support/byte_source.h"

std::unique_ptr<ByteSource> gzip_decoder(ByteSource &raw, const std::string &name);
std::unique_ptr<ByteSource> xz_decoder(ByteSource &raw, const std::string &name);
std::unique_ptr<ByteSource> bzip2_decoder(ByteSource &raw, const std::string &name);
