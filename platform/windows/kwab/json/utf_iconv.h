#pragma once

#include <cstddef>

// A conversion between UTF-8 and UTF-16LE with the interface and the error
// answers of iconv (EILSEQ at a byte that starts no character, EINVAL for a
// character cut off at the end of the input, E2BIG when the output is full).
// MinGW has no iconv; the JSON address book needs only these two directions.

struct orvane_utf_converter;
using orvane_utf_iconv_t = orvane_utf_converter*;

// "UTF-8" to "UTF-16LE" or back, names in any case; (orvane_utf_iconv_t)-1
// and errno EINVAL for any other pair.
orvane_utf_iconv_t orvane_utf_iconv_open(const char* to_charset, const char* from_charset);
std::size_t orvane_utf_iconv(orvane_utf_iconv_t converter, char** input, std::size_t* input_left,
                             char** output, std::size_t* output_left);
int orvane_utf_iconv_close(orvane_utf_iconv_t converter);
