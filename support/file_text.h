// Reading a whole input file into memory in one bulk pass.
#pragma once

#include <string>

// Appends every byte of the file to text, unchanged. Returns false when the
// file cannot be opened, is a directory, or a read fails.
bool read_file_text(const char *file_name, std::string &text);
