#include "vcard/trailing_semicolons.h"

namespace orvane {

const std::u16string& StripTrailingSemicolons(std::u16string& text) {
  while (!text.empty() && text.back() == u';') text.pop_back();
  return text;
}

}  // namespace orvane
