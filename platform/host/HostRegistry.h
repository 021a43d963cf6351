// A persistent registry in one host file. Key and value names keep their
// spelling but are matched without regard to letter case over all of Unicode
// (SameNameIgnoringCase), as the system's registry matches them;
// tests/win32/NameCaseTest.cpp checks the rule against the system.
#pragma once
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "platform/Registry.h"

namespace tov::host {

class HostRegistry : public IRegistry {
 public:
  explicit HostRegistry(std::filesystem::path file);

  bool KeyExists(const std::string& key) override;
  bool CreateKey(const std::string& key) override;
  bool ReadValue(const std::string& key, const std::string& name, RegValue* out) override;
  bool WriteString(const std::string& key, const std::string& name, const std::string& value) override;
  bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) override;
  bool DeleteValue(const std::string& key, const std::string& name) override;

  // Writes a value of any type, for tests that plant odd data.
  bool WriteRaw(const std::string& key, const std::string& name, RegType type, const std::vector<uint8_t>& data);
  // Keys (and their sub-keys) that cannot be opened or created.
  void DenyKey(const std::string& key);
  const std::filesystem::path& File() const { return file_; }

 private:
  struct Value {
    std::string name;
    RegValue value;
  };
  struct Key {
    std::string name;
    std::map<std::string, Value> values;  // by lower-case name
  };
  static std::string Normalize(const std::string& key);
  bool Denied(const std::string& norm) const;
  void Load();
  void Save() const;

  std::filesystem::path file_;
  std::map<std::string, Key> keys_;  // by normalised lower-case path
  std::set<std::string> denied_;
};

}  // namespace tov::host
