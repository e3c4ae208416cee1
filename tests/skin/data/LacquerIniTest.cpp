#include "skin/data/LacquerIni.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <random>
#include <string>

namespace bw::skin {
namespace {

TQuickIni Parse(const std::string& text) {
  TMemoryStream stream(std::vector<std::uint8_t>(text.begin(), text.end()));
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  return ini;
}

// Every section entry points at its header line, and every header line has one.
void ExpectSectionsConsistent(const TQuickIni& ini) {
  std::size_t headers = 0;
  for (std::size_t i = 0; i < ini.Lines().size(); ++i) {
    const std::string& line = ini.Lines()[i];
    if (!line.empty() && line.front() == '[' && line.back() == ']') ++headers;
  }
  ASSERT_EQ(ini.Sections().size(), headers);
  for (const TSectionEntry& entry : ini.Sections()) {
    ASSERT_LT(static_cast<std::size_t>(entry.lineIndex), ini.Lines().size());
    EXPECT_EQ(ini.Lines()[static_cast<std::size_t>(entry.lineIndex)], entry.text);
  }
}

class TTempFolder {
 public:
  TTempFolder() {
    std::random_device rd;
    FPath = std::filesystem::temp_directory_path() / ("bw-ini-" + std::to_string(rd()));
    std::filesystem::create_directories(FPath);
  }
  ~TTempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  std::string File(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

TEST(QuickIniParsing, KeepsTrimmedMeaningfulLinesOnly) {
  const TQuickIni ini = Parse(
      "; comment line\r\n"
      "\t[Colours] \r\n"
      "  ActiveTextR = 171 ; not a comment\n"
      "\r\n"
      "#tag=1\r"
      "   ;indented comment\n\r"
      "last");
  const TStrings expected = {"[Colours]", "ActiveTextR = 171 ; not a comment", "#tag=1", "last"};
  EXPECT_EQ(ini.Lines(), expected);
  ASSERT_EQ(ini.Sections().size(), 1u);
  EXPECT_EQ(ini.Sections()[0].text, "[Colours]");
  EXPECT_EQ(ini.Sections()[0].lineIndex, 0);
  EXPECT_EQ(ini.ReadString("Colours", "#tag", ""), "1");
}

TEST(QuickIniParsing, TextEndsAtTheFirstNul) {
  const std::string text("[A]\r\nx=1\r\ny=2\0\r\nz=3\r\n", 23);
  const TQuickIni ini = Parse(text);
  EXPECT_EQ(ini.ReadString("A", "y", "none"), "2");
  EXPECT_EQ(ini.ReadString("A", "z", "none"), "none");
}

TEST(QuickIniParsing, ReadsFromTheStreamsCurrentPosition) {
  const std::string text = "[Skip]\r\n[A]\r\nk=v\r\n";
  TMemoryStream stream(std::vector<std::uint8_t>(text.begin(), text.end()));
  stream.SetPosition(8);
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  EXPECT_EQ(ini.GetSectionIndex("Skip"), -1);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
  ini.LoadFromStream(nullptr);  // a missing stream changes nothing
  EXPECT_EQ(ini.Lines().size(), 2u);
}

TEST(QuickIniSections, MatchIgnoringLetterCaseButNotInnerBlanks) {
  const TQuickIni ini = Parse("[Colours]\nA=1\n[ Spaced ]\nB=2\n[\xC9" "cran]\nC=3\n");
  for (const char* name : {"Colours", "colours", "COLOURS"}) EXPECT_EQ(ini.ReadString(name, "A", ""), "1") << name;
  // Windows-1252 letters fold too: E acute.
  EXPECT_EQ(ini.ReadString("\xE9" "CRAN", "C", ""), "3");
  EXPECT_TRUE(TQuickIni::IsSection("[ Spaced ]"));
  EXPECT_EQ(ini.GetSectionIndex("Spaced"), -1);
  EXPECT_EQ(ini.GetSectionIndex(" Spaced "), 2);
  TStrings names;
  ini.ReadSections(names);
  EXPECT_EQ(names, (TStrings{"Colours", "Spaced", "\xC9" "cran"}));
}

TEST(QuickIniSections, TheFirstOfTwoEqualSectionsWins) {
  const TQuickIni ini = Parse("[S]\nfirst=1\n[Other]\n[s]\nfirst=2\nsecond=3\n");
  EXPECT_EQ(ini.ReadString("S", "first", ""), "1");
  EXPECT_EQ(ini.ReadString("S", "second", "default"), "default");
  TStrings names;
  ini.ReadSections(names);
  EXPECT_EQ(names, (TStrings{"S", "Other", "s"}));
}

TEST(QuickIniKeys, MatchAfterLowerCasingPlainLettersOnly) {
  const TQuickIni ini = Parse("[P]\n  ActiveTextR = 171  \n\xC4pfel=1\n");
  for (const char* key : {"ActiveTextR", "activetextr", "ACTIVETEXTR"}) {
    EXPECT_EQ(ini.ReadString("P", key, ""), "171") << key;
  }
  EXPECT_EQ(ini.ReadString("P", "\xC4pfel", ""), "1");
  EXPECT_EQ(ini.ReadString("P", "\xE4pfel", "no"), "no");  // only A..Z fold in key names
}

TEST(QuickIniKeys, ValuesAndDefaults) {
  const TQuickIni ini = Parse("[K]\nKey=a=b\nEmpty=\nBare\nTwice=1\nTwice=2\n[Next]\nLater=x\n");
  EXPECT_EQ(ini.ReadString("K", "Key", ""), "a=b");
  EXPECT_EQ(ini.ReadString("K", "Empty", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("K", "Bare", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("K", "Twice", ""), "1");
  EXPECT_EQ(ini.ReadString("K", "Later", "dflt"), "dflt");  // lookups stop at the next header
  EXPECT_EQ(ini.ReadString("Missing", "Key", "dflt"), "dflt");
  EXPECT_EQ(TQuickIni().ReadString("K", "Key", "dflt"), "dflt");
  EXPECT_EQ(TQuickIni::GetName("  MiXed Name = v"), "mixed name");
  EXPECT_EQ(TQuickIni::GetName("no equals"), "");
  EXPECT_EQ(TQuickIni::GetValue("k = v ", ""), "");
  EXPECT_EQ(TQuickIni::GetValue("k = v ", "k"), "v");
}

TEST(QuickIniNumbers, ConvertLikeTheFrameworkWithHexPrefixes) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"0x1F", 31},           {"0X1f", 31},      {"$10", 16},        {"12abc", -7},
      {"0x", -7},             {"$", -7},         {"-5", -5},         {"+7", 7},
      {"-$10", -16},          {"007", 7},        {"", -7},           {"1 2", -7},
      {"0x80000008", static_cast<std::int32_t>(0x80000008u)},       {"$FFFFFFFF", -1},
      {"$100000000", -7},     {"2147483647", 2147483647},           {"2147483648", -7},
      {"-2147483648", static_cast<std::int32_t>(0x80000000u)},     {"-0x10", -7},
  };
  for (const Case& c : cases) {
    const TQuickIni ini = Parse(std::string("[N]\nv=") + c.text + "\n");
    EXPECT_EQ(ini.ReadInteger("N", "v", -7), c.expected) << "'" << c.text << "'";
  }
  const TQuickIni ini = Parse("[B]\nyes=2\nno=0\njunk=x\n");
  EXPECT_TRUE(ini.ReadBool("B", "yes", false));
  EXPECT_FALSE(ini.ReadBool("B", "no", true));
  EXPECT_TRUE(ini.ReadBool("B", "junk", true));
  EXPECT_FALSE(ini.ReadBool("B", "missing", false));
}

TEST(QuickIniListing, SectionKeysAndValues) {
  const TQuickIni ini = Parse("[L]\nFirst=1\nbare line\nSecond Key = 2\n=nameless\n[M]\nx=y\n");
  TStrings keys = {"stale"};
  ini.ReadSection("l", keys);
  EXPECT_EQ(keys, (TStrings{"first", "second key"}));
  TStrings values = {"stale"};
  ini.ReadSectionValues("L", values);
  EXPECT_EQ(values, (TStrings{"First=1", "bare line", "Second Key = 2", "=nameless"}));
  ini.ReadSectionValues("absent", values);
  EXPECT_TRUE(values.empty());
}

TEST(QuickIniWriting, WriteStringPlacesLinesAndKeepsTheIndex) {
  TQuickIni ini = Parse("[A]\nKeep=1\n[B]\nx=1\n");
  ini.WriteString("a", "NEW", "2");         // inserted before [B]
  ini.WriteString("B", "X", "9");           // replaced, in the caller's letter case
  ini.WriteString("B", "tail", "3");        // the last section runs to the end: appended
  ini.WriteString("C", "Key", "4");         // a new section at the end
  ini.WriteString("D", "", "ignored");      // header only
  ini.WriteString("A", "", "ignored");      // nothing
  const TStrings expected = {"[A]", "Keep=1", "NEW=2", "[B]", "X=9", "tail=3", "[C]", "Key=4", "[D]"};
  EXPECT_EQ(ini.Lines(), expected);
  ExpectSectionsConsistent(ini);
  EXPECT_EQ(ini.ReadString("B", "x", ""), "9");
  EXPECT_EQ(ini.ReadString("C", "key", ""), "4");

  ini.WriteInteger("A", "Num", -12);
  ini.WriteBool("A", "Flag", true);
  EXPECT_EQ(ini.ReadInteger("A", "num", 0), -12);
  EXPECT_EQ(ini.ReadString("A", "flag", ""), "1");
  ExpectSectionsConsistent(ini);
}

TEST(QuickIniWriting, DeleteAndEraseKeepTheIndex) {
  TQuickIni ini = Parse("[A]\nk=1\nk=2\n[B]\nb=1\n[C]\nc=1\n");
  ini.DeleteKey("A", "K");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "2");
  ini.DeleteKey("A", "absent");
  ini.DeleteKey("Absent", "k");
  ExpectSectionsConsistent(ini);
  EXPECT_EQ(ini.ReadString("C", "c", ""), "1");

