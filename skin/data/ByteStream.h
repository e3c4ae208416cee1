#pragma once
// The skin data layer reads and writes through the framework's streams and raises the
// framework's stream errors, so the application's error display shows their text. This
// header keeps the names the layer uses for them, and its whole-file helpers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"

namespace bw::skin {

using TByteStream = core::TStream;
using TMemoryStream = core::TMemoryStream;
using core::EFCreateError;
using core::EFOpenError;
using core::EReadError;
using core::EStreamError;
using core::EWriteError;

// Whole-file helpers that report instead of throwing; the error text names the file.
bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error);
// At most maxBytes: the rest of the file is not read, and fileTooLarge (when given) tells
// whether there was more.
bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error,
                   std::int64_t maxBytes, bool* fileTooLarge = nullptr);
bool WriteWholeFile(const std::string& fileName, const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace bw::skin
