#include "extract/Texts.h"

#include <gtest/gtest.h>

namespace bw::extract {
namespace {

TEST(Texts, OnlyTheFirstLetterFChoosesFrench) {
  EXPECT_TRUE(IsFrench("FR"));
  EXPECT_TRUE(IsFrench("F"));
  EXPECT_TRUE(IsFrench("Fran\xC3\xA7" "ais"));
  EXPECT_FALSE(IsFrench("fr"));
  EXPECT_FALSE(IsFrench("??"));
  EXPECT_FALSE(IsFrench("English"));
  EXPECT_FALSE(IsFrench(""));
}

TEST(Texts, FolderQuestionInBothLanguages) {
  EXPECT_EQ(FolderQuestionText("EN", "D:\\Talks\\intro"),
            "The directory\nD:\\Talks\\intro\nalready exists.\nIts current files will possibly be overwritten."
            "\n\nCarry-on anyway ?");
  // The French text follows the path without a line break, and keeps its spelling.
  EXPECT_EQ(FolderQuestionText("FR", "D:\\x"),
            "Le r\xC3\xA9pertoire\nD:\\xexiste d\xC3\xA9ja.\nLes fichiers qu'il contient risquent d'\xC3\xAAtre "
            "\xC3\xA9" "cras\xC3\xA9s.\n\nContinuer malgr\xC3\xA9 tout ?");
  EXPECT_EQ(FolderCreationErrorText(), "Impossible de cr\xC3\xA9" "er le r\xC3\xA9pertoire");
}

TEST(Texts, SummaryListsCountsAndFolderOrNamesTheSource) {
  EXPECT_EQ(SummaryText("EN", 2, 1, "D:\\Talks\\intro", "intro.ppt", '\\'),
            "Number of pictures found = 2\nNumber of wave files found = 1\n\nThey have been saved in directory\n"
            "D:\\Talks\\intro\\");
  EXPECT_EQ(SummaryText("FR", 0, 3, "/t/a", "a.pps", '/'),
            "Nombre de photos trouv\xC3\xA9" "es = 0\nNombre de fichiers wave trouv\xC3\xA9s = 3\n\nCes fichiers "
            "ont \xC3\xA9t\xC3\xA9 sauvegard\xC3\xA9s dans le r\xC3\xA9pertoire\n/t/a/");
  EXPECT_EQ(SummaryText("EN", 0, 0, "/t/a", "a.pps", '/'),
            "Brindlewick could not extract any picture or sound from this file\na.pps");
  EXPECT_EQ(SummaryText("F", 0, 0, "", "", '/'), "Brindlewick n'a pu extraire aucune image ou son de ce fichier\n");
}

TEST(Texts, FailureTextsNameTheFile) {
  EXPECT_EQ(WriteErrorText("EN", "/t/a/a_001.jpg"), "Could not write the file\n/t/a/a_001.jpg");
  EXPECT_EQ(WriteErrorText("FR", "x"), "Impossible d'\xC3\xA9" "crire le fichier\nx");
  EXPECT_EQ(ReadErrorText("EN", "s.ppt"), "Could not read the file\ns.ppt");
  EXPECT_EQ(ReadErrorText("FR", "s.ppt"), "Impossible de lire le fichier\ns.ppt");
}

}  // namespace
}  // namespace bw::extract
