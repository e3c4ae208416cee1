#include "framework/core/JpegDecode.h"

#include <csetjmp>
#include <memory>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

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
  std::uint8_t* Scanline = nullptr;
  bool Created = false;
  bool TooLarge = false;
  bool CheckOnly = false;  // decode at 1/8 scale and keep no pixels
};

// Contains the only code a decoder error may jump out of: no objects with destructors.
void DecodeInto(TJpegJob& job, const std::uint8_t* data, std::size_t lengthBytes) {
  jpeg_create_decompress(&job.Info);
  job.Created = true;
  jpeg_mem_src(&job.Info, data, static_cast<unsigned long>(lengthBytes));
  jpeg_read_header(&job.Info, TRUE);
  const bool cmyk = job.Info.jpeg_color_space == JCS_CMYK || job.Info.jpeg_color_space == JCS_YCCK;
  job.Info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_calc_output_dimensions(&job.Info);
  const std::uint64_t pixels = std::uint64_t{job.Info.output_width} * job.Info.output_height;
  if (pixels == 0 || pixels > kMaxJpegPixels || job.Info.output_width > 65535 || job.Info.output_height > 65535) {
    job.TooLarge = true;
    return;
  }
  if (job.CheckOnly) {
    // Every marker and all entropy-coded data are still read, so errors are those of the
    // full decode; the inverse transform and colour conversion shrink 64-fold.
    job.Info.scale_num = 1;
    job.Info.scale_denom = 8;
    jpeg_start_decompress(&job.Info);
    JSAMPARRAY rows = (*job.Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&job.Info), JPOOL_IMAGE,
                                                    job.Info.output_width * job.Info.output_components, 1);
    while (job.Info.output_scanline < job.Info.output_height) jpeg_read_scanlines(&job.Info, rows, 1);
    jpeg_finish_decompress(&job.Info);
    return;
  }
  *job.Out = TDib(static_cast<std::int32_t>(job.Info.output_width),
                  static_cast<std::int32_t>(job.Info.output_height), 24);
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

namespace {

TJpegResult RunJob(std::span<const std::uint8_t> bytes, TDib& dib, bool checkOnly) {
  dib = TDib();
  if (bytes.empty()) return {TJpegStatus::DecodeFailed, "empty file"};
  // On the heap: what the decoder changes must be intact after a long jump.
  const auto job = std::make_unique<TJpegJob>();
  job->CheckOnly = checkOnly;
  job->Info.err = jpeg_std_error(&job->Errors.Base);
  job->Errors.Base.error_exit = OnJpegError;
  job->Errors.Base.emit_message = OnJpegMessage;
  job->Errors.Message[0] = '\0';
  if (setjmp(job->Errors.Jump) != 0) {
    if (job->Created) jpeg_destroy_decompress(&job->Info);
    return {TJpegStatus::DecodeFailed, job->Errors.Message};
  }
  DecodeInto(*job, bytes.data(), bytes.size());
  jpeg_destroy_decompress(&job->Info);
  job->Created = false;
  if (job->TooLarge) {
    return {TJpegStatus::TooLarge, "picture of " + std::to_string(job->Info.output_width) + " x " +
                                       std::to_string(job->Info.output_height) + " pixels"};
  }
  dib = std::move(job->Decoded);
  return {};
}

TJpegResult RunFileJob(const std::string& pathUtf8, TDib& dib, bool checkOnly) {
  dib = TDib();
  std::vector<std::uint8_t> bytes;
  std::string reason;
  switch (ReadImageFile(pathUtf8, kMaxJpegFileBytes, bytes, reason)) {
    case TFileReadStatus::Ok: return RunJob(bytes, dib, checkOnly);
    case TFileReadStatus::OpenFailed: return {TJpegStatus::OpenFailed, reason};
    case TFileReadStatus::TooLarge: return {TJpegStatus::TooLarge, reason};
    case TFileReadStatus::ReadFailed: return {TJpegStatus::OpenFailed, reason};
  }
  return {TJpegStatus::OpenFailed, reason};
}

}  // namespace

TJpegResult DecodeJpeg(std::span<const std::uint8_t> bytes, TDib& dib) { return RunJob(bytes, dib, false); }

TJpegResult CheckJpeg(std::span<const std::uint8_t> bytes) {
  TDib unused;
  return RunJob(bytes, unused, true);
}

TJpegResult DecodeJpegFile(const std::string& pathUtf8, TDib& dib) { return RunFileJob(pathUtf8, dib, false); }

TJpegResult CheckJpegFile(const std::string& pathUtf8) {
  TDib unused;
  return RunFileJob(pathUtf8, unused, true);
}

}  // namespace bw::core
