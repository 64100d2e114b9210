/* VETRIX_API marks the library's public functions and classes: a shared
 * libvetrix is built with hidden visibility, so only what carries the mark is
 * exported. Also valid C, for vetrix_c.h. */
#ifndef VETRIX_EXPORT_H
#define VETRIX_EXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define VETRIX_API __attribute__((visibility("default")))
#else
#define VETRIX_API
#endif

#endif
