#include "settings/SettingsStore.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "base/Casefold.h"
#include "files/ProgramFolders.h"
#include "platform/Platform.h"
#include "settings/ProtectedValue.h"

namespace tov {

namespace {

bool IsTrueText(const std::string& s) { return UpperCaseText(s) == "TRUE"; }

// The folder of a path, with doubled separators taken as one.
std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos) return std::string();
  std::string dir = path.substr(0, cut);
  while (dir.size() > 3 && dir.back() == '\\')
    dir.pop_back();
  return dir;
}

}  // namespace

TSettingsStore::TSettingsStore(const std::string& folder, const std::string& name, const std::string& keyFilePath)
    : folder_(folder), name_(name), keyFilePath_(keyFilePath), settingsPath_(folder + "\\" + name + ".ini") {
  std::string dir = FolderOf(settingsPath_);
  if (!dir.empty()) ForceDirectories(Files(), dir);
  settings_ = std::make_unique<TIniFile>(settingsPath_);
  std::string templatePath = AppSubDir("Config") + "Settings.tpl";
  if (Files().FileExists(templatePath)) template_ = std::make_unique<TIniFile>(templatePath);
}

TSettingsStore::~TSettingsStore() = default;

std::string TSettingsStore::TemplateEntry(const std::string& section, const std::string& key) const {
  return template_ ? template_->ReadString(section, key, "") : std::string();
}

std::string TSettingsStore::TemplateDefault(const std::string& section, const std::string& key) const {
  return AttributeValue(TemplateEntry(section, key), "DefaultValue");
}

std::string TSettingsStore::GetString(const std::string& section, const std::string& key,
                                      const std::string& def) const {
  std::string stored = settings_->ReadWholeString(section, key, "");
  if (!stored.empty()) return stored;
  if (template_) {
    std::string d = TemplateDefault(section, key);
    if (!d.empty()) return d;
  }
  return def;
}

bool TSettingsStore::SetString(const std::string& section, const std::string& key, const std::string& value) {
  return settings_->WriteString(section, key, value);
}

bool TSettingsStore::GetBool(const std::string& section, const std::string& key, bool def) const {
  std::string stored = settings_->ReadWholeString(section, key, "");
  if (!stored.empty()) return IsTrueText(stored);
  if (template_) {
    std::string d = TemplateDefault(section, key);
    if (!d.empty()) return IsTrueText(d);
  }
  return def;
}

bool TSettingsStore::SetBool(const std::string& section, const std::string& key, bool value) {
  return SetString(section, key, value ? "True" : "False");
}

int32_t TSettingsStore::GetInteger(const std::string& section, const std::string& key, int32_t def) const {
  int32_t result = AbsentInteger;
  if (!ParseSettingInteger(settings_->ReadWholeString(section, key, ""), &result)) result = AbsentInteger;
  if (result == AbsentInteger && template_) {
    std::string d = TemplateDefault(section, key);
    if (!d.empty() && !ParseSettingInteger(d, &result)) result = def;
  }
  return result == AbsentInteger ? def : result;
}

bool TSettingsStore::SetInteger(const std::string& section, const std::string& key, int32_t value) {
  return SetString(section, key, std::to_string(value));
}

double TSettingsStore::GetFloat(const std::string& section, const std::string& key, double def) const {
  double v = 0;
  std::string stored = settings_->ReadWholeString(section, key, "");
  if (!stored.empty()) return ParseSettingFloat(stored, &v) ? v : def;
  if (template_) {
    std::string d = TemplateDefault(section, key);
    if (!d.empty()) return ParseSettingFloat(d, &v) ? v : def;
  }
  return def;
}

bool TSettingsStore::SetFloat(const std::string& section, const std::string& key, double value) {
  return SetString(section, key, FormatSettingFloat(value));
}

std::string TSettingsStore::GetCryptedString(const std::string& section, const std::string& key,
                                             const std::string& def) const {
  std::string stored = GetString(section, key, def);
  if (stored.empty()) return std::string();
  return DecipherProtectedValue(stored, keyFilePath_);
}

