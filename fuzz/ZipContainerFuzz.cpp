// Arbitrary bytes as a zip container: the directory, the media classification and every
// entry's data, stored or inflated, through the same bounds the extractor uses.
#include <cstdint>

#include "extract/ZipContainer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bw::extract;
  TMemorySource source(data, size);
  TZipContainer zip(source);
  if (!zip.Open().Ok()) return 0;
  const std::uint64_t budget = zip.BudgetBytes();
  std::uint64_t total = 0;
  for (const TZipEntry& entry : zip.Entries()) {
    TMediaEntry media;
    const TEntryVerdict verdict = ClassifyEntry(entry.Name, media);
    // The output name takes only the extension: it must never carry a separator or dots.
    if (verdict == TEntryVerdict::Media) {
      if (media.Extension.size() < 2 || media.Extension[0] != '.') __builtin_trap();
      for (std::size_t i = 1; i < media.Extension.size(); ++i) {
        const char c = media.Extension[i];
        if (c == '.' || c == '/' || c == '\\' || c == ':') __builtin_trap();
      }
    }
    std::uint64_t entryBytes = 0;
    const TZipResult result = zip.Read(entry, [&](const std::uint8_t*, std::size_t length) {
      entryBytes += length;
      return true;
    });
    // Never more than the entry states, never more than the archive's budget.
    if (entryBytes > entry.SizeBytes) __builtin_trap();
    if (result.Ok() && entryBytes != entry.SizeBytes) __builtin_trap();
    total += entryBytes;
    if (total > budget) __builtin_trap();
  }
  return 0;
}
