#include "settings/SimpleCrypt.h"

#include <cstdint>
#include <utility>

namespace tov {

namespace {

// One call's state. Words are 16 bits wide; they are held in 32-bit unsigned
// integers and cut back after every product so that nothing overflows.
class Pc1 {
 public:
  explicit Pc1(const std::string& key) {
    for (size_t i = 0; i < 16 && i < key.size(); ++i)
      k_[i] = static_cast<uint8_t>(key[i]);
  }

  // The keystream word for the next byte.
  uint32_t Schedule() {
    w_[0] = (uint32_t(k_[0]) << 8) | k_[1];
    Mix();
    uint32_t x = r_;
    for (int j = 1; j < 8; ++j) {
      w_[j] = w_[j - 1] ^ ((uint32_t(k_[2 * j]) << 8) | k_[2 * j + 1]);
      Mix();
      x ^= r_;
    }
    n_ = 0;
    return x;
  }

  void TakeIn(uint8_t v) {
    for (uint8_t& b : k_)
      b ^= v;
  }

 private:
  static uint32_t W(uint32_t v) { return v & 0xFFFF; }

  void Mix() {
    uint32_t d = W(t_ + n_), a = w_[n_], c = 0x015A, b = 0x4E35;
    std::swap(a, s_);
    std::swap(a, d);
    if (a != 0) a = W(a * b);
    std::swap(a, c);
    if (a != 0) {
      a = W(a * s_);
      c = W(a + c);
    }
    std::swap(a, s_);
    a = W(a * b);
    d = W(c + d);
    a = W(a + 1);
    t_ = d;
    w_[n_] = a;
    r_ = a ^ d;
    ++n_;
  }

  uint8_t k_[16] = {};
  uint32_t w_[8] = {};
  uint32_t s_ = 0, t_ = 0, n_ = 0, r_ = 0;
};

uint8_t Mask(uint32_t x) { return static_cast<uint8_t>((x >> 8) ^ (x & 0xFF)); }

uint8_t LetterValue(char c) {
  if (c >= 'a' && c <= 'p') return uint8_t(c - 'a');
  if (c >= 'A' && c <= 'P') return uint8_t(c - 'A');
  return 0;
}

}  // namespace

std::string TSimpleCrypt::Encrypt(const std::string& key, const std::string& data) {
  Pc1 pc1(key);
  std::string out;
  out.reserve(data.size() * 2);
  for (char ch : data) {
    uint8_t v = static_cast<uint8_t>(ch);
    uint8_t mask = Mask(pc1.Schedule());
    pc1.TakeIn(v);
    v ^= mask;
    out += char('a' + (v >> 4));
    out += char('a' + (v & 15));
  }
  return out;
}

std::string TSimpleCrypt::Decrypt(const std::string& key, const std::string& letters) {
  Pc1 pc1(key);
  std::string out;
  out.reserve(letters.size() / 2);
  for (size_t i = 0; i + 1 < letters.size(); i += 2) {
    uint8_t v = uint8_t(LetterValue(letters[i]) * 16 + LetterValue(letters[i + 1]));
    v ^= Mask(pc1.Schedule());
    pc1.TakeIn(v);
    out += char(v);
  }
  return out;
}

}  // namespace tov
