// shotdiff EXPECTED.png ACTUAL.png DIFF.png [MAX-PER-MILLE]
// Exit 0 when at most MAX-PER-MILLE (default 5) of every thousand pixels changed, 1 when
// more did or the sizes differ, 2 when a picture cannot be read or the difference written.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/shotdiff/ShotDiff.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fputs("usage: shotdiff EXPECTED.png ACTUAL.png DIFF.png [MAX-PER-MILLE]\n", stderr);
    return 2;
  }
  char* end = nullptr;
  const double maxPerMille = argc == 5 ? std::strtod(argv[4], &end) : 5.0;
  if (argc == 5 && (end == argv[4] || *end != '\0' || maxPerMille < 0)) {
    std::fprintf(stderr, "shotdiff: not a number of pixels per thousand: %s\n", argv[4]);
    return 2;
  }
  std::string error;
  const auto expected = bw::tools::ReadPng(argv[1], error);
  if (!expected) {
    std::fprintf(stderr, "shotdiff: cannot read %s: %s\n", argv[1], error.c_str());
    return 2;
  }
  const auto actual = bw::tools::ReadPng(argv[2], error);
  if (!actual) {
    std::fprintf(stderr, "shotdiff: cannot read %s: %s\n", argv[2], error.c_str());
    return 2;
  }
  const bw::tools::TShotDiff diff = bw::tools::CompareShots(*expected, *actual);
  if (!bw::tools::WritePng(argv[3], diff.Picture)) {
    std::fprintf(stderr, "shotdiff: cannot write %s\n", argv[3]);
    return 2;
  }
  const double perMille = diff.Total ? 1000.0 * double(diff.Changed) / double(diff.Total) : 0.0;
  if (!diff.SameSize) {
    std::printf("%s: %d x %d, was %d x %d\n", argv[2], actual->WidthPx, actual->HeightPx, expected->WidthPx,
                expected->HeightPx);
    return 1;
  }
  std::printf("%s: %llu of %llu pixels changed (%.2f per mille)\n", argv[2],
              static_cast<unsigned long long>(diff.Changed), static_cast<unsigned long long>(diff.Total), perMille);
  return perMille <= maxPerMille ? 0 : 1;
}
