#include "hosts/cli/code_page_choice.h"

#include "platform/error.h"
#include "platform/posix/environment.h"
#include "platform/posix/posix_code_page.h"

namespace orvane::cli {
namespace {

// Every character a card's keywords, parameters and line ends are made of.
std::string AsciiText() {
  std::string text = "\r\n";
  for (char c = ' '; c <= '~'; ++c) text += c;
  return text;
}

}  // namespace

std::optional<std::string> CodePageProblem(uint32_t number) {
  const std::string name = "code page " + std::to_string(number);
  try {
    posix::PosixCodePage page(number);
    const std::string ascii = AsciiText();
    const std::u16string wide(ascii.begin(), ascii.end());
    if (page.FromUtf16(wide) != ascii || page.ToUtf16(ascii) != wide) {
      return name + " cannot be used: it does not keep ASCII characters as they are";
    }
    return std::nullopt;
  } catch (const Error&) {
    return "unknown " + name + ": this machine has no converter for it";
  }
}

uint32_t LocaleCodePage() { return posix::SystemCodePageNumber(posix::ProcessEnvironment()); }

}  // namespace orvane::cli
