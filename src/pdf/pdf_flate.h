#pragma once
// Flate compression of stream bodies.

#include "pdf/pdf_bytes.h"

// `data` in zlib format (RFC 1950): level 9, 15-bit window, memory level 8.
// An empty input still gives the header, an empty final block and the
// Adler-32 trailer. Raises EPdfError when zlib fails.
TPdfBytes PdfFlateCompress(const TPdfBytes& data);
