// The cipher, the file hash and the two-pass protected values.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/host/HostPlatform.h"
#include "settings/ProtectedValue.h"
#include "settings/SecHash.h"
#include "settings/SimpleCrypt.h"

namespace tov {
namespace {

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i)
    s[i] = char((i * 131 + 7) & 0xFF);
  return s;
}

TEST(TSecHash, MatchesSha1sumAroundEveryPaddingEdge) {
  // Digests printed by sha1sum for the pattern above.
  const std::pair<size_t, const char*> cases[] = {
      {0, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},    {1, "5d1be7e9dda1ee8896be5b7e34a85ee16452a7b4"},
      {3, "09182f082afc61e78585bdfb60501dfe876ccf62"},    {55, "9e5a20c2604688df0b1eecf4474b58bfe7227881"},
      {56, "bd367cf3b85dc2cac8f6b4827cb850e4c83c521c"},   {57, "8f26553b44ae9cd3b816ba1ba43b5ead3ebcf01b"},
      {63, "a8f606c343b26fa851dfd149f7b12fc2dbf1af34"},   {64, "1abec92bfbde4197236cfba30b6b61c69d605d88"},
      {65, "362ce7bc4bc2b47979741db349c65fd550840dc3"},   {119, "e7ceee9817914eef9ec7001a43033f16a086b7c7"},
      {120, "9c9d46758300bc1f2c6953d4a2652ed72a202cf3"},  {121, "e72e4a5ff0d7fa35de97f95ac67be917924e7608"},
      {127, "89a850084bf6feb514a0355c6691956065d03d7d"},  {128, "8abf03d87a20327b0a0dfbee98f04a881350d8f4"},
      {129, "736024ac08102e1ca5d7ba68e88e5c4a8745a33d"},  {1000, "425b5f2d2d344f4f6467cda9065cdc840619dc2d"},
      {4096, "f09054955405e3854e8153b8aef2a159a0319d24"}, {6143, "7ad186b745567dd135b3aa1d0a8994348d6b3f55"},
  };
  host::HostPlatform hp;
  for (const auto& [n, hex] : cases) {
    ASSERT_TRUE(Files().WriteFile("C:\\k.bin", Pattern(n)));
    EXPECT_EQ(DigestHex(TSecHash::HashFile("C:\\k.bin")), hex) << n << " bytes";
  }
  EXPECT_EQ(DigestHex(TSecHash::HashBytes("abc")), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_THROW(TSecHash::HashFile("C:\\manca.dat"), ESecHashException);
  EXPECT_THROW(TSecHash::HashFile(""), ESecHashException);
  try {
    TSecHash::HashFile("C:\\manca.dat");
  } catch (const ESecHashException& e) {
    EXPECT_STREQ(e.what(), "File not found !");
  }
}

#if TOVIRA_HOST
TEST(TSecHash, MatchesTheSha1sumProgramOnRandomFiles) {
  auto dir = std::filesystem::temp_directory_path() / "tovira-sha1-test";
  std::filesystem::create_directories(dir);
  std::mt19937 rng(12345);
  for (size_t n : {0u, 2u, 54u, 55u, 56u, 62u, 63u, 64u, 65u, 118u, 119u, 120u, 183u, 184u, 191u, 192u, 3333u}) {
    std::string bytes(n, '\0');
    for (char& c : bytes)
      c = char(rng());
    auto file = dir / ("f" + std::to_string(n));
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    std::string cmd = "sha1sum '" + file.string() + "'";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char out[41] = {};
    ASSERT_EQ(fread(out, 1, 40, p), 40u);
    pclose(p);
    EXPECT_EQ(DigestHex(TSecHash::HashBytes(bytes)), out) << n;
  }
  std::filesystem::remove_all(dir);
}
#endif

TEST(TSimpleCrypt, MatchesTheReferenceCipherAndRoundTrips) {
  // Vectors of the original 128-bit PC1 routine.
  EXPECT_EQ(TSimpleCrypt::Encrypt("r7Kp!Vq2#Lm9xT4$", "Hello, world! password 123"),
            "jhnoampfbaikgjkhdcifknienapacgmjpjeemaplegabcjkpfail");
  EXPECT_EQ(TSimpleCrypt::Encrypt("ABCDEF0123456", "x"), "nj");
  EXPECT_EQ(TSimpleCrypt::Decrypt("ABCDEF0123456", "nj"), "x");
  EXPECT_EQ(TSimpleCrypt::Decrypt("ABCDEF0123456", "NJ"), "x");
  EXPECT_EQ(TSimpleCrypt::Decrypt("ABCDEF0123456", "njk"), "x");  // a single last letter is ignored
  // Longer keys count to their 16th byte.
  EXPECT_EQ(TSimpleCrypt::Encrypt("r7Kp!Vq2#Lm9xT4$tail", "abc"), TSimpleCrypt::Encrypt("r7Kp!Vq2#Lm9xT4$", "abc"));
  // Far beyond the 16500 bytes of a fixed 33000-letter buffer.
  std::string big = Pattern(40000);
  std::string letters = TSimpleCrypt::Encrypt("k", big);
  EXPECT_EQ(letters.size(), 80000u);
  EXPECT_EQ(letters.find_first_not_of("abcdefghijklmnop"), std::string::npos);
  EXPECT_EQ(TSimpleCrypt::Decrypt("k", letters), big);
}

TEST(ProtectedValue, TwoPassesUnderTheKeyFile) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().WriteFile("C:\\Support.dat", Pattern(3000)));
  ASSERT_TRUE(Files().WriteFile("C:\\Altro.dat", Pattern(3001)));
  EXPECT_EQ(FolderKey("C:\\Support.dat").size(), 15u);
  // sha1sum of the pattern: 9da88e78 3609b44b a9884b7a 37e4189e 1aa11c42.
  // The key is its words H3, H2, H1, H4 in upper case, from the second
  // character on: 37E4189E A9884B7A 3609B44B 1AA11C42.
  EXPECT_EQ(FolderKey("C:\\Support.dat"), "7E4189EA9884B7A");

  for (size_t n : {0u, 1u, 7u, 100u, 511u, 9000u}) {
    std::string plain = Pattern(n);
    std::string stored = EncipherProtectedValue(plain, "C:\\Support.dat");
    EXPECT_EQ(stored.size(), 4 * n);
    EXPECT_EQ(stored.find_first_not_of("abcdefghijklmnop"), std::string::npos);
    EXPECT_EQ(stored, EncipherProtectedValue(plain, "C:\\Support.dat"));
    EXPECT_EQ(DecipherProtectedValue(stored, "C:\\Support.dat"), plain);
    if (n) {
      EXPECT_NE(stored, EncipherProtectedValue(plain, "C:\\Altro.dat"));
    }
  }
  // What a settings file gives back (2047 characters) still yields the first 511 bytes.
  std::string plain = Pattern(600);
  std::string cut = EncipherProtectedValue(plain, "C:\\Support.dat").substr(0, 2047);
  EXPECT_EQ(DecipherProtectedValue(cut, "C:\\Support.dat"), plain.substr(0, 511));
  EXPECT_THROW(EncipherProtectedValue("x", ""), ESecHashException);
}

}  // namespace
}  // namespace tov
