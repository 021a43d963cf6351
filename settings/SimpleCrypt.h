// The PC1 stream cipher with its 128-bit key. Enciphered bytes are written as
// two letters each, "a" (0) to "p" (15), the high half first. The key block
// takes every plain byte in, so each byte's keystream depends on all before it.
#pragma once
#include <string>

namespace tov {

class TSimpleCrypt {
 public:
  // The key text counts up to its first 16 bytes; a shorter key is padded with
  // zero bytes. Any length of data is accepted.
  static std::string Encrypt(const std::string& key, const std::string& data);
  // Letters back to bytes; a last single letter is ignored. Upper-case "A" to
  // "P" read like their small letters; any other character reads as 0.
  static std::string Decrypt(const std::string& key, const std::string& letters);
};

}  // namespace tov
