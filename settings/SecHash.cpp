#include "settings/SecHash.h"

#include <cstdio>

#include "platform/Platform.h"

namespace tov {

namespace {

uint32_t Rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void Block(TSecDigest& h, const unsigned char* p) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i)
    w[i] = uint32_t(p[4 * i]) << 24 | uint32_t(p[4 * i + 1]) << 16 | uint32_t(p[4 * i + 2]) << 8 | p[4 * i + 3];
  for (int i = 16; i < 80; ++i)
    w[i] = Rol(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
  for (int i = 0; i < 80; ++i) {
    uint32_t f, k;
    if (i < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (i < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (i < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    uint32_t t = Rol(a, 5) + f + e + k + w[i];
    e = d;
    d = c;
    c = Rol(b, 30);
    b = a;
    a = t;
  }
  h[0] += a;
  h[1] += b;
  h[2] += c;
  h[3] += d;
  h[4] += e;
}

}  // namespace

TSecDigest TSecHash::HashBytes(const std::string& bytes) {
  TSecDigest h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t n = bytes.size(), full = n / 64 * 64;
  for (size_t i = 0; i < full; i += 64)
    Block(h, data + i);
  // The tail, one 0x80 byte, zeros and the length in bits; a second block when
  // fewer than 9 bytes are left in the first.
  unsigned char tail[128] = {};
  size_t rest = n - full;
  for (size_t i = 0; i < rest; ++i)
    tail[i] = data[full + i];
  tail[rest] = 0x80;
  size_t blocks = rest + 9 > 64 ? 2 : 1;
  uint64_t bits = uint64_t(n) * 8;
  for (int i = 0; i < 8; ++i)
    tail[blocks * 64 - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  for (size_t b = 0; b < blocks; ++b)
    Block(h, tail + 64 * b);
  return h;
}

TSecDigest TSecHash::HashFile(const std::string& path) {
  std::string bytes;
  if (path.empty() || !Files().ReadFile(path, &bytes)) throw ESecHashException();
  return HashBytes(bytes);
}

std::string DigestHex(const TSecDigest& d) {
  char buf[41];
  std::snprintf(buf, sizeof buf, "%08x%08x%08x%08x%08x", unsigned(d[0]), unsigned(d[1]), unsigned(d[2]), unsigned(d[3]),
                unsigned(d[4]));
  return buf;
}

}  // namespace tov
