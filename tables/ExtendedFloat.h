// The 80-bit extended-precision float of table files: a 64-bit significand
// with an explicit integer bit, then the 15-bit biased exponent and the sign
// bit in the last two bytes, little-endian.
#pragma once
#include <cstdint>

namespace tov {

void EncodeExtended(double value, uint8_t out[10]);
// Values beyond the range of a double become infinities; values below it, zero.
double DecodeExtended(const uint8_t in[10]);

}  // namespace tov
