#include "formats/ImageFiles.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/Bytes.h"
#include "platform/BmpDecoder.h"
#include "platform/Platform.h"

namespace tov {

namespace {

// PNG's numbers are big-endian.
void PutU32(std::string& out, uint32_t v) { PutBe(out, v, 4); }

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

// How far a filtered byte lies from zero, read as signed: the smaller the
// sum over a row, the better deflate usually does with it.
inline uint32_t Cost(uint8_t v) { return v < 128 ? v : 256u - v; }

// Writes the PNG's image data: rows filtered one at a time and fed to
// deflate, the compressed bytes going out as IDAT chunks whenever the output
// buffer fills, so the memory used does not grow with the picture.
class PngRows {
 public:
  PngRows(std::string& png, size_t stride, bool filter) : png_(png), filter_(filter), prior_(stride, 0) {
    for (auto& c : candidates_)
      c.resize(1 + stride);
    row_.resize(stride);
  }

  bool Start(int level) {
    open_ = deflateInit(&z_, level) == Z_OK;
    return open_;
  }
  ~PngRows() {
    if (open_) deflateEnd(&z_);
  }

  std::vector<uint8_t>& Row() { return row_; }

  // Filters the row held in Row() and compresses it; the last row ends the stream.
  bool Put(bool last) {
    const std::vector<uint8_t>& chosen = Filter();
    prior_.swap(row_);
    z_.next_in = const_cast<Bytef*>(chosen.data());
    z_.avail_in = uInt(chosen.size());
    const int flush = last ? Z_FINISH : Z_NO_FLUSH;
    for (;;) {
      z_.next_out = out_.data();
      z_.avail_out = uInt(out_.size());
      const int rc = deflate(&z_, flush);
      if (rc == Z_STREAM_ERROR) return false;
      const size_t produced = out_.size() - z_.avail_out;
      if (produced != 0) PutChunk(png_, "IDAT", std::string(reinterpret_cast<const char*>(out_.data()), produced));
      if (last ? rc == Z_STREAM_END : z_.avail_out != 0) return true;
    }
  }

 private:
  // The row under filter 0 (none) or, when filtering, under the one of the
  // five whose bytes cost least; a candidate is dropped as soon as it costs
  // more than the best so far.
  const std::vector<uint8_t>& Filter() {
    const size_t n = row_.size();
    const uint8_t* x = row_.data();
    const uint8_t* up = prior_.data();
    std::vector<uint8_t>& none = candidates_[0];
    none[0] = 0;
    std::copy(row_.begin(), row_.end(), none.begin() + 1);
    if (!filter_) return none;
    uint64_t best = 0;
    for (size_t i = 0; i < n; ++i)
      best += Cost(x[i]);
    size_t chosen = 0;
    for (size_t f = 1; f < 5; ++f) {
      uint8_t* out = candidates_[f].data();
      out[0] = uint8_t(f);
      uint64_t sum = 0;
      size_t i = 0;
      for (; i < n && sum < best; ++i) {
        const int a = i >= 3 ? x[i - 3] : 0, b = up[i], c = i >= 3 ? up[i - 3] : 0;
        const uint8_t predicted = f == 1   ? uint8_t(a)
                                  : f == 2 ? uint8_t(b)
                                  : f == 3 ? uint8_t((a + b) >> 1)
                                           : Paeth(a, b, c);
        out[1 + i] = uint8_t(x[i] - predicted);
        sum += Cost(out[1 + i]);
      }
      if (i == n && sum < best) {
        best = sum;
        chosen = f;
      }
    }
    return candidates_[chosen];
  }

  std::string& png_;
  const bool filter_;
  z_stream z_{};
  bool open_ = false;
  std::vector<uint8_t> row_, prior_;
  std::array<std::vector<uint8_t>, 5> candidates_;
  std::vector<uint8_t> out_ = std::vector<uint8_t>(1 << 16);
};

}  // namespace

std::string EncodePng(const Bitmap& picture, int level) {
  const size_t w = size_t(std::max(picture.width, 0)), h = size_t(std::max(picture.height, 0));
  if (w == 0 || h == 0 || picture.pixels.size() < w * h) return std::string();
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  PutU32(header, uint32_t(w));
  PutU32(header, uint32_t(h));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive filters, no interlace
  PutChunk(png, "IHDR", header);

  // Stored data (level 0) gains nothing from filters.
  level = std::clamp(level, 0, 9);
  PngRows rows(png, w * 3, level != 0);
  if (!rows.Start(level)) return std::string();
  for (size_t y = 0; y < h; ++y) {
    const Color* pixel = picture.pixels.data() + y * w;
    uint8_t* rgb = rows.Row().data();
    for (size_t x = 0; x < w; ++x, rgb += 3) {
      rgb[0] = RedOf(pixel[x]);
      rgb[1] = GreenOf(pixel[x]);
      rgb[2] = BlueOf(pixel[x]);
    }
    if (!rows.Put(y + 1 == h)) return std::string();
  }
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
  return !png.empty() && WriteFileSafely(Files(), pngPath, png);
}

bool BitmapFileToPng(const std::string& bmpPath, const std::string& pngPath) {
  return BitmapFileToPngLevel(bmpPath, pngPath, 100);
}

}  // namespace tov
