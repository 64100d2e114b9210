#include "support/file_text.h"

#include <sys/stat.h>

#include <cstdio>

bool read_file_text(const char *file_name, std::string &text) {
    std::FILE *f = std::fopen(file_name, "rb");
    if (!f)
        return false;
    struct stat st;
    if (fstat(fileno(f), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            std::fclose(f);
            return false;
        }
        if (S_ISREG(st.st_mode) && st.st_size > 0)
            text.reserve(text.size() + static_cast<size_t>(st.st_size) + 1);
    }
    char buf[1 << 16];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return !failed;
}
