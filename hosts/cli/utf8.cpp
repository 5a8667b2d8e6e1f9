#include "hosts/cli/utf8.h"

#include "platform/posix/text_conversion.h"

namespace orvane::cli {

std::string Utf8(std::u16string_view text) { return posix::EncodeUtf8(text); }

std::u16string Utf16(std::string_view text) { return posix::DecodeUtf8(text); }

}  // namespace orvane::cli
