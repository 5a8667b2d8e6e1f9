#include "platform/posix/address_book/tests/test_support.h"

#include <iconv.h>
#include <stdlib.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace orvane::posix::testing {
namespace {

std::string Convert(const char* to, const char* from, const std::string& bytes) {
  iconv_t descriptor = iconv_open(to, from);
  if (descriptor == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no converter");
  std::string output(bytes.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char* out = output.data();
  size_t out_left = output.size();
  const size_t done = iconv(descriptor, &in, &in_left, &out, &out_left);
  iconv_close(descriptor);
  if (done == static_cast<size_t>(-1)) throw std::runtime_error("cannot convert");
  output.resize(output.size() - out_left);
  return output;
}

std::string Utf16Bytes(const std::u16string& text) {
  std::string bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::u16string Utf16FromBytes(const std::string& bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-book-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TemporaryFolder::Write(const std::string& name, const std::string& content) const {
  const std::string file = path_ + "/" + name;
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream << content;
  if (!stream.flush()) throw std::runtime_error("cannot write " + file);
  return file;
}

std::string Latin1CodePage::FromUtf16(const std::u16string& text) {
  std::string bytes;
  for (const char16_t c : text) bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return bytes;
}

std::u16string Latin1CodePage::ToUtf16(const std::string& bytes) {
  std::u16string text;
  for (const char c : bytes) text.push_back(static_cast<unsigned char>(c));
  return text;
}

std::string Utf8CodePage::FromUtf16(const std::u16string& text) {
  return Convert("UTF-8", "UTF-16LE", Utf16Bytes(text));
}

std::u16string Utf8CodePage::ToUtf16(const std::string& bytes) {
  return Utf16FromBytes(Convert("UTF-16LE", "UTF-8", bytes));
}

std::string OneEntryDocument(const std::string& properties) {
  return "{\"entries\": [{\"properties\": [" + properties + "]}]}";
}

std::string TestNameOf(const std::string& name) {
  std::string result = name;
  for (char& c : result) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return result;
}

}  // namespace orvane::posix::testing
