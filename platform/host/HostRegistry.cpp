#include "platform/host/HostRegistry.h"

#include <fstream>
#include <sstream>

#include "base/Casefold.h"

namespace tov::host {

namespace {

const char* TypeName(RegType t) {
  switch (t) {
    case RegType::String:
      return "sz";
    case RegType::Binary:
      return "bin";
    case RegType::Other:
      return "other";
    case RegType::None:
      break;
  }
  return "none";
}

RegType TypeFromName(const std::string& s) {
  if (s == "sz") return RegType::String;
  if (s == "bin") return RegType::Binary;
  if (s == "other") return RegType::Other;
  return RegType::None;
}

std::string Hex(const std::string& s) {
  static const char* d = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out += d[c >> 4];
    out += d[c & 15];
  }
  return out;
}

std::string Unhex(const std::string& s) {
  std::string out;
  for (size_t i = 0; i + 1 < s.size(); i += 2)
    out += char(std::stoi(s.substr(i, 2), nullptr, 16));
  return out;
}

}  // namespace

HostRegistry::HostRegistry(std::filesystem::path file) : file_(std::move(file)) { Load(); }

std::string HostRegistry::Normalize(const std::string& key) {
  std::string out;
  for (char c : key) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == '\\')
    out.pop_back();
  return LowerCaseText(out);
}

bool HostRegistry::Denied(const std::string& norm) const {
  for (const std::string& d : denied_) {
    if (norm == d || norm.compare(0, d.size() + 1, d + "\\") == 0) return true;
  }
  return false;
}

void HostRegistry::DenyKey(const std::string& key) { denied_.insert(Normalize(key)); }

bool HostRegistry::KeyExists(const std::string& key) {
  std::string n = Normalize(key);
  return !Denied(n) && keys_.count(n) > 0;
}

bool HostRegistry::CreateKey(const std::string& key) {
  std::string n = Normalize(key);
  if (n.empty() || Denied(n)) return false;
  // Create every parent as well, keeping the caller's spelling.
  std::string spelled;
  for (char c : key) {
    if (c == '\\' && (spelled.empty() || spelled.back() == '\\')) continue;
    spelled += c;
  }
  while (!spelled.empty() && spelled.back() == '\\')
    spelled.pop_back();
  bool changed = false;
  for (size_t pos = 0;; ++pos) {
    pos = spelled.find('\\', pos);
    std::string part = pos == std::string::npos ? spelled : spelled.substr(0, pos);
    std::string pn = Normalize(part);
    if (!keys_.count(pn)) {
      keys_[pn].name = part;
      changed = true;
    }
    if (pos == std::string::npos) break;
  }
  if (changed) Save();
  return true;
}

bool HostRegistry::ReadValue(const std::string& key, const std::string& name, RegValue* out) {
  std::string n = Normalize(key);
  if (Denied(n)) return false;
  auto k = keys_.find(n);
  if (k == keys_.end()) return false;
  auto v = k->second.values.find(LowerCaseText(name));
  if (v == k->second.values.end()) return false;
  *out = v->second.value;
  return true;
}

bool HostRegistry::WriteRaw(const std::string& key, const std::string& name, RegType type,
                            const std::vector<uint8_t>& data) {
  std::string n = Normalize(key);
  if (Denied(n)) return false;
  auto k = keys_.find(n);
  if (k == keys_.end()) return false;
  Value& v = k->second.values[LowerCaseText(name)];
  if (v.name.empty()) v.name = name;
  v.value.type = type;
  v.value.data = data;
  Save();
  return true;
}

bool HostRegistry::WriteString(const std::string& key, const std::string& name, const std::string& value) {
  return WriteRaw(key, name, RegType::String, std::vector<uint8_t>(value.begin(), value.end()));
}

bool HostRegistry::WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) {
  return WriteRaw(key, name, RegType::Binary, value);
}

bool HostRegistry::DeleteValue(const std::string& key, const std::string& name) {
  std::string n = Normalize(key);
  if (Denied(n)) return false;
  auto k = keys_.find(n);
  if (k == keys_.end()) return false;
  if (!k->second.values.erase(LowerCaseText(name))) return false;
  Save();
  return true;
}

// File format, one line each: "K <hex key>" opens a key, "V <hex name> <type> <hex data>" a value.
void HostRegistry::Load() {
  std::ifstream in(file_);
  std::string line;
  Key* cur = nullptr;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string tag, a, b, c;
    ls >> tag >> a;
    if (tag == "K") {
      std::string name = Unhex(a == "-" ? "" : a);
      cur = &keys_[Normalize(name)];
      cur->name = name;
    } else if (tag == "V" && cur) {
      ls >> b >> c;
      std::string name = a == "-" ? "" : Unhex(a);
      std::string data = c == "-" ? "" : Unhex(c);
      Value& v = cur->values[LowerCaseText(name)];
      v.name = name;
      v.value.type = TypeFromName(b);
      v.value.data.assign(data.begin(), data.end());
    }
  }
}

void HostRegistry::Save() const {
  std::ofstream out(file_, std::ios::trunc);
  for (const auto& [norm, key] : keys_) {
    out << "K " << (key.name.empty() ? "-" : Hex(key.name)) << "\n";
    for (const auto& [lname, v] : key.values) {
      std::string data(v.value.data.begin(), v.value.data.end());
      out << "V " << (v.name.empty() ? "-" : Hex(v.name)) << " " << TypeName(v.value.type) << " "
          << (data.empty() ? "-" : Hex(data)) << "\n";
    }
  }
}

}  // namespace tov::host