bool TSettingsStore::SetCryptedString(const std::string& section, const std::string& key, const std::string& plain) {
  return SetString(section, key, plain.empty() ? std::string() : EncipherProtectedValue(plain, keyFilePath_));
}

TSettingType TSettingsStore::GetFieldType(const std::string& section, const std::string& key) const {
  if (!template_) return stNone;
  return SettingTypeFromKeyword(AttributeValue(UpperCaseText(TemplateEntry(section, key)), "FIELDTYPE"));
}

int32_t TSettingsStore::GetFieldWidth(const std::string& section, const std::string& key) const {
  int32_t width = -1;
  if (!template_ || !ParseSettingInteger(AttributeValue(TemplateEntry(section, key), "FieldWidth"), &width)) return -1;
  return width;
}

std::string TSettingsStore::GetTemplateAttribute(const std::string& section, const std::string& key,
                                                 const std::string& attribute) const {
  return AttributeValue(TemplateEntry(section, key), attribute);
}

std::vector<std::string> TSettingsStore::TemplateSections() const {
  return template_ ? template_->ReadSections() : std::vector<std::string>();
}

std::string TSettingsStore::TemplateSectionName(int index) const {
  std::vector<std::string> sections = TemplateSections();
  if (index < 0 || index >= static_cast<int>(sections.size())) return std::string();
  return sections[index];
}

