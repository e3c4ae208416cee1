#include "framework/core/JpegCheck.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "framework/core/JpegHeader.h"
// After jpeglib.h, which the line above brings.
#include <jerror.h>

namespace bw::core {
namespace {

constexpr unsigned kCheckScaleDenominator = 8;

struct TCheckJob {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
  bool Created = false;
  bool SingleScanOutput = false;  // in the output of a single-scan picture: data end ends the check
  bool DataEnded = false;
  bool TooLarge = false;
  bool OutOfMemory = false;
};

[[noreturn]] void OnCheckError(j_common_ptr info) {
  auto* job = reinterpret_cast<TCheckJob*>(info->client_data);
  job->OutOfMemory = info->err->msg_code == JERR_OUT_OF_MEMORY;
  (*info->err->format_message)(info, job->Message);
  std::longjmp(job->Jump, 1);
}

void OnCheckMessage(j_common_ptr info, int level) {
  auto* job = reinterpret_cast<TCheckJob*>(info->client_data);
  // Inside a single scan's data, the decoder only fills in grey from here and then reads
  // the end marker it made up itself. Past the last row it may be inside a marker segment
  // that the made-up bytes can still make fail: there the check goes on.
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF && job->SingleScanOutput &&
      decompress->output_scanline < decompress->output_height) {
    job->DataEnded = true;
    std::longjmp(job->Jump, 1);
  }
}

// The only code a decoder error may jump out of: no objects with destructors. The same
// header steps and limits as DecodeJpeg, then the scaled output.
void CheckInto(TCheckJob& job, const std::uint8_t* data, std::size_t lengthBytes) {
  jpeg_create_decompress(&job.Info);
  job.Created = true;
  if (!ReadJpegHeaderWithinLimits(job.Info, data, lengthBytes)) {
    job.TooLarge = true;
    return;
  }
  job.Info.scale_num = 1;
  job.Info.scale_denom = kCheckScaleDenominator;
  jpeg_start_decompress(&job.Info);
  job.SingleScanOutput = !jpeg_has_multiple_scans(&job.Info);
  const std::size_t rowBytes = std::size_t{job.Info.output_width} * static_cast<std::size_t>(job.Info.output_components);
  JSAMPROW row = static_cast<JSAMPROW>(
      (*job.Info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&job.Info), JPOOL_IMAGE, rowBytes));
  while (job.Info.output_scanline < job.Info.output_height) jpeg_read_scanlines(&job.Info, &row, 1);
  jpeg_finish_decompress(&job.Info);
}

}  // namespace

TJpegCheck CheckJpeg(std::span<const std::uint8_t> bytes) {
  TJpegCheck result;
  if (bytes.empty()) return {TJpegCheckStatus::Fails, 0, 0, "empty file"};
  const std::unique_ptr<TCheckJob> job(new (std::nothrow) TCheckJob());
  if (!job) return {TJpegCheckStatus::OutOfMemory, 0, 0, "not enough memory"};
  job->Info.err = jpeg_std_error(&job->Errors);
  job->Errors.error_exit = OnCheckError;
  job->Errors.emit_message = OnCheckMessage;
  job->Info.client_data = job.get();
  job->Message[0] = '\0';
  if (setjmp(job->Jump) == 0) {
    CheckInto(*job, bytes.data(), bytes.size());
    result.Status = job->TooLarge ? TJpegCheckStatus::TooLarge : TJpegCheckStatus::Decodes;
  } else if (job->DataEnded) {
    result.Status = TJpegCheckStatus::Decodes;
  } else {
    result.Status = job->OutOfMemory ? TJpegCheckStatus::OutOfMemory : TJpegCheckStatus::Fails;
    result.Reason = job->Message;
  }
  result.WidthPx = job->Info.image_width;  // zero until the header was read
  result.HeightPx = job->Info.image_height;
  if (job->Created) jpeg_destroy_decompress(&job->Info);
  return result;
}

TJpegCheck CheckJpegFile(const std::string& pathUtf8) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  try {
    switch (ReadImageFile(pathUtf8, kMaxJpegFileBytes, bytes, reason)) {
      case TFileReadStatus::Ok: break;
      case TFileReadStatus::TooLarge: return {TJpegCheckStatus::TooLarge, 0, 0, reason};
      case TFileReadStatus::OpenFailed:
      case TFileReadStatus::ReadFailed: return {TJpegCheckStatus::OpenFailed, 0, 0, reason};
    }
  } catch (const std::bad_alloc&) {
    return {TJpegCheckStatus::OutOfMemory, 0, 0, "not enough memory to read the file"};
  }
  return CheckJpeg(bytes);
}

}  // namespace bw::core
