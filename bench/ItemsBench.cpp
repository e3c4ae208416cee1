// A source full of items through the command line (scan, carve, picture check, the files
// on a RAM file system) next to the floor measured in the same run: a program that only
// writes the same files from offsets it already knows. Usage: bench_items [MiB [folder]]
// (default 256 MiB in /dev/shm).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "tools/extract/ExtractCommand.h"

namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;
constexpr std::size_t kMiB = std::size_t{1} << 20;

// Smooth colour fields; with noise they are photo-like and the coders do real work, without
// they compress like drawings and screenshots.
std::vector<std::uint8_t> PhotoPixels(int width, int height, int noiseLevel, std::mt19937& random) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  std::uniform_int_distribution<int> noise(-noiseLevel, noiseLevel);
  const double phase = random() % 100 / 10.0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = x / 37.0 + phase, v = y / 23.0;
      const int base[3] = {static_cast<int>(128 + 90 * std::sin(u) * std::cos(v)),
                           static_cast<int>(128 + 90 * std::sin(u * 0.7 + v)),
                           static_cast<int>(128 + 90 * std::cos(v * 1.3 - u * 0.4))};
      for (int c = 0; c < 3; ++c) {
        rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
            static_cast<std::uint8_t>(std::clamp(base[c] + noise(random), 0, 255));
      }
    }
  }
  return rgb;
}

