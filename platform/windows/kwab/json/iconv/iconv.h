#pragma once

// <iconv.h> for the MinGW build of the JSON address book: UTF-8 and UTF-16LE only.

#include "platform/windows/kwab/json/utf_iconv.h"

using iconv_t = orvane_utf_iconv_t;

inline iconv_t iconv_open(const char* to_charset, const char* from_charset) {
  return orvane_utf_iconv_open(to_charset, from_charset);
}
inline std::size_t iconv(iconv_t converter, char** input, std::size_t* input_left, char** output,
                         std::size_t* output_left) {
  return orvane_utf_iconv(converter, input, input_left, output, output_left);
}
inline int iconv_close(iconv_t converter) { return orvane_utf_iconv_close(converter); }
