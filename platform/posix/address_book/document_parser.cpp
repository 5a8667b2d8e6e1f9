#include "platform/posix/address_book/document_parser.h"

#include "platform/posix/address_book/document_builder.h"
#include "platform/posix/address_book/json_token_reader.h"

namespace orvane::posix {

ParseResult ParseAddressBook(std::string_view text) {
  DocumentBuilder builder;
  if (std::string problem = ReadJsonTokens(text, builder); !problem.empty()) {
    return {nullptr, std::move(problem)};
  }
  return {std::make_shared<const AddressBookDocument>(builder.TakeDocument()), {}};
}

}  // namespace orvane::posix
