#pragma once
// Diagnostic lines of the module go to the standard output and are flushed at once, so a host
// that captures or redirects its output sees them in order with its own. A line the output
// cannot take at once (a full pipe nobody reads) is left out rather than waited for; a line is
// cut to 512 bytes.

#if defined(__GNUC__)
#define TAVI_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define TAVI_PRINTF_LIKE(fmt, args)
#endif

namespace tavi {

void DiagPrint(const char* format, ...) TAVI_PRINTF_LIKE(1, 2);

}  // namespace tavi
