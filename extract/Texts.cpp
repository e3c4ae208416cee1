#include "extract/Texts.h"

namespace bw::extract {

bool IsFrench(const std::string& language) { return !language.empty() && language[0] == 'F'; }

std::string FolderQuestionText(const std::string& language, const std::string& folder) {
  if (IsFrench(language)) {
    return "Le r\xC3\xA9pertoire\n" + folder +
           "existe d\xC3\xA9ja.\nLes fichiers qu'il contient risquent d'\xC3\xAAtre \xC3\xA9" "cras\xC3\xA9s."
           "\n\nContinuer malgr\xC3\xA9 tout ?";
  }
  return "The directory\n" + folder +
         "\nalready exists.\nIts current files will possibly be overwritten.\n\nCarry-on anyway ?";
}

std::string FolderCreationErrorText() { return "Impossible de cr\xC3\xA9" "er le r\xC3\xA9pertoire"; }

std::string WriteErrorText(const std::string& language, const std::string& path) {
  if (IsFrench(language)) return "Impossible d'\xC3\xA9" "crire le fichier\n" + path;
  return "Could not write the file\n" + path;
}

std::string ReadErrorText(const std::string& language, const std::string& path) {
  if (IsFrench(language)) return "Impossible de lire le fichier\n" + path;
  return "Could not read the file\n" + path;
}

std::string SummaryText(const std::string& language, std::int32_t pictureCount, std::int32_t soundCount,
                        const std::string& outputFolder, const std::string& sourceName,
                        char pathSeparator) {
  const bool french = IsFrench(language);
  if (pictureCount <= 0 && soundCount <= 0) {
    return (french ? "Brindlewick n'a pu extraire aucune image ou son de ce fichier\n"
                   : "Brindlewick could not extract any picture or sound from this file\n") +
           sourceName;
  }
  if (french) {
    return "Nombre de photos trouv\xC3\xA9" "es = " + std::to_string(pictureCount) +
           "\nNombre de fichiers wave trouv\xC3\xA9s = " + std::to_string(soundCount) +
           "\n\nCes fichiers ont \xC3\xA9t\xC3\xA9 sauvegard\xC3\xA9s dans le r\xC3\xA9pertoire\n" + outputFolder +
           pathSeparator;
  }
  return "Number of pictures found = " + std::to_string(pictureCount) +
         "\nNumber of wave files found = " + std::to_string(soundCount) +
         "\n\nThey have been saved in directory\n" + outputFolder + pathSeparator;
}

}  // namespace bw::extract
