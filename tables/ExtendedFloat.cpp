#include "tables/ExtendedFloat.h"

#include <cmath>
#include <limits>

namespace tov {

void EncodeExtended(double value, uint8_t out[10]) {
  uint64_t mantissa = 0;
  uint16_t exponent = 0;
  const bool negative = std::signbit(value);
  if (std::isnan(value)) {
    exponent = 0x7FFF;
    mantissa = 0xC000000000000000ULL;
  } else if (std::isinf(value)) {
    exponent = 0x7FFF;
    mantissa = 0x8000000000000000ULL;
  } else if (value != 0.0) {
    int e = 0;
    double m = std::frexp(std::fabs(value), &e);  // m in [0.5, 1)
    mantissa = uint64_t(std::ldexp(m, 64));       // exact: m has at most 53 bits
    exponent = uint16_t(e - 1 + 16383);
  }
  for (int i = 0; i < 8; ++i)
    out[i] = uint8_t(mantissa >> (8 * i));
  uint16_t top = uint16_t(exponent | (negative ? 0x8000 : 0));
  out[8] = uint8_t(top & 0xFF);
  out[9] = uint8_t(top >> 8);
}

double DecodeExtended(const uint8_t in[10]) {
  uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i)
    mantissa |= uint64_t(in[i]) << (8 * i);
  const uint16_t top = uint16_t(in[8] | (in[9] << 8));
  const bool negative = (top & 0x8000) != 0;
  const int exponent = top & 0x7FFF;
  double r;
  if (exponent == 0x7FFF) {
    r = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
  } else if (mantissa == 0) {
    r = 0.0;
  } else {
    // value = mantissa * 2^(exponent - 16383 - 63); denormals use exponent 1.
    const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
    if (e > 2000)
      r = std::numeric_limits<double>::infinity();
    else if (e < -2200)
      r = 0.0;
    else
      r = std::ldexp(double(mantissa), e);
  }
  return negative ? -r : r;
}

}  // namespace tov
