#include "extract/ZipContainer.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace bw::extract {
namespace {

constexpr std::size_t kReadChunkBytes = std::size_t{64} << 10;
constexpr std::size_t kMaxExtensionChars = 10;

constexpr std::array<const char*, 10> kPictureExtensions = {"jpg", "jpeg", "png", "gif", "bmp",
                                                            "tif", "tiff", "emf", "wmf", "svg"};
constexpr std::array<const char*, 3> kMediaFolders = {"ppt/media/", "pictures/", "media/"};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// libzip reads the archive through this: random access over the byte source.
struct TSourceCursor {
  TByteSource* Source;
  std::uint64_t Position = 0;
  zip_error_t Error;
};

zip_int64_t SourceCallback(void* userdata, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  TSourceCursor& cursor = *static_cast<TSourceCursor*>(userdata);
  const std::uint64_t size = cursor.Source->SizeBytes();
  switch (command) {
    case ZIP_SOURCE_OPEN: cursor.Position = 0; return 0;
    case ZIP_SOURCE_CLOSE: return 0;
    case ZIP_SOURCE_FREE: return 0;
    case ZIP_SOURCE_READ: {
      if (cursor.Position >= size) return 0;
      const std::uint64_t part = std::min<std::uint64_t>(length, size - cursor.Position);
      if (!cursor.Source->ReadAt(cursor.Position, static_cast<std::uint8_t*>(data), static_cast<std::size_t>(part))) {
        zip_error_set(&cursor.Error, ZIP_ER_READ, 0);
        return -1;
      }
      cursor.Position += part;
      return static_cast<zip_int64_t>(part);
    }
    case ZIP_SOURCE_SEEK: {
      const zip_int64_t to =
          zip_source_seek_compute_offset(cursor.Position, size, data, length, &cursor.Error);
      if (to < 0) return -1;
      cursor.Position = static_cast<std::uint64_t>(to);
      return 0;
    }
    case ZIP_SOURCE_TELL: return static_cast<zip_int64_t>(cursor.Position);
    case ZIP_SOURCE_STAT: {
      auto* stat = static_cast<zip_stat_t*>(data);
      zip_stat_init(stat);
      stat->size = size;
      stat->valid |= ZIP_STAT_SIZE;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&cursor.Error, data, length);
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                            ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                            ZIP_SOURCE_SUPPORTS, -1);
    default: zip_error_set(&cursor.Error, ZIP_ER_OPNOTSUPP, 0); return -1;
  }
}

std::string ErrorText(zip_error_t& error) {
  const char* text = zip_error_strerror(&error);
  return text != nullptr ? Lower(text) : "unknown error";
}

}  // namespace

struct TZipContainer::TState {
  TSourceCursor Cursor{};
  zip_t* Archive = nullptr;
  ~TState() {
    if (Archive != nullptr) zip_discard(Archive);
    zip_error_fini(&Cursor.Error);
  }
};

TZipContainer::TZipContainer(TByteSource& source) : FSource(source) {}
TZipContainer::~TZipContainer() = default;