  ini.EraseSection("B");  // not the first line: an empty line takes its place
  EXPECT_EQ(ini.Lines(), (TStrings{"[A]", "k=2", "", "[C]", "c=1"}));
  ExpectSectionsConsistent(ini);
  EXPECT_EQ(ini.ReadString("C", "c", ""), "1");
  ini.EraseSection("A");  // the first line: no empty line; the one left above goes with it
  EXPECT_EQ(ini.Lines(), (TStrings{"[C]", "c=1"}));
  ExpectSectionsConsistent(ini);
}

TEST(QuickIniWriting, SetIniFileCopiesLinesUnchanged) {
  TQuickIni ini;
  ini.SetIniFile({"  [Padded]", "[Real]", " key = v ", "; kept"});
  ASSERT_EQ(ini.Sections().size(), 1u);
  EXPECT_EQ(ini.Sections()[0].text, "[Real]");
  EXPECT_EQ(ini.ReadString("Real", "key", ""), "v");
  EXPECT_EQ(ini.Lines()[3], "; kept");
  ini.Clear();
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_TRUE(ini.Sections().empty());
}

TEST(QuickIniFiles, SaveAndLoadPlainAndPacked) {
  TTempFolder folder;
  TQuickIni ini = Parse("[Colours]\nButtonFace = 0xE8F4F8\n[Buttons]\nBitmap=btn.bmp\n");
  TMemoryStream saved;
  ini.SaveToStream(&saved);
  const std::string text(saved.Bytes().begin(), saved.Bytes().end());
  EXPECT_EQ(text, "[Colours]\r\nButtonFace = 0xE8F4F8\r\n[Buttons]\r\nBitmap=btn.bmp\r\n");

  ini.SaveToFile(folder.File("plain.ini"));
  ini.SavetoZip(folder.File("packed.ini"));
  TQuickIni plain;
  plain.LoadFromFile(folder.File("plain.ini"));
  EXPECT_EQ(plain.Lines(), ini.Lines());
  TQuickIni packed;
  ASSERT_TRUE(packed.LoadFromZip(folder.File("packed.ini")));
  EXPECT_EQ(packed.Lines(), ini.Lines());
  EXPECT_EQ(packed.ReadInteger("colours", "buttonface", 0), 0xE8F4F8);
}

TEST(QuickIniFiles, FailuresLeaveTheDocumentAsItWas) {
  TTempFolder folder;
  TQuickIni ini = Parse("[A]\nk=v\n");
  EXPECT_THROW(ini.LoadFromFile(folder.File("missing.ini")), EFOpenError);
  EXPECT_THROW(ini.LoadFromZip(folder.File("missing.ini")), EFOpenError);
  EXPECT_THROW(ini.SaveToFile(folder.File("no/such/folder/x.ini")), EFCreateError);
  // A packed file that states more text than it can hold is refused, not inflated.
  TMemoryStream bogus(std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x40, 0xAA});
  bogus.SaveToFile(folder.File("bogus.ini"));
  EXPECT_FALSE(ini.LoadFromZip(folder.File("bogus.ini")));
  EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
  // The error display shows a framework exception's text: the file is named.
  try {
    ini.LoadFromFile(folder.File("missing.ini"));
  } catch (const core::Exception& e) {
    EXPECT_NE(e.Message().find("missing.ini"), std::string::npos) << e.Message();
  }
}

#ifdef _WIN32
TEST(QuickIniFiles, LoadingDeniesWritersAndIsRefusedWhileOneWrites) {
  TTempFolder folder;
  Parse("[A]\nk=v\n").SaveToFile(folder.File("held.ini"));
  const std::wstring wide = std::filesystem::path(folder.File("held.ini")).wstring();
  const HANDLE writer = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  TQuickIni ini;
  EXPECT_THROW(ini.LoadFromFile(folder.File("held.ini")), core::EFOpenError);
  CloseHandle(writer);
  ini.LoadFromFile(folder.File("held.ini"));
  EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
  // A reader that lets others write does not stop the load.
  const HANDLE reader = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_NO_THROW(ini.LoadFromFile(folder.File("held.ini")));
  CloseHandle(reader);
}
#endif

}  // namespace
}  // namespace bw::skin
