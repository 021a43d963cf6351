// ZIP archives read back by a reader of the tests' own on zlib: every
// entry's name, flags, method, time, CRC and bytes; the central directory
// agrees with the local headers.
#include <gtest/gtest.h>

#include <zlib.h>

#include "dialogs/ErrorReport.h"
#include "formats/ZipArchive.h"
#include "platform/Platform.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostForm.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"

namespace tov {
namespace {

uint32_t U(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(b.at(at + size_t(i)));
  return v;
}

struct ReadEntry {
  std::string name;
  uint16_t flags = 0, method = 0, time = 0, date = 0;
  std::string data;
};

// Walks the central directory from the end record; checks each entry's
// local header against it, inflates, and checks the CRC.
std::vector<ReadEntry> ReadZip(const std::string& z) {
  std::vector<ReadEntry> out;
  const size_t end = z.size() - 22;
  EXPECT_EQ(U(z, end, 4), 0x06054B50u);
  const uint32_t count = U(z, end + 10, 2), size = U(z, end + 12, 4), start = U(z, end + 16, 4);
  EXPECT_EQ(start + size, end);
  size_t at = start;
  for (uint32_t i = 0; i < count; ++i) {
    EXPECT_EQ(U(z, at, 4), 0x02014B50u);
    ReadEntry e;
    e.flags = uint16_t(U(z, at + 8, 2));
    e.method = uint16_t(U(z, at + 10, 2));
    e.time = uint16_t(U(z, at + 12, 2));
    e.date = uint16_t(U(z, at + 14, 2));
    const uint32_t crc = U(z, at + 16, 4), packed = U(z, at + 20, 4), plain = U(z, at + 24, 4);
    const uint32_t nameLength = U(z, at + 28, 2), local = U(z, at + 42, 4);
    e.name = z.substr(at + 46, nameLength);
    EXPECT_EQ(U(z, local, 4), 0x04034B50u);
    EXPECT_EQ(z.substr(local + 6, 24), z.substr(at + 8, 24)) << "local header of " << e.name;
    const std::string body = z.substr(local + 30 + nameLength, packed);
    if (e.method == 0) {
      e.data = body;
    } else {
      EXPECT_EQ(e.method, 8);
      e.data.resize(plain);
      z_stream s{};
      inflateInit2(&s, -MAX_WBITS);
      s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
      s.avail_in = uInt(body.size());
      s.next_out = reinterpret_cast<Bytef*>(e.data.data());
      s.avail_out = uInt(e.data.size());
      EXPECT_EQ(inflate(&s, Z_FINISH), Z_STREAM_END) << e.name;
      inflateEnd(&s);
    }
    EXPECT_EQ(e.data.size(), plain);
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), uInt(e.data.size())), crc) << e.name;
    out.push_back(e);
    at += 46 + nameLength;
  }
  return out;
}

struct ZipArchiveTest : ::testing::Test {
  host::HostPlatform hp;
};

TEST_F(ZipArchiveTest, EntriesComeBackWhole) {
  std::string noise;
  uint32_t seed = 7;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1103515245u + 12345u;
    noise.push_back(char(seed >> 16));
  }
  TZipArchive zip;
  zip.AddBytes("Testo.txt", std::string(10000, 'a') + "fine", DateTime{2026, 12, 10, 14, 35, 27, 0});
  zip.AddBytes("vuoto.txt", "", DateTime{1975, 1, 1, 0, 0, 0, 0});
  zip.AddBytes("rumore.bin", noise, DateTime{2026, 1, 2, 3, 4, 5, 0});
  zip.AddBytes("Caff\u00E8\\nota.txt", "nota", DateTime{2026, 12, 10, 0, 0, 0, 0});
  const auto entries = ReadZip(zip.Bytes());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "Testo.txt");
  EXPECT_EQ(entries[0].method, 8);
  EXPECT_EQ(entries[0].data, std::string(10000, 'a') + "fine");
  // 2026-12-10 14:35:26 (two-second steps).
  EXPECT_EQ(entries[0].date, ((2026 - 1980) << 9) | (12 << 5) | 10);
  EXPECT_EQ(entries[0].time, (14 << 11) | (35 << 5) | 13);
  EXPECT_EQ(entries[1].data, "");
  EXPECT_EQ(entries[1].date, (0 << 9) | (1 << 5) | 1);  // before 1980: its first day
  EXPECT_EQ(entries[2].method, 0);                      // noise does not shrink: stored
  EXPECT_EQ(entries[2].data, noise);
  EXPECT_EQ(entries[3].name, "Caff\u00E8/nota.txt");  // UTF-8, flagged, with '/'
  EXPECT_EQ(entries[3].flags, 0x0800);
  EXPECT_EQ(entries[0].flags, 0);
}

