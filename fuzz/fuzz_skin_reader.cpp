// Packed skin containers: refused or loaded, and every entry lookup stays in bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bw::skin;
  // Half the runs see the input as an unpacked container, so the fuzzer reaches the
  // directory checks without first having to learn to write LZH.
  std::vector<std::uint8_t> bytes(data, data + size);
  if (size > 0 && (data[0] & 1) != 0) {
    bytes.erase(bytes.begin());
    bytes = PackFramedBytes(bytes);
  }
  TMemoryStream stream(bytes);
  TSkinReader reader;
  reader.SetNotice([](const std::string&) {});
  if (!reader.Loadfromstream(stream)) return 0;
  TMemoryStream entry;
  std::string name;
  reader.readIni(".ini", entry, name);
  for (int i = 0; i < reader.Count(); ++i) {
    reader.readfile(reader.EntryName(i), entry);
    (void)reader.EntryBytes(i);
  }
  return 0;
}