int TSettingsStore::TemplateSectionIndex(const std::string& name) const {
  std::vector<std::string> sections = TemplateSections();
  for (size_t i = 0; i < sections.size(); ++i)
    if (SameNameIgnoringCase(sections[i], name)) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> TSettingsStore::TemplateSectionKeys(const std::string& section) const {
  return template_ ? template_->ReadSectionKeys(section) : std::vector<std::string>();
}

std::string TSettingsStore::StoredText(const std::string& section, const std::string& key) const {
  return settings_->ReadWholeString(section, key, "");
}

std::string TSettingsStore::BackupPath() const { return folder_ + "Settings.bkp"; }

namespace {

// How a field type's value is read and written.
enum class ValueKind { None, Text, Protected, Integer, Boolean, Floating };

ValueKind KindOf(TSettingType type) {
  switch (type) {
    case stString:
    case stDate:
    case stDateTime:
    case stDirectory:
    case stFile:
    case stChoice:
    case stFixedChoice:
      return ValueKind::Text;
    case stCryptedString:
      return ValueKind::Protected;
    case stInteger:
    case stTime:
    case stColor:
    case stChoiceIndex:
      return ValueKind::Integer;
    case stBool:
      return ValueKind::Boolean;
    case stFloat:
      return ValueKind::Floating;
    case stNone:
      break;
  }
  return ValueKind::None;
}

}  // namespace

// A key's value as the backup keeps it: the text of its typed value; a
// protected value as it is stored, enciphered.
std::string TSettingsStore::BackupText(const std::string& section, const std::string& key) const {
  switch (KindOf(GetFieldType(section, key))) {
    case ValueKind::Text:
    case ValueKind::Protected:
      return GetString(section, key, "");
    case ValueKind::Integer:
      return std::to_string(GetInteger(section, key, 0));
    case ValueKind::Boolean:
      return GetBool(section, key, false) ? "TRUE" : "FALSE";
    case ValueKind::Floating:
      return FormatSettingFloat(GetFloat(section, key, 0));
    case ValueKind::None:
      break;
  }
  return std::string();
}

bool TSettingsStore::BackupValues() {
  hasBackup_ = false;
  if (!template_) return true;
  // All values go into the backup in one write.
  const std::string path = BackupPath();
  std::string bytes;
  bool exists = Files().FileExists(path);
  absentAtBackup_.clear();
  if (exists && !Files().ReadFile(path, &bytes)) return false;
  for (const std::string& section : TemplateSections()) {
    const std::vector<std::string> stored = settings_->ReadSectionKeys(section);
    if (stored.empty() && !settings_->SectionExists(section)) absentAtBackup_.emplace_back(section, std::string());
    for (const std::string& key : TemplateSectionKeys(section)) {
      bool present = false;
      for (const std::string& k : stored)
        present = present || SameNameIgnoringCase(k, key);
      if (!present) absentAtBackup_.emplace_back(section, key);
      ProfileWriteString(&bytes, section.c_str(), key.c_str(), BackupText(section, key).c_str());
    }
  }
  hasBackup_ = WriteFileSafely(Files(), path, bytes);
  return hasBackup_;
}

bool TSettingsStore::AbsentAtBackup(const std::string& section, const std::string& key) const {
  for (const auto& [s, k] : absentAtBackup_)
    if (SameNameIgnoringCase(s, section) && SameNameIgnoringCase(k, key)) return true;
  return false;
}

void TSettingsStore::RestoreValues() {
  // Without a backup of this store's own, an older one would undo more
  // than the edits since.
  if (!template_ || !hasBackup_) return;
  const TIniFile backup(BackupPath());
  for (const std::string& section : backup.ReadSections()) {
    for (const std::string& key : backup.ReadSectionKeys(section)) {
      // A key the settings file did not hold goes again, so that its
      // default applies as before.
      if (AbsentAtBackup(section, key)) {
        settings_->DeleteKey(section, key);
        continue;
      }
      std::string text = backup.ReadWholeString(section, key, "");
      // What still holds its value is left as it stands.
      if (text == BackupText(section, key)) continue;
      int32_t i = 0;
      double d = 0;
      switch (KindOf(GetFieldType(section, key))) {
        case ValueKind::Text:
        case ValueKind::Protected:  // enciphered in the backup as in the file
          SetString(section, key, text);
          break;
        case ValueKind::Integer:
          if (!text.empty()) SetInteger(section, key, ParseSettingInteger(text, &i) ? i : 0);
          break;
        case ValueKind::Boolean:
          if (!text.empty()) SetBool(section, key, IsTrueText(text));
          break;
        case ValueKind::Floating:
          if (!text.empty()) SetFloat(section, key, ParseSettingFloat(text, &d) ? d : 0);
          break;
        case ValueKind::None:
          break;
      }
    }
  }
  // A section the file did not hold goes again once it holds nothing.
  for (const auto& [section, key] : absentAtBackup_)
    if (key.empty() && settings_->ReadSectionKeys(section).empty()) settings_->EraseSection(section);
}

void TSettingsStore::DiscardBackup() {
  hasBackup_ = false;
  absentAtBackup_.clear();
  const std::string path = BackupPath();
  if (Files().FileExists(path)) Files().DeleteFile(path);
}

// ---- Attribute lists and value texts

std::vector<std::string> SplitAttributeList(const std::string& text) {
  // The list ends at a zero byte, if one slipped into the file.
  const std::string list = text.substr(0, text.find('\0'));
  auto blank = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; };
  std::vector<std::string> items;
  size_t p = 0;
  const size_t n = list.size();
  while (p < n && blank(list[p]))
    ++p;
  while (p < n) {
    std::string item;
    if (list[p] == '"') {
      ++p;
      while (p < n) {
        if (list[p] == '"') {
          if (p + 1 < n && list[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += list[p++];
      }
    } else {
      size_t b = p;
      while (p < n && !blank(list[p]) && list[p] != ',')
        ++p;
      item = list.substr(b, p - b);
    }
    items.push_back(std::move(item));
    while (p < n && blank(list[p]))
      ++p;
    if (p < n && list[p] == ',') {
      if (p + 1 == n) items.emplace_back();  // a trailing comma ends with an empty item
      ++p;
      while (p < n && blank(list[p]))
        ++p;
    }
  }
  return items;
}

std::string AttributeValue(const std::string& list, const std::string& name) {
  for (const std::string& item : SplitAttributeList(list)) {
    size_t eq = item.find('=');
    if (eq != std::string::npos && SameNameIgnoringCase(item.substr(0, eq), name)) return item.substr(eq + 1);
  }
  return std::string();
}

TSettingType SettingTypeFromKeyword(const std::string& keyword) {
  static const struct {
    const char* word;
    TSettingType type;
  } kWords[] = {
      {"INT", stInteger},
      {"INTEGER", stInteger},
      {"FLOAT", stFloat},
      {"DOUBLE", stFloat},
      {"STRING", stString},
      {"CRYPTEDSTRING", stCryptedString},
      {"BOOL", stBool},
      {"BOOLEAN", stBool},
      {"TIME", stTime},
      {"DATE", stDate},
      {"DATETIME", stDateTime},
      {"DIRECTORY", stDirectory},
      {"FILE", stFile},
      {"CHOICE", stChoice},
      {"FIXEDCHOICE", stFixedChoice},
      {"CHOICEINDEX", stChoiceIndex},
      {"COLOR", stColor},
  };
  std::string up = UpperCaseText(keyword);
  for (const auto& w : kWords)
    if (up == w.word) return w.type;
  return stNone;
}

bool ParseSettingInteger(const std::string& text, int32_t* out) {
  size_t p = 0;
  while (p < text.size() && (text[p] == ' ' || text[p] == '\t'))
    ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
  int base = 10;
  if (p < text.size() && (text[p] == '$' || text[p] == 'x' || text[p] == 'X')) {
    base = 16;
    ++p;
  } else if (p + 1 < text.size() && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
    base = 16;
    p += 2;
  }
  if (p == text.size()) return false;
  int64_t value = 0;
  for (; p < text.size(); ++p) {
    char c = text[p];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    value = value * base + digit;
    if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) return false;
  *out = static_cast<int32_t>(value);
  return true;
}

bool ParseSettingFloat(const std::string& text, double* out) {
  const char sep = System().DecimalSeparator();
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t'))
    ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
    --e;
  // sign, digits, separator and digits, exponent: rebuilt in the C form.
  std::string c;
  size_t p = b;
  if (p < e && (text[p] == '-' || text[p] == '+')) c += text[p++];
  size_t digits = 0;
  while (p < e && text[p] >= '0' && text[p] <= '9')
    c += text[p++], ++digits;
  if (p < e && text[p] == sep) {
    c += '.';
    ++p;
    while (p < e && text[p] >= '0' && text[p] <= '9')
      c += text[p++], ++digits;
  }
  if (digits == 0) return false;
  if (p < e && (text[p] == 'e' || text[p] == 'E')) {
    c += 'e';
    ++p;
    if (p < e && (text[p] == '-' || text[p] == '+')) c += text[p++];
    size_t expDigits = 0;
    while (p < e && text[p] >= '0' && text[p] <= '9')
      c += text[p++], ++expDigits;
    if (expDigits == 0) return false;
  }
  if (p != e) return false;
  const char* first = c.data() + (c[0] == '+' ? 1 : 0);
  double v = 0;
  auto [ptr, ec] = std::from_chars(first, c.data() + c.size(), v);
  if (ec != std::errc() || ptr != c.data() + c.size()) return false;
  *out = v;
  return true;
}

std::string FormatSettingFloat(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  std::string s = buf;
  // "1.5E+020" style exponents become "1.5E20" / "1E-7".
  size_t ex = s.find('E');
  if (ex != std::string::npos && ex + 1 < s.size()) {
    std::string mant = s.substr(0, ex), exp = s.substr(ex + 1);
    bool neg = exp[0] == '-';
    if (exp[0] == '-' || exp[0] == '+') exp.erase(0, 1);
    while (exp.size() > 1 && exp[0] == '0')
      exp.erase(0, 1);
    s = mant + "E" + (neg ? "-" : "") + exp;
  }
  size_t dot = s.find('.');
  if (dot != std::string::npos) s[dot] = System().DecimalSeparator();
  return s;
}

}  // namespace tov