TBytes EncodeJpeg(int width, int height, int quality, int noiseLevel, std::mt19937& random) {
  const std::vector<std::uint8_t> rgb = PhotoPixels(width, height, noiseLevel, random);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long outBytes = 0;
  jpeg_mem_dest(&info, &out, &outBytes);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(rgb.data() + static_cast<std::size_t>(info.next_scanline) * width * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  TBytes bytes(out, out + outBytes);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

void OnPngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

TBytes EncodePng(int width, int height, int noiseLevel, std::mt19937& random) {
  const std::vector<std::uint8_t> rgb = PhotoPixels(width, height, noiseLevel, random);
  TBytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, OnPngWrite, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, const_cast<std::uint8_t*>(rgb.data() + static_cast<std::size_t>(y) * width * 3));
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

TBytes Wave(std::size_t dataBytes, std::mt19937& random) {
  TBytes out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  const std::uint32_t size = static_cast<std::uint32_t>(dataBytes + 4);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  for (std::size_t i = 0; i < dataBytes; ++i) out.push_back(static_cast<std::uint8_t>(0x20 + random() % 31));
  return out;
}

struct TItem {
  std::uint64_t Offset;
  std::uint64_t Length;
  std::string Name;
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The floor: the same files, from known offsets, one read and one write each.
double WriteOnlySeconds(const fs::path& source, const fs::path& folder, const std::vector<TItem>& items) {
  fs::remove_all(folder);
  const auto start = std::chrono::steady_clock::now();
  fs::create_directory(folder);
  std::FILE* in = std::fopen(source.c_str(), "rb");
  TBytes buffer;
  for (const TItem& item : items) {
    buffer.resize(item.Length);
    fseeko(in, static_cast<off_t>(item.Offset), SEEK_SET);
    if (std::fread(buffer.data(), 1, buffer.size(), in) != buffer.size()) std::fprintf(stderr, "short read\n");
    std::FILE* out = std::fopen((folder / item.Name).c_str(), "wb");
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    std::fclose(out);
  }
  std::fclose(in);
  return Seconds(std::chrono::steady_clock::now() - start);
}

double CommandSeconds(const fs::path& source, const fs::path& folder) {
  fs::remove_all(folder);
  std::istringstream in;
  std::ostringstream err, out;
  const auto start = std::chrono::steady_clock::now();
  const int status = bw::tools::RunExtractCommand({"--yes", "--quiet", source.string()}, "EN",
                                                  {&in, &err, false, false}, out, nullptr);
  const double seconds = Seconds(std::chrono::steady_clock::now() - start);
  if (status != 0) std::fprintf(stderr, "the command failed: %s\n", err.str().c_str());
  return seconds;
}

// The two folders hold the same names with the same sizes.
bool SameFiles(const fs::path& a, const fs::path& b, std::size_t& count) {
  std::vector<std::pair<std::string, std::uintmax_t>> left, right;
  for (const auto& e : fs::directory_iterator(a)) left.push_back({e.path().filename().string(), e.file_size()});
  for (const auto& e : fs::directory_iterator(b)) right.push_back({e.path().filename().string(), e.file_size()});
  std::sort(left.begin(), left.end());
  std::sort(right.begin(), right.end());
  count = left.size();
  return left == right;
}

// Builds a source of mebibytes from the pool, runs both, prints one line.
void RunSource(const char* label, const std::vector<TBytes>& pool, const fs::path& root, std::size_t mebibytes) {
  const fs::path source = root / "items.ppt";
  const char* extensions[] = {".jpg", ".jpg", ".jpg", ".jpg", ".png", ".wav"};
  const int pattern[] = {0, 1, 2, 3, 0, 2, 1, 4, 3, 0, 2, 1, 5};
  std::vector<TItem> items;
  std::int32_t pictures = 0, sounds = 0;
  std::uint64_t pictureBytes = 0;
  {
    std::FILE* out = std::fopen(source.c_str(), "wb");
    const TBytes gap(517, 0x11);
    std::uint64_t written = 0;
    for (std::size_t i = 0; written < mebibytes * kMiB; ++i) {
      const int kind = pattern[i % (sizeof pattern / sizeof pattern[0])];
      std::fwrite(gap.data(), 1, gap.size(), out);
      written += gap.size();
      const TBytes& item = pool[static_cast<std::size_t>(kind)];
      std::int32_t& count = kind == 5 ? sounds : pictures;
      if (kind != 5) pictureBytes += item.size();
      char number[16];
      std::snprintf(number, sizeof number, "%03d", ++count);
      // The raw carve takes one byte past a RIFF chunk: the floor writes the same bytes.
      items.push_back({written, item.size() + (kind == 5 ? 1 : 0), std::string("items_") + number + extensions[kind]});
      std::fwrite(item.data(), 1, item.size(), out);
      written += item.size();
    }
    std::fwrite(gap.data(), 1, gap.size(), out);
    std::fclose(out);
  }

  auto best = [](auto run) {
    double seconds = 1e9;
    for (int i = 0; i < 3; ++i) seconds = std::min(seconds, run());
    return seconds;
  };
  const fs::path commandFolder = root / "items";
  const fs::path floorFolder = root / "floor";
  const double floor = best([&] { return WriteOnlySeconds(source, floorFolder, items); });
  const double command = best([&] { return CommandSeconds(source, commandFolder); });
  std::size_t files = 0;
  const bool same = SameFiles(commandFolder, floorFolder, files);
  std::printf("%s, %zu MiB, %zu items (%d pictures of %.0f KB on average, %d sounds):\n", label, mebibytes,
              items.size(), pictures, pictureBytes / 1e3 / std::max(pictures, 1), sounds);
  std::printf("  write-only floor %7.3f s   brindlewick-extract %7.3f s   ratio %5.2f x   (%zu files%s)\n", floor,
              command, command / floor, files, same ? ", same names and sizes" : ", FILES DIFFER");
  fs::remove_all(commandFolder);
  fs::remove_all(floorFolder);
  fs::remove(source);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mebibytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
  const fs::path root = fs::path(argc > 2 ? argv[2] : "/dev/shm") / ("bw-items-" + std::to_string(std::random_device{}()));
  fs::create_directories(root);
  std::printf("sources and files on %s\n", root.parent_path().c_str());
  // A deck's mix: pictures of a few sizes, mostly JPEG, a PNG, a sound now and then.
  for (const int noise : {0, 12}) {
    std::mt19937 random(7);
    const std::vector<TBytes> pool = {
        EncodeJpeg(1024, 768, 88, noise, random), EncodeJpeg(800, 600, 85, noise, random),
        EncodeJpeg(640, 480, 90, noise, random),  EncodeJpeg(1280, 960, 80, noise, random),
        EncodePng(400, 300, noise, random),       Wave(200 * 1024, random)};
    RunSource(noise == 0 ? "drawing-like pictures (smooth)" : "photo-like pictures (fine noise)", pool, root,
              mebibytes);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
  fs::remove_all(root);
  return 0;
}
