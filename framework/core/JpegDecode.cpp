#include "framework/core/JpegDecode.h"

#include <csetjmp>
#include <memory>
#include <new>
#include <cstdio>
#include <vector>

#include "framework/core/JpegHeader.h"

namespace bw::core {
namespace {

struct TJpegErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->Message);
  std::longjmp(manager->Jump, 1);
}

void OnJpegMessage(j_common_ptr /*info*/, int /*level*/) {}

// Everything that must survive a long jump lives here, outside the decoding frame.
struct TJpegJob {
  jpeg_decompress_struct Info;
  TJpegErrorManager Errors;
  TDib Decoded;
  TDib* Out = &Decoded;
  TJpegFit Fit;
  std::uint8_t* Scanline = nullptr;
  bool Created = false;
  bool TooLarge = false;
  bool OutOfMemory = false;
};

// Contains the only code a decoder error may jump out of: no objects with destructors.
void DecodeInto(TJpegJob& job, const std::uint8_t* data, std::size_t lengthBytes) {
  jpeg_create_decompress(&job.Info);
  job.Created = true;
  if (!ReadJpegHeaderWithinLimits(job.Info, data, lengthBytes)) {
    job.TooLarge = true;
    return;
  }
  const std::uint32_t denominator = JpegFitDenominator(job.Info.image_width, job.Info.image_height, job.Fit);
  if (denominator != 1) {
    job.Info.scale_num = 1;
    job.Info.scale_denom = denominator;
    jpeg_calc_output_dimensions(&job.Info);
  }
  const bool cmyk = job.Info.out_color_space == JCS_CMYK;
  try {
    *job.Out = TDib(static_cast<std::int32_t>(job.Info.output_width),
                    static_cast<std::int32_t>(job.Info.output_height), 24);
  } catch (const std::bad_alloc&) {
    // Must not unwind through the decoder's frames; the caller destroys it.
    job.OutOfMemory = true;
    return;
  }
  jpeg_start_decompress(&job.Info);
  if (job.Info.output_width != static_cast<JDIMENSION>(job.Out->WidthPx()) ||
      job.Info.output_height != static_cast<JDIMENSION>(job.Out->HeightPx())) {
    job.TooLarge = true;
    return;
  }
  const std::size_t components = static_cast<std::size_t>(job.Info.output_components);
  TDib& dib = *job.Out;
  job.Scanline = static_cast<std::uint8_t*>(
      (*job.Info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&job.Info), JPOOL_IMAGE,
                                   job.Info.output_width * components));
  while (job.Info.output_scanline < job.Info.output_height) {
    const std::int32_t y = static_cast<std::int32_t>(job.Info.output_scanline);
    JSAMPROW row = job.Scanline;
    jpeg_read_scanlines(&job.Info, &row, 1);
    std::uint8_t* target = dib.RowFromTop(y);
    for (std::size_t x = 0; x < job.Info.output_width; ++x) {
      const std::uint8_t* source = job.Scanline + x * components;
      if (cmyk) {
        // Adobe writes inverted CMYK; k scales the three inks.
        const unsigned k = source[3];
        target[3 * x] = static_cast<std::uint8_t>(source[2] * k / 255);
        target[3 * x + 1] = static_cast<std::uint8_t>(source[1] * k / 255);
        target[3 * x + 2] = static_cast<std::uint8_t>(source[0] * k / 255);
      } else {
        target[3 * x] = source[2];
        target[3 * x + 1] = source[1];
        target[3 * x + 2] = source[0];
      }
    }
  }
  jpeg_finish_decompress(&job.Info);
}

}  // namespace

bool ReadJpegHeaderWithinLimits(jpeg_decompress_struct& info, const std::uint8_t* data, std::size_t lengthBytes) {
  jpeg_mem_src(&info, data, static_cast<unsigned long>(lengthBytes));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_calc_output_dimensions(&info);
  const std::uint64_t pixels = std::uint64_t{info.output_width} * info.output_height;
  return pixels != 0 && pixels <= kMaxJpegPixels && info.output_width <= 65535 && info.output_height <= 65535;
}

std::uint32_t JpegFitDenominator(std::uint32_t widthPx, std::uint32_t heightPx, TJpegFit fit) {
  if (fit.WidthPx == 0 || fit.HeightPx == 0 || widthPx == 0 || heightPx == 0) return 1;
  // Fitted with kept proportions the picture shrinks by s = min(box w / w, box h / h); 1/d
  // is fine while 1/d >= s (still shrunk, never stretched up from fewer pixels), that is
  // while either side of the box times d fits its side of the picture.
  std::uint32_t best = 1;
  for (const std::uint32_t d : {2u, 4u, 8u}) {
    if (std::uint64_t{fit.WidthPx} * d <= widthPx || std::uint64_t{fit.HeightPx} * d <= heightPx) best = d;
  }
  return best;
}

TJpegResult DecodeJpeg(std::span<const std::uint8_t> bytes, TDib& dib, TJpegFit fit) {
  dib = TDib();
  if (bytes.empty()) return {TJpegStatus::DecodeFailed, "empty file"};
  // On the heap: what the decoder changes must be intact after a long jump.
  const auto job = std::make_unique<TJpegJob>();
  job->Info.err = jpeg_std_error(&job->Errors.Base);
  job->Errors.Base.error_exit = OnJpegError;
  job->Errors.Base.emit_message = OnJpegMessage;
  job->Errors.Message[0] = '\0';
  job->Fit = fit;
  if (setjmp(job->Errors.Jump) != 0) {
    if (job->Created) jpeg_destroy_decompress(&job->Info);
    return {TJpegStatus::DecodeFailed, job->Errors.Message};
  }
  DecodeInto(*job, bytes.data(), bytes.size());
  jpeg_destroy_decompress(&job->Info);
  job->Created = false;
  if (job->OutOfMemory) return {TJpegStatus::OutOfMemory, "not enough memory for the picture"};
  if (job->TooLarge) {
    return {TJpegStatus::TooLarge, "picture of " + std::to_string(job->Info.output_width) + " x " +
                                       std::to_string(job->Info.output_height) + " pixels"};
  }
  dib = std::move(job->Decoded);
  return {};
}

TJpegResult DecodeJpegFile(const std::string& pathUtf8, TDib& dib, TJpegFit fit) {
  dib = TDib();
  std::vector<std::uint8_t> bytes;
  std::string reason;
  switch (ReadImageFile(pathUtf8, kMaxJpegFileBytes, bytes, reason)) {
    case TFileReadStatus::Ok: return DecodeJpeg(bytes, dib, fit);
    case TFileReadStatus::OpenFailed: return {TJpegStatus::OpenFailed, reason};
    case TFileReadStatus::TooLarge: return {TJpegStatus::TooLarge, reason};
    case TFileReadStatus::ReadFailed: return {TJpegStatus::OpenFailed, reason};
  }
  return {TJpegStatus::OpenFailed, reason};
}

}  // namespace bw::core
