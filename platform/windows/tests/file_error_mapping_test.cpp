#include "platform/windows/file_error_mapping.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orvane::windows {
namespace {

struct MappingCase {
  uint32_t code;
  int32_t number;
  MissingPath missing = MissingPath::kFile;
};

class FileErrorNumberTest : public testing::TestWithParam<MappingCase> {};

TEST_P(FileErrorNumberTest, MapsCode) {
  EXPECT_EQ(FileErrorNumber(GetParam().code, GetParam().missing), GetParam().number)
      << std::hex << "code 0x" << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FileErrorNumberTest,
    testing::Values(
        // The scripting object's own codes, as Windows reports them.
        MappingCase{0x800A0035, 53}, MappingCase{0x800A003A, 58}, MappingCase{0x800A003D, 61},
        MappingCase{0x800A0046, 70}, MappingCase{0x800A004B, 75}, MappingCase{0x800A004C, 76},
        // Runtime numbers that are no file failure stay unmapped.
        MappingCase{0x800A000D, 0}, MappingCase{0x800A01AD, 0},
        // System errors wrapped in an HRESULT, as Wine's object reports some of them.
        MappingCase{0x80070002, 53}, MappingCase{0x80070003, 76}, MappingCase{0x80070005, 70},
        MappingCase{0x80070020, 70}, MappingCase{0x80070050, 58}, MappingCase{0x800700B7, 58},
        MappingCase{0x80070070, 61}, MappingCase{0x80070027, 61}, MappingCase{0x8007007B, 75},
        MappingCase{0x800700A1, 76}, MappingCase{0x8007000F, 76}, MappingCase{0x80070091, 75},
        // Bare system error numbers, as GetLastError gives them.
        MappingCase{2, 53}, MappingCase{3, 76}, MappingCase{5, 70}, MappingCase{112, 61},
        MappingCase{183, 58},
        // Neither a file failure nor a known code.
        MappingCase{0x80070008, 0}, MappingCase{0x80004005, 0}, MappingCase{0x8002000E, 0},
        MappingCase{0, 0}, MappingCase{6, 0},
        // For a folder operation a missing file is a missing folder; nothing else changes.
        MappingCase{0x800A0035, 76, MissingPath::kFolder},
        MappingCase{0x80070002, 76, MissingPath::kFolder}, MappingCase{2, 76, MissingPath::kFolder},
        MappingCase{0x80070003, 76, MissingPath::kFolder},
        MappingCase{0x80070005, 70, MissingPath::kFolder},
        MappingCase{0x80070091, 75, MissingPath::kFolder},
        MappingCase{0x80004005, 0, MissingPath::kFolder}));

}  // namespace
}  // namespace orvane::windows
