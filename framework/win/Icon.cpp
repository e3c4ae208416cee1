#include "framework/win/Icon.h"

#include <cstring>

#include "framework/core/Streams.h"
#include "framework/win/Canvas.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/IconFile.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

// Version of the icon resource format CreateIconFromResourceEx expects.
constexpr DWORD kIconResourceVersion = 0x00030000;

struct TMonoInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[2];
};

// A one-image .ico file with the icon's colour and mask rows.
std::vector<std::uint8_t> IconFileOf(HICON icon, int widthPx, int heightPx) {
  ICONINFO ii{};
  if (!icon || widthPx <= 0 || heightPx <= 0 || !GetIconInfo(icon, &ii)) return {};
  const TBitmapHandle color(ii.hbmColor);
  const TBitmapHandle mask(ii.hbmMask);
  const TWindowDC screen(nullptr);
  const std::size_t colorStride = static_cast<std::size_t>(widthPx) * 4;
  const std::size_t maskStride = static_cast<std::size_t>((widthPx + 31) / 32) * 4;
  const auto rows = static_cast<std::size_t>(heightPx);
  std::vector<std::uint8_t> colorRows(colorStride * rows);
  std::vector<std::uint8_t> maskRows(maskStride * rows);
  TMonoInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = widthPx;
  info.header.biPlanes = 1;
  info.header.biCompression = BI_RGB;
  if (color) {
    info.header.biHeight = heightPx;
    info.header.biBitCount = 32;
    if (!GetDIBits(screen.Get(), color.Get(), 0, static_cast<UINT>(heightPx), colorRows.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
      return {};
    info = TMonoInfo{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = widthPx;
    info.header.biPlanes = 1;
    info.header.biHeight = heightPx;
    info.header.biBitCount = 1;
    if (!GetDIBits(screen.Get(), mask.Get(), 0, static_cast<UINT>(heightPx), maskRows.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
      return {};
  } else {
    // A monochrome icon: the mask bitmap holds the AND rows above the XOR rows.
    std::vector<std::uint8_t> both(maskStride * rows * 2);
    info.header.biHeight = heightPx * 2;
    info.header.biBitCount = 1;
    if (!GetDIBits(screen.Get(), mask.Get(), 0, static_cast<UINT>(heightPx * 2), both.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
      return {};
    std::memcpy(maskRows.data(), both.data() + maskStride * rows, maskStride * rows);  // bottom-up: top half last
    for (std::size_t y = 0; y < rows; ++y) {
      for (int x = 0; x < widthPx; ++x) {
        const bool set = (both[y * maskStride + static_cast<std::size_t>(x) / 8] >> (7 - x % 8)) & 1;
        std::memset(colorRows.data() + y * colorStride + static_cast<std::size_t>(x) * 4, set ? 0xFF : 0x00, 3);
      }
    }
  }
  return WriteIconFile(widthPx, heightPx, colorRows, maskRows);
}

SIZE IconSize(HICON icon) {
  ICONINFO ii{};
  if (!icon || !GetIconInfo(icon, &ii)) return {0, 0};
  const TBitmapHandle color(ii.hbmColor);
  const TBitmapHandle mask(ii.hbmMask);
  BITMAP bm{};
  if (color) {
    GetObjectW(color.Get(), sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
  }
  GetObjectW(mask.Get(), sizeof bm, &bm);
  return {bm.bmWidth, bm.bmHeight / 2};
}

}  // namespace

const core::TClassInfo TIcon::kClass{"TIcon", &TGraphic::kClass, {}, {}};

void TIcon::Adopt(HICON icon, std::vector<std::uint8_t> data) {
  const SIZE size = IconSize(icon);
  FHandle.Reset(icon);
  FData = std::move(data);
  FWidth = size.cx;
  FHeight = size.cy;
  Changed();
}

void TIcon::SetHandle(HICON icon) {
  if (icon == FHandle.Get()) return;
  Adopt(icon, {});
}

HICON TIcon::ReleaseHandle() {
  FData.clear();
  FWidth = FHeight = 0;
  return FHandle.Release();
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect) {
  HDC dc = canvas.Handle();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (!dc || !FHandle || w <= 0 || h <= 0) return;
  DrawIconEx(dc, rect.left, rect.top, FHandle.Get(), w, h, 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(core::TStream& stream) {
  std::vector<std::uint8_t> bytes = ReadGraphicBytes(stream, kMaxIconFileBytes);
  if (bytes.empty()) return Adopt(nullptr, {});
  const TIconDirectory dir = ReadIconDirectory(bytes);
  if (!dir.Ok) throw EInvalidGraphic("Icon image is not valid: " + dir.Reason);
  const TIconEntry& entry = dir.Entries[static_cast<std::size_t>(ChooseIconEntry(dir.Entries, kDefaultSizePx))];
  std::vector<BYTE> image(bytes.begin() + entry.OffsetBytes, bytes.begin() + entry.OffsetBytes + entry.SizeBytes);
  HICON icon = CreateIconFromResourceEx(image.data(), entry.SizeBytes, TRUE, kIconResourceVersion, entry.WidthPx,
                                        entry.HeightPx, LR_DEFAULTCOLOR);
  if (!icon) {
    const DWORD error = GetLastError();
    throw EInvalidGraphic("Icon image is not valid: the system cannot make an icon of it (error " +
                          std::to_string(error) + ")");
  }
  Adopt(icon, std::move(bytes));
}

void TIcon::SaveToStream(core::TStream& stream) {
  const std::vector<std::uint8_t> bytes = FData.empty() ? IconFileOf(FHandle.Get(), FWidth, FHeight) : FData;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TIcon::LoadResource(HINSTANCE instance, LPCWSTR name, const std::string& what, int sizePx) {
  HANDLE image = LoadImageW(instance, name, IMAGE_ICON, sizePx, sizePx, LR_DEFAULTCOLOR);
  if (!image) {
    const DWORD error = GetLastError();
    throw EInvalidGraphic("Cannot load icon resource " + what + " (error " + std::to_string(error) + ")");
  }
  Adopt(static_cast<HICON>(image), {});
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::string& name, int sizePx) {
  const std::wstring wide = Widen(name);
  LoadResource(instance, wide.c_str(), name, sizePx);
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id, int sizePx) {
  LoadResource(instance, MAKEINTRESOURCEW(id), std::to_string(id), sizePx);
}

void TIcon::Assign(const core::TPersistent& source) {
  const auto* other = dynamic_cast<const TIcon*>(&source);
  if (other == nullptr) return TGraphic::Assign(source);
  if (other == this) return;
  if (!other->FHandle) return Adopt(nullptr, {});
  HICON copy = CopyIcon(other->FHandle.Get());
  if (!copy) throw EInvalidGraphic("Cannot copy the icon: out of resources");
  Adopt(copy, other->FData);
}

}  // namespace bw::win
