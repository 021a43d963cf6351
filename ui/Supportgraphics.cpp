#include "ui/Supportgraphics.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/BmpDecoder.h"
#include "platform/Platform.h"

namespace tov {

namespace {

void PutU32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(char((v >> shift) & 0xFF));
}

void PutLe(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(char((v >> (8 * i)) & 0xFF));
}

// Length, type, data, and the CRC of type and data.
void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutU32(out, uint32_t(data.size()));
  const size_t start = out.size();
  out.append(type, 4);
  out += data;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), uInt(out.size() - start));
  PutU32(out, uint32_t(crc));
}

uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// The row filtered by each of the five filters; the one whose bytes, read
// as signed, sum to the least is kept (the usual heuristic).
void FilterRow(const std::vector<uint8_t>& row, const std::vector<uint8_t>& prior, std::vector<uint8_t>& out) {
  const size_t n = row.size();
  std::array<std::vector<uint8_t>, 5> candidates;
  uint64_t best = UINT64_MAX;
  int chosen = 0;
  for (int f = 0; f < 5; ++f) {
    std::vector<uint8_t>& c = candidates[size_t(f)];
    c.resize(n);
    uint64_t sum = 0;
    for (size_t i = 0; i < n; ++i) {
      const int a = i >= 3 ? row[i - 3] : 0, b = prior[i], d = i >= 3 ? prior[i - 3] : 0;
      uint8_t v = row[i];
      switch (f) {
        case 1:
          v = uint8_t(v - a);
          break;
        case 2:
          v = uint8_t(v - b);
          break;
        case 3:
          v = uint8_t(v - ((a + b) >> 1));
          break;
        case 4:
          v = uint8_t(v - Paeth(a, b, d));
          break;
        default:
          break;
      }
      c[i] = v;
      sum += uint64_t(std::abs(int(int8_t(v))));
    }
    if (sum < best) {
      best = sum;
      chosen = f;
    }
  }
  out.push_back(uint8_t(chosen));
  out.insert(out.end(), candidates[size_t(chosen)].begin(), candidates[size_t(chosen)].end());
}

}  // namespace

std::string EncodePng(const Bitmap& picture, int level) {
  if (picture.Empty()) return std::string();
  const size_t w = size_t(picture.width), h = size_t(picture.height), stride = w * 3;
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  PutU32(header, uint32_t(w));
  PutU32(header, uint32_t(h));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive filters, no interlace
  PutChunk(png, "IHDR", header);

  z_stream z{};
  if (deflateInit(&z, std::clamp(level, 0, 9)) != Z_OK) return std::string();
  std::string idat;
  std::vector<uint8_t> row(stride), prior(stride, 0), filtered;
  std::vector<uint8_t> buffer(1 << 16);
  for (size_t y = 0; y < h; ++y) {
    for (size_t x = 0; x < w; ++x) {
      const Color c = picture.At(int(x), int(y));
      row[3 * x] = uint8_t(c & 0xFF);
      row[3 * x + 1] = uint8_t((c >> 8) & 0xFF);
      row[3 * x + 2] = uint8_t((c >> 16) & 0xFF);
    }
    filtered.clear();
    FilterRow(row, prior, filtered);
    prior.swap(row);
    z.next_in = filtered.data();
    z.avail_in = uInt(filtered.size());
    const int flush = y + 1 == h ? Z_FINISH : Z_NO_FLUSH;
    int rc = Z_OK;
    do {
      z.next_out = buffer.data();
      z.avail_out = uInt(buffer.size());
      rc = deflate(&z, flush);
      idat.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - z.avail_out);
    } while (z.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    if (rc == Z_STREAM_ERROR) {
      deflateEnd(&z);
      return std::string();
    }
  }
  deflateEnd(&z);
  PutChunk(png, "IDAT", idat);
  PutChunk(png, "IEND", std::string());
  return png;
}

std::string EncodeBmp24(const Bitmap& picture) {
  const uint32_t w = uint32_t(std::max(picture.width, 0)), h = uint32_t(std::max(picture.height, 0));
  const uint32_t stride = (w * 3 + 3) & ~3u, image = stride * h;
  std::string b = "BM";
  PutLe(b, 54 + image, 4);
  PutLe(b, 0, 4);
  PutLe(b, 54, 4);
  PutLe(b, 40, 4);
  PutLe(b, w, 4);
  PutLe(b, h, 4);
  PutLe(b, 1, 2);
  PutLe(b, 24, 2);
  PutLe(b, 0, 4);
  PutLe(b, image, 4);
  PutLe(b, 2835, 4);  // 72 dots per inch
  PutLe(b, 2835, 4);
  PutLe(b, 0, 4);
  PutLe(b, 0, 4);
  b.reserve(b.size() + image);
  for (uint32_t y = h; y-- > 0;) {
    const size_t start = b.size();
    for (uint32_t x = 0; x < w; ++x) {
      const Color c = picture.At(int(x), int(y));
      b.push_back(char((c >> 16) & 0xFF));
      b.push_back(char((c >> 8) & 0xFF));
      b.push_back(char(c & 0xFF));
    }
    b.append(stride - (b.size() - start), '\0');
  }
  return b;
}

bool BitmapFileToPngLevel(const std::string& bmpPath, const std::string& pngPath, int level) {
  std::string bytes, error;
  Picture picture;
  if (!Files().ReadFile(bmpPath, &bytes) || !DecodeBmp(bytes, &picture, &error)) return false;
  const std::string png = EncodePng(picture.rgb, level);
  return !png.empty() && Files().WriteFile(pngPath, png);
}

bool BitmapFileToPng(const std::string& bmpPath, const std::string& pngPath) {
  return BitmapFileToPngLevel(bmpPath, pngPath, 100);
}

}  // namespace tov
