#pragma once
// The user-visible texts of a run, by language: a language whose first letter is F is
// French, any other (or none) English. Texts are UTF-8.
#include <cstdint>
#include <string>

namespace bw::extract {

bool IsFrench(const std::string& language);

// The question before writing into an existing folder; the path stands between the parts.
std::string FolderQuestionText(const std::string& language, const std::string& folder);

// The same in every language.
std::string FolderCreationErrorText();

// A file of the run that could not be created or written completely.
std::string WriteErrorText(const std::string& language, const std::string& path);

// The source that could not be read to its end.
std::string ReadErrorText(const std::string& language, const std::string& path);

// The end-of-run report: counts and folder when something was found, else the source name.
std::string SummaryText(const std::string& language, std::int32_t pictureCount, std::int32_t soundCount,
                        const std::string& outputFolder, const std::string& sourceName,
                        char pathSeparator);

}  // namespace bw::extract
