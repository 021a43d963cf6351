// The registry under HKEY_CURRENT_USER. Key paths are relative to that root
// and use backslashes; an empty value name is the key's default value.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tov {

enum class RegType { None, String, Binary, Other };

struct RegValue {
  RegType type = RegType::None;
  std::vector<uint8_t> data;  // strings without their terminating zero
  std::string AsString() const { return std::string(data.begin(), data.end()); }
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  virtual bool KeyExists(const std::string& key) = 0;
  // Opens the key, creating it and every missing parent; false when impossible.
  virtual bool CreateKey(const std::string& key) = 0;
  // False when the key or the value is missing.
  virtual bool ReadValue(const std::string& key, const std::string& name, RegValue* out) = 0;
  // Writes into an existing key; false when the key is missing or the write fails.
  virtual bool WriteString(const std::string& key, const std::string& name, const std::string& value) = 0;
  virtual bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) = 0;
  virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;
};

}  // namespace tov
