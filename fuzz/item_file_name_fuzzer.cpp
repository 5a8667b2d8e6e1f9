// Output naming on any name: the target is the name itself, the name beside the
// component, or a name inside the folder it names; nothing else, and no crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "component/call_context.h"
#include "component/item_file_name.h"
#include "component/shared_state.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/error.h"
#include "tests/fakes/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orvane::fuzzing::FuzzInput input(data, size);
  const auto item = static_cast<int16_t>(input.Word());
  const auto type = static_cast<int16_t>(input.Word() % 6);
  const bool is_folder = (input.Byte() & 1) != 0;
  const std::u16string name = input.RestAsUtf16();

  orvane::testing::FakePlatform fake;
  if (is_folder && !name.empty()) fake.disk->AddFolder(name);
  const orvane::PlatformServices services = fake.services();
  orvane::SharedState state;
  state.FileSys = services.file_systems->CreateFileSystem();
  orvane::CallContext context(state, services, [](int16_t, const std::u16string&) {});

  std::u16string target = name;
  try {
    orvane::BuildItemFileName(context, item, type, target);
  } catch (const orvane::Error&) {
    return 0;
  }
  const bool known_type = type >= 1 && type <= 3;
  if (name.empty()) {
    FUZZ_CHECK(known_type ? target.rfind(u"/app/", 0) == 0 : target.empty());
  } else {
    FUZZ_CHECK(target == name || target == u"/app/" + name || target.rfind(name, 0) == 0);
  }
  return 0;
}