TEST_F(ZipArchiveTest, FilesAreAddedByNameAndTheArchiveReplacesAnOlderOne) {
  ASSERT_TRUE(Files().CreateDir("C:\\Debug"));
  ASSERT_TRUE(Files().WriteFile("C:\\Debug\\ExcpText.txt", "riga 1\r\nriga 2\r\n"));
  ASSERT_TRUE(Files().WriteFile("C:\\Debug\\Excp.exc", "old"));
  TZipArchive zip;
  EXPECT_TRUE(zip.AddFile("C:\\Debug\\ExcpText.txt"));
  EXPECT_FALSE(zip.AddFile("C:\\Debug\\missing.png"));
  EXPECT_EQ(zip.Count(), 1u);
  ASSERT_TRUE(zip.WriteTo("C:\\Debug\\Excp.exc"));
  std::string bytes;
  ASSERT_TRUE(Files().ReadFile("C:\\Debug\\Excp.exc", &bytes));
  const auto entries = ReadZip(bytes);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "ExcpText.txt");
  EXPECT_EQ(entries[0].data, "riga 1\r\nriga 2\r\n");
  zip.Clear();
  EXPECT_EQ(ReadZip(zip.Bytes()).size(), 0u);  // an empty archive is still one
  EXPECT_FALSE(zip.WriteTo("C:\\NoFolder\\Excp.exc"));
}

// Entries larger than the pieces deflate is fed in, packed or stored.
TEST_F(ZipArchiveTest, LargeEntriesComeBackWhole) {
  std::string text, noise;
  uint32_t seed = 3;
  for (int i = 0; i < (1 << 20) / 12; ++i) {
    seed = seed * 1103515245u + 12345u;
    text += "riga " + std::to_string(seed % 1000) + "          \n";
    noise.append(reinterpret_cast<const char*>(&seed), 4);
  }
  TZipArchive zip;
  zip.AddBytes("testo.txt", text, DateTime{2026, 1, 1, 0, 0, 0, 0});
  zip.AddBytes("rumore.bin", noise, DateTime{2026, 1, 1, 0, 0, 0, 0});
  const auto entries = ReadZip(zip.Bytes());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].method, 8);
  EXPECT_EQ(entries[0].data, text);
  EXPECT_EQ(entries[1].method, 0);
  EXPECT_EQ(entries[1].data, noise);
}

TEST_F(ZipArchiveTest, MoreEntriesThanTheFormatCountsMakeNoArchive) {
  TZipArchive zip;
  for (int i = 0; i < 0xFFFF; ++i)
    zip.AddBytes(std::to_string(i), "", DateTime{2026, 1, 1, 0, 0, 0, 0});
  EXPECT_EQ(ReadZip(zip.Bytes()).size(), 0xFFFFu);
  zip.AddBytes("uno di troppo", "", DateTime{2026, 1, 1, 0, 0, 0, 0});
  EXPECT_EQ(zip.Bytes(), "");
  ASSERT_TRUE(Files().CreateDir("C:\\Debug"));
  EXPECT_FALSE(zip.WriteTo("C:\\Debug\\Excp.exc"));
  EXPECT_FALSE(Files().FileExists("C:\\Debug\\Excp.exc"));
}

// The report's archive holds the text of this report, never an older one
// that stayed on disk where the new text could not be written.
TEST_F(ZipArchiveTest, AReportArchivesItsOwnTextEvenWhenItsFileCouldNotBeWritten) {
  const std::string text = DebugFile("ExcpText.txt");
  ASSERT_TRUE(Files().WriteFile(text, "rapporto vecchio\r\n"));
  for (bool writable : {true, false}) {
    SCOPED_TRACE(writable);
    // The older text held read-only: it can be neither replaced nor deleted.
    if (!writable) hp.Files().SetReadOnlyFolder(text);
    hp.Windows().modalScripts.push_back([](host::HostForm& f) { EXPECT_TRUE(f.Click("BtnChiudi")); });
    TFormExceptMessage window("Italiano");
    window.ShowErrorReport({"rapporto nuovo", writable ? "scritto" : "non scritto"});
    ASSERT_TRUE(window.BuildReportArchive());
    std::string bytes;
    ASSERT_TRUE(Files().ReadFile(DebugFile("Excp.exc"), &bytes));
    std::string archived;
    for (const ReadEntry& e : ReadZip(bytes))
      if (e.name == "ExcpText.txt") archived += e.data;
    EXPECT_EQ(archived, std::string("rapporto nuovo\r\n") + (writable ? "scritto" : "non scritto") + "\r\n");
  }
}

}  // namespace
}  // namespace tov
