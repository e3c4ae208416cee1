#pragma once
// Output folder and file naming of a run: pure text rules, no file system.
// Paths are UTF-8. Windows rules use '\' (and know drive letters); POSIX rules use '/'.
#include <cstdint>
#include <string>

namespace bw::extract {

enum class TPathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr TPathStyle kNativePathStyle = TPathStyle::Windows;
#else
inline constexpr TPathStyle kNativePathStyle = TPathStyle::Posix;
#endif

char PathSeparator(TPathStyle style = kNativePathStyle);

// Directory part of a path without a trailing separator, except for a root, which keeps
// it: "C:\x.ppt" -> "C:\", "D:\Talks\intro.ppt" -> "D:\Talks", "/x.ppt" -> "/".
std::string DirectoryOf(const std::string& path, TPathStyle style = kNativePathStyle);

// The name behind the last separator (or drive colon on Windows).
std::string FileNameOf(const std::string& path, TPathStyle style = kNativePathStyle);

// The source name without its last four characters (code points of its UTF-8), whatever
// they are.
std::string BaseNameOf(const std::string& sourceName);

// Source directory + separator + base name; a root directory gives a doubled separator
// ("C:\\x"), which the file system reads as one. An empty directory (a relative source
// name) gives the base name alone, or "." when that is empty.
std::string OutputFolderFor(const std::string& sourceDirectory, const std::string& sourceName,
                            TPathStyle style = kNativePathStyle);

// count + 1 padded to at least three digits: 0 -> "001", 9 -> "010", 999 -> "1000".
std::string PaddedNumber(std::int32_t count);

// OutputFolder + separator + base + '_' + number + extension (extension with its dot).
std::string MakeOutputName(const std::string& outputFolder, const std::string& baseName, std::int32_t count,
                           const std::string& extension, TPathStyle style = kNativePathStyle);

}  // namespace bw::extract
