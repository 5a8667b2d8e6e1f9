// The mail-store reader on any bytes: it either reads a document or says why
// not, with the line, and never crashes or hangs, however deep the nesting.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/posix/mail_store/mail_store_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const auto result = orvane::posix::ParseMailStore(std::move(text));
  FUZZ_CHECK((result.document == nullptr) != result.problem.empty());
  if (!result.document) FUZZ_CHECK(result.problem.rfind("line ", 0) == 0);
  return 0;
}
