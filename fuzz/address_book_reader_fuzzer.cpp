// The address-book store reader on any bytes: it either reads a document or says
// why not, with the line, and never crashes or hangs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/posix/address_book/document_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const orvane::posix::ParseResult result = orvane::posix::ParseAddressBook(std::move(text));
  FUZZ_CHECK((result.document == nullptr) != result.problem.empty());
  if (!result.document) FUZZ_CHECK(result.problem.rfind("line ", 0) == 0);
  return 0;
}
