// Bitmap BMP streams, pictures chosen by extension, JPEG pictures and icons.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/core/BmpFile.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/FormStreaming.h"
#include "framework/core/Streams.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Icon.h"
#include "framework/win/IconFile.h"
#include "framework/win/JpegImage.h"
#include "framework/win/Picture.h"

namespace bw::win {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TTempDir {
 public:
  TTempDir() {
    FPath = std::filesystem::temp_directory_path() /
            ("bw-picture-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()));
    std::filesystem::create_directories(FPath);
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  std::string File(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes StreamBytes(core::TMemoryStream& s) { return s.Bytes(); }

Bytes SaveBitmap(TBitmap& bmp) {
  core::TMemoryStream s;
  bmp.SaveToStream(s);
  return StreamBytes(s);
}

void LoadBitmap(TBitmap& bmp, const Bytes& bytes) {
  core::TMemoryStream s;
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  s.SetPosition(0);
  bmp.LoadFromStream(s);
}

std::size_t FirstMismatch(const Bytes& a, const Bytes& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return i;
  return a.size() == b.size() ? SIZE_MAX : n;
}

// A picture of every depth with a distinct byte pattern, and a short colour table for
// the indexed depths.
core::TDib PatternDib(std::uint16_t bits) {
  core::TDib dib(13, 5, bits);
  for (std::size_t i = 0; i < dib.Pixels().size(); ++i) dib.Pixels()[i] = static_cast<std::uint8_t>(i * 37 + 11);
  if (bits <= 8) {
    const std::size_t entries = bits == 1 ? 2 : bits == 4 ? 11 : 77;
    for (std::size_t i = 0; i < entries; ++i)
      dib.ColorTable().push_back({static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(255 - i),
                                  static_cast<std::uint8_t>(i * 7), 0});
  }
  return dib;
}

TEST(BitmapStreams, EveryDepthRoundTripsByteForByte) {
  struct TCase {
    std::uint16_t Bits;
    std::uint32_t Masks[3];
    TPixelFormat Format;
  } cases[] = {
      {1, {}, TPixelFormat::pf1bit},
      {4, {}, TPixelFormat::pf4bit},
      {8, {}, TPixelFormat::pf8bit},
      {16, {}, TPixelFormat::pf15bit},
      {16, {0xF800, 0x07E0, 0x001F}, TPixelFormat::pf16bit},
      {16, {0x0F00, 0x00F0, 0x000F}, TPixelFormat::pf15bit},
      {24, {}, TPixelFormat::pf24bit},
      {32, {}, TPixelFormat::pf32bit},
      {32, {0x000000FF, 0x0000FF00, 0x00FF0000}, TPixelFormat::pf32bit},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Bits << " bits, green mask " << c.Masks[1]);
    core::TDib dib = PatternDib(c.Bits);
    if (c.Masks[1] != 0) dib.SetMasks(c.Masks[0], c.Masks[1], c.Masks[2]);
    const Bytes file = core::WriteBmp(dib);
    TBitmap bmp;
    LoadBitmap(bmp, file);
    EXPECT_EQ(bmp.Width(), 13);
    EXPECT_EQ(bmp.Height(), 5);
    EXPECT_EQ(bmp.PixelFormat(), c.Format);
    const Bytes again = SaveBitmap(bmp);
    EXPECT_EQ(FirstMismatch(file, again), SIZE_MAX) << "first mismatch at byte " << FirstMismatch(file, again);
  }
}

TEST(BitmapStreams, LoadedPixelsDrawWithTheirColours) {
  core::TDib dib(3, 2, 8);
  dib.ColorTable() = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
  dib.RowFromTop(0)[0] = 0;  // red
  dib.RowFromTop(0)[1] = 1;  // green
  dib.RowFromTop(1)[2] = 2;  // blue
  TBitmap bmp;
  LoadBitmap(bmp, core::WriteBmp(dib));
  EXPECT_EQ(GetPixel(bmp.Canvas().Handle(), 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(bmp.Canvas().Handle(), 1, 0), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(bmp.Canvas().Handle(), 2, 1), RGB(0, 0, 255));
}

TEST(BitmapStreams, EmptyStreamGivesAnEmptyBitmapAndAnEmptyFile) {
  TBitmap bmp(4, 4);
  LoadBitmap(bmp, {});
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Handle(), nullptr);
  EXPECT_TRUE(SaveBitmap(bmp).empty());
}

TEST(BitmapStreams, DamagedFileRaisesAndKeepsThePicture) {
  TBitmap bmp(7, 3, TPixelFormat::pf24bit);
  Bytes file = core::WriteBmp(PatternDib(24));
  const Bytes before = SaveBitmap(bmp);
  const Bytes damaged[] = {
      Bytes(file.begin(), file.begin() + 30),    // header cut off
      Bytes(file.begin(), file.end() - 10),      // pixels cut off
      [&] { Bytes b = file; b[0] = 'X'; return b; }(),
      [&] { Bytes b = file; b[28] = 3; return b; }(),  // 3 bits per pixel
  };
  for (const Bytes& bad : damaged) {
    try {
      LoadBitmap(bmp, bad);
      ADD_FAILURE() << "a damaged file was accepted";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Bitmap image is not valid: ", 0), 0u) << e.what();
    }
    EXPECT_EQ(SaveBitmap(bmp), before);
  }
}

TEST(BitmapStreams, FilesWithWideNamesRoundTrip) {
  TTempDir dir;
  const std::string path = dir.File("gl\xC3\xBF" "ph.bmp");  // a non-ASCII name in UTF-8
  TBitmap bmp;
  bmp.LoadFromDib(PatternDib(8));
  bmp.SaveToFile(path);
  TBitmap back;
  back.LoadFromFile(path);
  EXPECT_EQ(SaveBitmap(back), SaveBitmap(bmp));
  EXPECT_THROW(back.LoadFromFile(dir.File("missing.bmp")), core::EFOpenError);
  EXPECT_THROW(back.SaveToFile(dir.File("no-such-folder/x.bmp")), core::EFCreateError);
}

// A component publishing a bitmap and a picture, as controls with glyphs and pictures do.
class THolder : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit THolder(core::TComponent* owner) : core::TComponent(owner) {}
  TBitmap* Glyph() const { return FGlyph.get(); }
  TPicture* Picture() const { return FPicture.get(); }

 private:
  static const core::TPropInfo kProps[];
  std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
  std::unique_ptr<TPicture> FPicture = std::make_unique<TPicture>();
};
const core::TPropInfo THolder::kProps[] = {
    core::ObjProp<&THolder::Glyph>("Glyph"),
    core::ObjProp<&THolder::Picture>("Picture"),
};
const core::TClassInfo THolder::kClass{"THolder", &core::TComponent::kClass, kProps, {},
                                       &core::CreateComponentOf<THolder>};

std::string Hex(const Bytes& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

TEST(GraphicData, FormDescriptionsCarryGlyphsAndPictures) {
  const Bytes glyph = core::WriteBmp(PatternDib(4));
  const Bytes picture = core::WriteBmp(PatternDib(24));
  Bytes pictureData{7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
  pictureData.insert(pictureData.end(), picture.begin(), picture.end());
  const std::string text = "object Holder1: THolder\n  Glyph.Data = {" + Hex(glyph) + "}\n  Picture.Data = {" +
                           Hex(pictureData) + "}\nend\n";
  THolder holder(nullptr);
  core::ReadComponentText(holder, text);
  EXPECT_EQ(holder.Glyph()->PixelFormat(), TPixelFormat::pf4bit);
  EXPECT_EQ(SaveBitmap(*holder.Glyph()), glyph);
  ASSERT_NE(dynamic_cast<TBitmap*>(holder.Picture()->Graphic()), nullptr);
  EXPECT_EQ(SaveBitmap(holder.Picture()->Bitmap()), picture);

  const std::string written = core::WriteComponentText(holder);
  THolder again(nullptr);
  core::ReadComponentText(again, written);
  EXPECT_EQ(core::WriteComponentText(again), written);
  EXPECT_NE(written.find("Picture.Data"), std::string::npos);

  THolder empty(nullptr);
  EXPECT_EQ(core::WriteComponentText(empty).find("Data"), std::string::npos);
}

TEST(GraphicData, UnknownPictureClassIsRefused) {
  Bytes data{6, 'T', 'S', 'h', 'a', 'p', 'e', 1, 2, 3};
  THolder holder(nullptr);
  holder.SetName("Holder1");
  EXPECT_THROW(core::ReadComponentText(holder, "object Holder1: THolder\n  Picture.Data = {" + Hex(data) + "}\nend\n"),
               core::EReadError);
  EXPECT_EQ(holder.Picture()->Graphic(), nullptr);
}

Bytes EncodeJpeg(int widthPx, int heightPx, const std::function<COLORREF(int, int)>& pixel) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(widthPx);
  info.image_height = static_cast<JDIMENSION>(heightPx);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(widthPx) * 3);
  for (int y = 0; y < heightPx; ++y) {
    for (int x = 0; x < widthPx; ++x) {
      const COLORREF c = pixel(x, y);
      row[static_cast<std::size_t>(x) * 3] = GetRValue(c);
      row[static_cast<std::size_t>(x) * 3 + 1] = GetGValue(c);
      row[static_cast<std::size_t>(x) * 3 + 2] = GetBValue(c);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Two 16-pixel colour blocks side by side: red, then blue.
Bytes TwoBlockJpeg() {
  return EncodeJpeg(32, 16, [](int x, int) { return x < 16 ? RGB(220, 20, 30) : RGB(10, 40, 200); });
}

TEST(JpegImage, DecodesDrawsAndSavesItsOwnBytes) {
  const Bytes jpeg = TwoBlockJpeg();
  TJPEGImage image;
  core::TMemoryStream in;
  in.WriteBuffer(jpeg.data(), static_cast<std::int64_t>(jpeg.size()));
  in.SetPosition(0);
  image.LoadFromStream(in);
  EXPECT_EQ(image.Width(), 32);
  EXPECT_EQ(image.Height(), 16);
  TBitmap target(32, 16);
  target.Canvas().Draw(0, 0, image);
  EXPECT_TRUE(Near(target.Canvas().Pixel(4, 8), RGB(220, 20, 30), 8));
  EXPECT_TRUE(Near(target.Canvas().Pixel(27, 8), RGB(10, 40, 200), 8));
  core::TMemoryStream out;
  image.SaveToStream(out);
  EXPECT_EQ(out.Bytes(), jpeg);
}

TEST(JpegImage, TruncatedStreamStillGivesAPictureButGarbageRaises) {
  // Large enough that the tables are a small part of the file.
  Bytes jpeg = EncodeJpeg(128, 128, [](int x, int y) { return RGB(x * 2, y * 2, (x * y) & 255); });
  jpeg.resize(jpeg.size() * 2 / 3);  // a decoder warning, not an error
  TJPEGImage image;
  core::TMemoryStream in;
  in.WriteBuffer(jpeg.data(), static_cast<std::int64_t>(jpeg.size()));
  in.SetPosition(0);
  EXPECT_NO_THROW(image.LoadFromStream(in));
  EXPECT_EQ(image.Width(), 128);

  const Bytes garbage{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3, 4, 5};
  core::TMemoryStream bad;
  bad.WriteBuffer(garbage.data(), static_cast<std::int64_t>(garbage.size()));
  bad.SetPosition(0);
  EXPECT_THROW(image.LoadFromStream(bad), EInvalidGraphic);
  EXPECT_EQ(image.Width(), 128);  // the picture before is kept
}

// An .ico with a 16x16 and a 32x32 32-bit image; colour fills each, the left half of
// each is see-through by the mask.
Bytes TwoImageIcon(COLORREF small, COLORREF large) {
  auto image = [](int size, COLORREF color) {
    Bytes img;
    auto u32 = [&img](std::uint32_t v) {
      for (int i = 0; i < 4; ++i) img.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&img](std::uint16_t v) {
      img.push_back(static_cast<std::uint8_t>(v));
      img.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    u32(40);
    u32(static_cast<std::uint32_t>(size));
    u32(static_cast<std::uint32_t>(size * 2));
    u16(1);
    u16(32);
    for (int i = 0; i < 6; ++i) u32(0);
    // Colour rows are XORed where the mask lets the background through: black there.
    for (int i = 0; i < size * size; ++i) {
      const bool seeThrough = i % size < size / 2;
      const COLORREF c = seeThrough ? 0 : color;
      img.insert(img.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    const int maskStride = (size + 31) / 32 * 4;
    for (int y = 0; y < size; ++y) {
      Bytes row(static_cast<std::size_t>(maskStride), 0);
      for (int x = 0; x < size / 2; ++x) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      img.insert(img.end(), row.begin(), row.end());
    }
    return img;
  };
  const Bytes a = image(16, small), b = image(32, large);
  Bytes file{0, 0, 1, 0, 2, 0};
  auto entry = [&file](int size, std::size_t bytes, std::size_t offset) {
    file.insert(file.end(), {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size), 0, 0, 1, 0, 32, 0});
    for (std::size_t v : {bytes, offset})
      for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  entry(16, a.size(), 6 + 32);
  entry(32, b.size(), 6 + 32 + a.size());
  file.insert(file.end(), a.begin(), a.end());
  file.insert(file.end(), b.begin(), b.end());
  return file;
}

TEST(Icon, LoadsTheThirtyTwoPixelImageAndDrawsItsMask) {
  TIcon icon;
  core::TMemoryStream in;
  const Bytes file = TwoImageIcon(RGB(0, 255, 0), RGB(200, 0, 0));
  in.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
  in.SetPosition(0);
  icon.LoadFromStream(in);
  ASSERT_NE(icon.Handle(), nullptr);
  EXPECT_EQ(icon.Width(), 32);
  EXPECT_EQ(icon.Height(), 32);
  TBitmap target(32, 32);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect({0, 0, 32, 32});
  target.Canvas().Draw(0, 0, icon);
  EXPECT_EQ(target.Canvas().Pixel(5, 5), RGB(255, 255, 255));  // masked half
  EXPECT_EQ(target.Canvas().Pixel(25, 5), RGB(200, 0, 0));
  core::TMemoryStream out;
  icon.SaveToStream(out);
  EXPECT_EQ(out.Bytes(), file);
}

TEST(Icon, IconMadeFromAHandleSavesAFileThatLoadsTheSame) {
  TIcon source;
  core::TMemoryStream in;
  const Bytes file = TwoImageIcon(RGB(0, 0, 0), RGB(30, 60, 90));
  in.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
  in.SetPosition(0);
  source.LoadFromStream(in);
  TIcon fromHandle;
  fromHandle.SetHandle(CopyIcon(source.Handle()));
  EXPECT_EQ(fromHandle.Width(), 32);
  core::TMemoryStream saved;
  fromHandle.SaveToStream(saved);
  ASSERT_GT(saved.Size(), 0);
  saved.SetPosition(0);
  TIcon reloaded;
  reloaded.LoadFromStream(saved);
  TBitmap target(32, 32);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect({0, 0, 32, 32});
  target.Canvas().Draw(0, 0, reloaded);
  EXPECT_EQ(target.Canvas().Pixel(3, 30), RGB(255, 255, 255));
  EXPECT_EQ(target.Canvas().Pixel(30, 30), RGB(30, 60, 90));
}

TEST(Icon, LoadsFromTheProgramsResources) {
  TIcon icon;
  icon.LoadFromResourceID(GetModuleHandleW(nullptr), 1);
  ASSERT_NE(icon.Handle(), nullptr);
  EXPECT_EQ(icon.Width(), 32);
  TBitmap target(32, 32);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect({0, 0, 32, 32});
  target.Canvas().Draw(0, 0, icon);
  EXPECT_EQ(target.Canvas().Pixel(4, 4), RGB(255, 255, 255));
  EXPECT_EQ(target.Canvas().Pixel(28, 4), RGB(255, 0, 0));
  EXPECT_THROW(icon.LoadFromResourceName(GetModuleHandleW(nullptr), "NOSUCHICON"), EInvalidGraphic);
  EXPECT_NE(icon.Handle(), nullptr);  // kept
}

TEST(IconFile, DirectoryRefusesWhatDoesNotFit) {
  const Bytes good = TwoImageIcon(0, 0);
  ASSERT_TRUE(ReadIconDirectory(good).Ok);
  struct TCase {
    const char* What;
    std::function<void(Bytes&)> Damage;
    const char* Reason;
  } cases[] = {
      {"empty", [](Bytes& b) { b.clear(); }, "cut off"},
      {"a cursor", [](Bytes& b) { b[2] = 2; }, "not an icon"},
      {"no images", [](Bytes& b) { b[4] = 0; }, "without images"},
      {"directory cut off", [](Bytes& b) { b.resize(20); }, "cut off"},
      {"offset past the end", [](Bytes& b) { b[6 + 16 + 15] = 0x7F; }, "outside the file"},
      {"size past the end", [](Bytes& b) { b[6 + 11] = 0x10; }, "outside the file"},
      {"image height odd", [](Bytes& b) { b[38 + 8] = 31; }, "size out of range"},
      {"image too wide", [](Bytes& b) { b[38 + 5] = 0x10; }, "size out of range"},
      {"bit count", [](Bytes& b) { b[38 + 14] = 3; }, "bit count"},
      {"pixels cut off", [](Bytes& b) { b[38 + 4] = 200; }, "cut off"},
  };
  for (const TCase& c : cases) {
    Bytes bad = good;
    c.Damage(bad);
    const TIconDirectory dir = ReadIconDirectory(bad);
    EXPECT_FALSE(dir.Ok) << c.What;
    EXPECT_NE(dir.Reason.find(c.Reason), std::string::npos) << c.What << ": " << dir.Reason;
  }
}

TEST(IconFile, ChoosesTheExactSizeThenTheNearestLarger) {
  auto e = [](int size, int bits) {
    TIconEntry entry;
    entry.WidthPx = entry.HeightPx = size;
    entry.BitCount = bits;
    return entry;
  };
  EXPECT_EQ(ChooseIconEntry({e(16, 32), e(32, 4), e(32, 32), e(48, 32)}, 32), 2);
  EXPECT_EQ(ChooseIconEntry({e(16, 32), e(64, 32), e(48, 8)}, 32), 2);
  EXPECT_EQ(ChooseIconEntry({e(16, 8), e(24, 32)}, 32), 1);
  EXPECT_EQ(ChooseIconEntry({}, 32), -1);
}

TEST(Picture, LoadsByExtensionAndKeepsItsGraphicOnFailure) {
  TTempDir dir;
  TBitmap bmp;
  bmp.LoadFromDib(PatternDib(24));
  bmp.SaveToFile(dir.File("a.bmp"));
  WriteFile(dir.File("b.JPG"), TwoBlockJpeg());
  WriteFile(dir.File("c.jpeg"), TwoBlockJpeg());
  WriteFile(dir.File("d.ico"), TwoImageIcon(0, 0));
  WriteFile(dir.File("broken.jpg"), {0xFF, 0xD8, 0xFF, 0xE0, 0, 0});
  Bytes brokenIcon = TwoImageIcon(0, 0);
  brokenIcon[6 + 15] = 0x40;
  WriteFile(dir.File("broken.ico"), brokenIcon);
  WriteFile(dir.File("e.gif"), {'G', 'I', 'F'});

  TPicture picture;
  int changes = 0;
  picture.OnChange = [&changes] { ++changes; };
  struct TCase {
    const char* File;
    const core::TClassInfo* Class;
    int Width;
  } loads[] = {{"a.bmp", &TBitmap::kClass, 13},
               {"b.JPG", &TJPEGImage::kClass, 32},
               {"c.jpeg", &TJPEGImage::kClass, 32},
               {"d.ico", &TIcon::kClass, 32}};
  for (const TCase& c : loads) {
    const int before = changes;
    picture.LoadFromFile(dir.File(c.File));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(&picture.Graphic()->ClassType(), c.Class) << c.File;
    EXPECT_EQ(picture.Width(), c.Width) << c.File;
    EXPECT_GT(changes, before) << c.File;
  }
  TGraphic* held = picture.Graphic();
  const int before = changes;
  EXPECT_THROW(picture.LoadFromFile(dir.File("broken.jpg")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir.File("broken.ico")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir.File("e.gif")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir.File("noextension")), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir.File("missing.bmp")), core::EFOpenError);
  EXPECT_EQ(picture.Graphic(), held);
  EXPECT_EQ(changes, before);
}

TEST(Picture, AssignCopiesAndBitmapReplacesOtherGraphics) {
  TJPEGImage jpeg;
  const Bytes bytes = TwoBlockJpeg();
  core::TMemoryStream in;
  in.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  in.SetPosition(0);
  jpeg.LoadFromStream(in);

  TPicture a, b;
  a.Assign(jpeg);
  ASSERT_NE(a.Graphic(), nullptr);
  EXPECT_NE(a.Graphic(), &jpeg);
  b.Assign(a);
  ASSERT_NE(b.Graphic(), nullptr);
  EXPECT_NE(b.Graphic(), a.Graphic());
  EXPECT_EQ(b.Graphic()->ClassName(), "TJPEGImage");
  EXPECT_EQ(b.Width(), 32);

  TBitmap& bitmap = b.Bitmap();
  EXPECT_EQ(b.Graphic(), &bitmap);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(&b.Bitmap(), &bitmap);  // a bitmap already held is kept

  TBitmap drawn;
  drawn.Assign(jpeg);  // other graphics are drawn onto a bitmap of their size
  EXPECT_EQ(drawn.Width(), 32);
  EXPECT_TRUE(Near(drawn.Canvas().Pixel(27, 8), RGB(10, 40, 200), 8));
}

}  // namespace
}  // namespace bw::win