TZipResult TZipContainer::Open() {
  FState = std::make_unique<TState>();
  FEntries.clear();
  FState->Cursor.Source = &FSource;
  zip_error_init(&FState->Cursor.Error);
  // A presentation's archive starts with its first entry; libzip alone would also take an
  // empty file, or any file with an archive at its end, for one.
  if (!LooksLikeZip(FSource)) return {TZipStatus::NotZip, "no zip signature at the start"};
  const std::uint64_t size = FSource.SizeBytes();
  FBudgetBytes = size > (UINT64_MAX - kZipBombFloorBytes) / kZipMaxInflateRatio
                     ? UINT64_MAX
                     : kZipBombFloorBytes + size * kZipMaxInflateRatio;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* zipSource = zip_source_function_create(&SourceCallback, &FState->Cursor, &error);
  if (zipSource == nullptr) {
    zip_error_fini(&error);
    return {TZipStatus::ReadFailed, "no memory for the archive"};
  }
  // ZIP_CHECKCONS compares every local header with its directory entry.
  FState->Archive = zip_open_from_source(zipSource, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (FState->Archive == nullptr) {
    zip_source_free(zipSource);
    const int code = zip_error_code_zip(&error);
    TZipResult result{code == ZIP_ER_NOZIP ? TZipStatus::NotZip
                      : code == ZIP_ER_READ || code == ZIP_ER_SEEK ? TZipStatus::ReadFailed
                                                                    : TZipStatus::Corrupt,
                      ErrorText(error)};
    zip_error_fini(&error);
    return result;
  }
  zip_error_fini(&error);
  const zip_int64_t count = zip_get_num_entries(FState->Archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(FState->Archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &stat) != 0) {
      return {TZipStatus::Corrupt, "entry " + std::to_string(i) + ": " + ErrorText(*zip_get_error(FState->Archive))};
    }
    TZipEntry entry;
    entry.Index = static_cast<std::uint64_t>(i);
    entry.Name = (stat.valid & ZIP_STAT_NAME) && stat.name != nullptr ? stat.name : "";
    entry.SizeBytes = stat.size;
    entry.CompressedBytes = stat.comp_size;
    entry.Method = static_cast<std::uint16_t>(stat.comp_method);
    entry.Encrypted = (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
    FEntries.push_back(std::move(entry));
  }
  return {};
}

TZipResult TZipContainer::Admit(const TZipEntry& entry) const {
  if (entry.Encrypted) return {TZipStatus::Refused, "encrypted"};
  if (entry.Method != ZIP_CM_STORE && entry.Method != ZIP_CM_DEFLATE) {
    return {TZipStatus::Refused, "compression method " + std::to_string(entry.Method) + " is not supported"};
  }
  if (entry.Method == ZIP_CM_STORE && entry.SizeBytes != entry.CompressedBytes) {
    return {TZipStatus::Corrupt, "a stored entry states two sizes"};
  }
  if (entry.SizeBytes > FBudgetBytes) {
    return {TZipStatus::Refused, "states " + std::to_string(entry.SizeBytes) +
                                     " bytes, past what this archive may inflate to (" +
                                     std::to_string(FBudgetBytes) + "): a bomb"};
  }
  return {};
}

TZipResult TZipContainer::Read(const TZipEntry& entry, const TZipSink& sink) {
  if (!FState || FState->Archive == nullptr) return {TZipStatus::ReadFailed, "the archive is not open"};
  if (const TZipResult admitted = Admit(entry); !admitted.Ok()) return admitted;
  zip_file_t* file = zip_fopen_index(FState->Archive, entry.Index, 0);
  if (file == nullptr) {
    zip_error_t* error = zip_get_error(FState->Archive);
    const int code = zip_error_code_zip(error);
    return {code == ZIP_ER_NOPASSWD || code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_COMPNOTSUPP ? TZipStatus::Refused
                                                                                                   : TZipStatus::Corrupt,
            ErrorText(*error)};
  }
  std::vector<std::uint8_t> chunk(kReadChunkBytes);
  std::uint64_t doneBytes = 0;
  TZipResult result;
  for (;;) {
    // One byte past the stated size is enough to know the size lies; never read further.
    const std::uint64_t want = std::min<std::uint64_t>(chunk.size(), entry.SizeBytes - doneBytes + 1);
    const zip_int64_t got = zip_fread(file, chunk.data(), want);
    if (got < 0) {
      result = {TZipStatus::Corrupt, ErrorText(*zip_file_get_error(file))};
      break;
    }
    if (got == 0) {
      if (doneBytes < entry.SizeBytes) result = {TZipStatus::Corrupt, "the data ends before the stated size"};
      break;
    }
    if (static_cast<std::uint64_t>(got) > entry.SizeBytes - doneBytes) {
      result = {TZipStatus::Corrupt, "the data runs past the stated size"};
      break;
    }
    doneBytes += static_cast<std::uint64_t>(got);
    if (!sink(chunk.data(), static_cast<std::size_t>(got))) {
      result = {TZipStatus::Stopped, "stopped"};
      break;
    }
  }
  zip_fclose(file);
  FBudgetBytes -= std::min(FBudgetBytes, doneBytes);
  return result;
}

TEntryVerdict ClassifyEntry(const std::string& name, TMediaEntry& media) {
  std::string path = name;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty() || path.front() == '/' || (path.size() >= 2 && path[1] == ':')) return TEntryVerdict::Unsafe;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    if (path.compare(start, end - start, "..") == 0) return TEntryVerdict::Unsafe;
    start = end + 1;
  }
  const std::string lower = Lower(path);
  const bool inFolder = std::any_of(kMediaFolders.begin(), kMediaFolders.end(), [&](const char* folder) {
    const std::string prefix = folder;
    return lower.size() > prefix.size() && lower.compare(0, prefix.size(), prefix) == 0;
  });
  if (!inFolder || lower.back() == '/') return TEntryVerdict::NotMedia;
  const std::string leaf = path.substr(path.rfind('/') + 1);
  const std::size_t dot = leaf.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : leaf.substr(dot + 1);
  const bool usable = !extension.empty() && extension.size() <= kMaxExtensionChars &&
                      std::all_of(extension.begin(), extension.end(),
                                  [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
  if (!usable) extension = "bin";
  const std::string lowerExtension = Lower(extension);
  const bool picture = std::any_of(kPictureExtensions.begin(), kPictureExtensions.end(),
                                   [&](const char* known) { return lowerExtension == known; });
  media.Class = picture ? TMediaClass::Picture : TMediaClass::OtherMedia;
  media.Extension = "." + extension;
  return TEntryVerdict::Media;
}

bool LooksLikeZip(TByteSource& source) {
  std::uint8_t head[4] = {};
  if (!source.ReadAt(0, head, sizeof head)) return false;
  return head[0] == 'P' && head[1] == 'K' && ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6));
}

}  // namespace bw::extract
