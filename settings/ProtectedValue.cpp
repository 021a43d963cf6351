#include "settings/ProtectedValue.h"

#include <cstdio>

#include "settings/SecHash.h"
#include "settings/SimpleCrypt.h"

namespace tov {

const char kProgramKey[] = "r7Kp!Vq2#Lm9xT4$";
static_assert(sizeof(kProgramKey) == 17, "the program key has 16 characters");

std::string FolderKey(const std::string& keyFilePath) {
  TSecDigest h = TSecHash::HashFile(keyFilePath);
  char text[33];
  std::snprintf(text, sizeof text, "%08X%08X%08X%08X", unsigned(h[3]), unsigned(h[2]), unsigned(h[1]), unsigned(h[4]));
  return std::string(text + 1, 15);
}

std::string EncipherProtectedValue(const std::string& plain, const std::string& keyFilePath) {
  std::string folderKey = FolderKey(keyFilePath);
  return TSimpleCrypt::Encrypt(folderKey, TSimpleCrypt::Encrypt(kProgramKey, plain));
}

std::string DecipherProtectedValue(const std::string& stored, const std::string& keyFilePath) {
  std::string folderKey = FolderKey(keyFilePath);
  return TSimpleCrypt::Decrypt(kProgramKey, TSimpleCrypt::Decrypt(folderKey, stored));
}

}  // namespace tov
