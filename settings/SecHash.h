// SHA-1 (FIPS 180-1) of a file's whole content.
#pragma once
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tov {

// Raised when the file to hash cannot be read.
class ESecHashException : public std::runtime_error {
 public:
  ESecHashException() : std::runtime_error("File not found !") {}
};

using TSecDigest = std::array<uint32_t, 5>;  // H0 to H4

class TSecHash {
 public:
  // The digest of the bytes of a file named by a program path (tov::Files()).
  static TSecDigest HashFile(const std::string& path);
  static TSecDigest HashBytes(const std::string& bytes);
};

// The digest as 40 lower-case hexadecimal digits, as sha1sum prints it.
std::string DigestHex(const TSecDigest& d);

}  // namespace tov
