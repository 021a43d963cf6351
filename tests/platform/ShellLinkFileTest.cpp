// The shell link format: round trips, the two sources of the target, texts
// in Windows-1252, and damaged files that must fail cleanly.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/ShellLinkFile.h"

namespace tov {
namespace {

uint32_t U32At(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

uint32_t U16At(const std::string& b, size_t at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8; }

void SetU32At(std::string* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    (*b)[at + i] = char((v >> (8 * i)) & 0xFF);
}

std::string Build(const std::string& target, const std::string& description, ShellLinkTargetInfo info = {}) {
  std::string bytes, error;
  EXPECT_TRUE(BuildShellLink(target, description, info, &bytes, &error)) << target << ": " << error;
  return bytes;
}

ShellLinkContents Parse(const std::string& bytes) {
  ShellLinkContents c;
  std::string error;
  EXPECT_TRUE(ParseShellLink(bytes, &c, &error)) << error;
  return c;
}

// The same link without its link info block, so that the target can only
// come from the item id list.
std::string WithoutLinkInfo(std::string bytes) {
  const size_t info = 0x4C + 2 + U16At(bytes, 0x4C);
  bytes.erase(info, U32At(bytes, info));
  SetU32At(&bytes, 0x14, U32At(bytes, 0x14) & ~0x02u);
  return bytes;
}

TEST(ShellLinkFile, TargetsAndDescriptionsRoundTrip) {
  const std::string longName(200, 'n');
  const struct {
    std::string target, description;
    ShellLinkTargetInfo info;
  } cases[] = {
      {"C:\\Dati\\Documento.txt", "Documento.txt", {}},
      {"C:\\Dati\\Cartella", "Cartella", {true, true, kAttrDirectory, 0, {2025, 3, 4, 5, 6, 7, 0}}},
      {"D:\\", "", {}},
      {"C:\\Caff\u00E8 \u20AC e \u009D\\R\u00E9sum\u00E9.doc", "R\u00E9sum\u00E9 \u20AC", {}},
      {"C:\\Programmi\\Una cartella dal nome molto lungo\\" + longName + ".exe", longName, {}},
      {"\\\\server\\condivisa\\Dati\\file.txt", "file.txt", {}},
      {"\\\\server\\condivisa", "condivisa", {}},
      {"\\\\server\\\u00E9t\u00E9\\f\u00E9.txt", "f\u00E9.txt", {}},
      {"C:\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B\\\u65E5\u672C\u8A9E.txt",
       "\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC \U0001F600",
       {}},
      {"E:\\f.bin", "f.bin", {true, false, kAttrArchive | kAttrReadOnly, 123456, {2024, 12, 31, 23, 59, 58, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    const ShellLinkContents got = Parse(Build(c.target, c.description, c.info));
    EXPECT_EQ(got.target, c.target);
    EXPECT_EQ(got.description, c.description);
  }
}

TEST(ShellLinkFile, DrivePathsAreNormalisedAsTheShellStoresThem) {
  EXPECT_EQ(Parse(Build("c:", "")).target, "C:\\");
  EXPECT_EQ(Parse(Build("c:\\Dati\\\\Sotto\\", "")).target, "C:\\Dati\\Sotto");
  EXPECT_EQ(Parse(Build("C:/Dati/Sotto/a.txt", "")).target, "C:\\Dati\\Sotto\\a.txt");
  EXPECT_EQ(Parse(Build("//server/share/a.txt", "")).target, "\\\\server\\share\\a.txt");
}

TEST(ShellLinkFile, ItemIdListAloneGivesTheTargetWithItsLongNames) {
  const std::string longName = "Una cartella dal nome lungo \u00E8";
  for (const std::string& target :
       std::vector<std::string>{"C:\\" + longName + "\\Documento di prova.txt", std::string("D:\\"), "F:\\x"}) {
    SCOPED_TRACE(target);
    const std::string bytes = WithoutLinkInfo(Build(target, "d"));
    EXPECT_EQ(Parse(bytes).target, target);
  }
}

TEST(ShellLinkFile, HeaderCarriesTheTargetsAttributesSizeAndTime) {
  ShellLinkTargetInfo info{true, false, kAttrArchive, 4096, {2026, 1, 2, 3, 4, 5, 0}};
  const std::string b = Build("C:\\Dati\\a.txt", "a.txt", info);
  EXPECT_EQ(U32At(b, 0), 0x4Cu);
  EXPECT_EQ(b.substr(4, 16), std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  EXPECT_EQ(U32At(b, 0x14), 0x01u | 0x02u | 0x04u | 0x80u);
  EXPECT_EQ(U32At(b, 0x18), kAttrArchive);
  EXPECT_EQ(U32At(b, 0x34), 4096u);
  EXPECT_EQ(U32At(b, 0x3C), 1u);  // shown normally
  // 2026-01-02 03:04:05 in 100 ns steps since 1601.
  const uint64_t write = uint64_t(U32At(b, 0x2C)) | uint64_t(U32At(b, 0x30)) << 32;
  EXPECT_EQ(write, 134117966450000000ull);
  // The root item is My Computer.
  EXPECT_EQ(U16At(b, 0x4E), 0x14u);
  EXPECT_EQ(uint8_t(b[0x50]), 0x1F);
  EXPECT_EQ(b.substr(0x52, 16), std::string("\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 16));
  // A target that does not exist leaves everything at zero.
  const std::string missing = Build("C:\\Dati\\a.txt", "");
  EXPECT_EQ(U32At(missing, 0x14), 0x01u | 0x02u | 0x80u);  // no name without a description
  EXPECT_EQ(U32At(missing, 0x18), 0u);
  EXPECT_EQ(U32At(missing, 0x2C) | U32At(missing, 0x30) | U32At(missing, 0x34), 0u);
}

TEST(ShellLinkFile, WriterRefusesTargetsThatAreNotAbsolutePaths) {
  for (const std::string& target :
       std::vector<std::string>{"", "Documento.txt", "Dati\\x.txt", "\\Dati\\x.txt", "\\\\server", "1:\\x", "C:x.txt",
                                "C:\\" + std::string(300, 'x')}) {
    std::string bytes, error;
    EXPECT_FALSE(BuildShellLink(target, "d", {}, &bytes, &error)) << target;
    EXPECT_FALSE(error.empty());
  }
}

// A link as other writers make it: ANSI strings, a link info block with a
// base path and a suffix, optional Unicode variants.
std::string ForeignLink(const std::string& base, const std::string& suffix, const std::string& name,
                        const std::u16string& wideBase = u"") {
  std::string b(0x4C, '\0');
  b[0] = 0x4C;
  b.replace(4, 16, std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  SetU32At(&b, 0x14, 0x02 | 0x04);
  const uint32_t header = wideBase.empty() ? 0x1C : 0x24;
  std::string li(header, '\0');
  SetU32At(&li, 4, header);
  SetU32At(&li, 8, 1);
  SetU32At(&li, 12, uint32_t(li.size()));
  li += std::string("\x10\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00", 16);
  SetU32At(&li, 16, uint32_t(li.size()));
  li += base + '\0';
  SetU32At(&li, 24, uint32_t(li.size()));
  li += suffix + '\0';
  if (!wideBase.empty()) {
    SetU32At(&li, 28, uint32_t(li.size()));
    for (char16_t c : wideBase + u'\0')
      li += std::string{char(c & 0xFF), char(c >> 8)};
  }
  SetU32At(&li, 0, uint32_t(li.size()));
  b += li;
  b += std::string{char(name.size()), 0} + name;
  // An extra data block the reader steps over, then the terminal block.
  b += std::string("\x0C\x00\x00\x00\x05\x00\x00\xA0\x07\x00\x00\x00", 12);
  b += std::string(4, '\0');
  return b;
}

TEST(ShellLinkFile, ReadsLinksOfOtherWriters) {
  ShellLinkContents c = Parse(ForeignLink("C:\\test", "a.txt", "Descrizione \xE8"));
  EXPECT_EQ(c.target, "C:\\test\\a.txt");
  EXPECT_EQ(c.description, "Descrizione \u00E8");
  EXPECT_EQ(Parse(ForeignLink("C:\\test\\a.txt", "", "")).target, "C:\\test\\a.txt");
  // A description whose count takes in its terminating zero, as Wine writes it.
  EXPECT_EQ(Parse(ForeignLink("C:\\test", "", std::string("Descrizione\0", 12))).description, "Descrizione");
  // The Unicode base path is preferred to the ANSI one.
  EXPECT_EQ(Parse(ForeignLink("C:\\????", "", "x", u"C:\\\u00E0\u20AC")).target, "C:\\\u00E0\u20AC");
}

std::string FromHex(const std::string& hex) {
  std::string b;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    b.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return b;
}

// Items as Windows 10 writes them: the short name as the item's own name and
// the long one in a version 9 extension block (liblnk's lnkinfo reads the
// same long names from these bytes). No link info block.
TEST(ShellLinkFile, LongNamesComeFromTheExtensionBlocksOfNewerWindows) {
  const std::string bytes = FromHex(
      "4c0000000114020000000000c00000000000004681000000000000000000000000000000000000000000000000000000"
      "000000000000000000000000010000000000000000000000000000001d0114001f50e04fd020ea3a6910a2d808002b30"
      "309d19002f433a5c000000000000000000000000000000000000006e00310000000000000000002000554e414341527e"
      "310000560009000400efbe00000000000000002e00000011111111111111110000000000000000000000000000000000"
      "0055006e0061002000630061007200740065006c006c00610020006c0075006e00670061000000180080003200000000"
      "0000000000200052454c415a497e312e5458540000640009000400efbe00000000000000002e00000011111111111111"
      "11000000000000000000000000000000000000520065006c0061007a0069006f006e00650020007400720069006d0065"
      "0073007400720061006c0065002e0074007800740000001c00000000000000");
  const ShellLinkContents c = Parse(bytes);
  EXPECT_EQ(c.target, "C:\\Una cartella lunga\\Relazione trimestrale.txt");
  EXPECT_EQ(c.description, "");
}

TEST(ShellLinkFile, WhatIsNotAWholeLinkFails) {
  std::string error;
  ShellLinkContents c;
  EXPECT_FALSE(ParseShellLink("", &c, &error));
  EXPECT_FALSE(ParseShellLink(
      "Questo non \xE8 un collegamento, solo un file di testo qualunque. " + std::string(100, 'x'), &c, &error));
  std::string wrongClass = Build("C:\\a.txt", "a");
  wrongClass[5] ^= 0x40;
  EXPECT_FALSE(ParseShellLink(wrongClass, &c, &error));
  // Lengths that run past the end of the file.
  std::string hugeIdList = Build("C:\\a.txt", "a");
  hugeIdList[0x4C] = char(0xFF), hugeIdList[0x4D] = char(0xFF);
  EXPECT_FALSE(ParseShellLink(hugeIdList, &c, &error));
  std::string hugeName = Build("C:\\a.txt", "a");
  hugeName[hugeName.size() - 8] = char(0xFF);
  EXPECT_FALSE(ParseShellLink(hugeName, &c, &error));
  // A link with neither a link info block nor an item id list has no target.
  std::string noTarget = WithoutLinkInfo(Build("C:\\a.txt", "a"));
  const size_t idSize = U16At(noTarget, 0x4C);
  noTarget.erase(0x4C, idSize + 2);
  SetU32At(&noTarget, 0x14, U32At(noTarget, 0x14) & ~0x01u);
  EXPECT_FALSE(ParseShellLink(noTarget, &c, &error));
  EXPECT_FALSE(error.empty());
}

TEST(ShellLinkFile, EveryCutShortFileFailsAndFlippedBytesNeverReadOutOfBounds) {
  const std::string links[] = {
      Build("C:\\Dati\\Cartella lunga\\Documento.txt", "Documento.txt"),
      Build("\\\\server\\\u00E9t\u00E9\\f\u00E9.txt", "f\u00E9.txt"),
      ForeignLink("C:\\test", "a.txt", "d", u"C:\\test"),
  };
  std::mt19937 rng(20261209);
  for (const std::string& whole : links) {
    for (size_t n = 0; n < whole.size(); ++n) {
      ShellLinkContents c;
      std::string error;
      EXPECT_FALSE(ParseShellLink(whole.substr(0, n), &c, &error)) << n;
    }
    for (int round = 0; round < 3000; ++round) {
      std::string damaged = whole;
      const int flips = 1 + int(rng() % 4);
      for (int f = 0; f < flips; ++f)
        damaged[rng() % damaged.size()] = char(rng());
      ShellLinkContents c;
      std::string error;
      if (!ParseShellLink(damaged, &c, &error)) {
        EXPECT_FALSE(error.empty());
      }
    }
  }
}

}  // namespace
}  // namespace tov
