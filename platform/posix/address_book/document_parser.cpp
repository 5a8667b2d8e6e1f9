#include "platform/posix/address_book/document_parser.h"

#include "platform/posix/address_book/document_builder.h"
#include "platform/posix/address_book/json_token_reader.h"

namespace orvane::posix {

ParseResult ParseAddressBook(std::string text) {
  auto document = std::make_shared<AddressBookDocument>();
  document->text = std::move(text);
  DocumentBuilder builder(*document);
  if (std::string problem = ReadJsonTokens(document->text, builder); !problem.empty()) {
    return {nullptr, std::move(problem)};
  }
  return {std::move(document), {}};
}

}  // namespace orvane::posix
