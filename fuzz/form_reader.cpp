// Form descriptions from outside: the parser must refuse or accept without fault, a
// parsed tree must write back to text that parses to the same tree, and components
// read from it must write, read and write again to the same text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "framework/core/Exceptions.h"
#include "framework/core/FormStreaming.h"
#include "framework/core/FormText.h"
#include "tests/framework/core/TestClasses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bw::core;
  static const bool registered = (test::RegisterTestClasses(), true);
  (void)registered;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TFormParseResult parsed = ParseFormText(text);
  if (!parsed.Ok) return 0;
  const std::string written = WriteFormText(parsed.Root);
  const TFormParseResult again = ParseFormText(written);
  if (!again.Ok || !(again.Root == parsed.Root)) std::abort();

  std::string first;
  try {
    test::TTestForm form(nullptr);
    ReadComponent(form, parsed.Root);
    first = WriteComponentText(form);
  } catch (const Exception&) {
    return 0;
  }
  test::TTestForm copy(nullptr);
  ReadComponentText(copy, first);  // what we wrote must read back
  if (WriteComponentText(copy) != first) std::abort();
  return 0;
}
