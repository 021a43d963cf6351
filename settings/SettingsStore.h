// The typed settings store: named values in sections of an INI settings file,
// read through typed getters that fall back on the template's default and then
// on the caller's, and written at once by the setters (no cache, no save step).
// The template Settings.tpl in the program's "Config" folder declares for every
// key its field type, default, editor width and a few more attributes; it also
// gives the pages and rows of the settings dialog and their translated texts.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "settings/IniFile.h"

namespace tov {

// The kind of value of a key, from the FieldType attribute of its template entry.
enum TSettingType {
  stNone,
  stInteger,
  stFloat,
  stString,
  stCryptedString,
  stBool,
  stTime,
  stDate,
  stDateTime,
  stDirectory,
  stFile,
  stChoice,
  stFixedChoice,
  stChoiceIndex,
  stColor,
};

// Marks "no usable integer": a stored 969696 reads as no value.
constexpr int32_t AbsentInteger = 969696;

class TSettingsStore {
 public:
  // folder ends with a path separator; name is the file name without ".ini"
  // and may hold a sub-folder ("Brenvoll\Tovira"); keyFilePath keys the
  // protected values (empty for a store that holds none). Creates the missing
  // folders of the settings path and opens the template if it exists now.
  TSettingsStore(const std::string& folder, const std::string& name, const std::string& keyFilePath);
  ~TSettingsStore();
  TSettingsStore(const TSettingsStore&) = delete;
  TSettingsStore& operator=(const TSettingsStore&) = delete;

  // folder + "\" + name + ".ini" (with the separator doubled, as Windows takes it).
  const std::string& IniFileName() const { return settingsPath_; }
  const std::string& ConfigFolder() const { return folder_; }
  const std::string& KeyFilePath() const { return keyFilePath_; }
  bool HasTemplate() const { return template_ != nullptr; }

  // The text the settings file holds for the key, whole; empty when it holds
  // none (no default applies).
  std::string StoredText(const std::string& section, const std::string& key) const;
  // Typed values, read whole however long; every setter answers false when
  // the file cannot be written.
  std::string GetString(const std::string& section, const std::string& key, const std::string& def) const;
  bool SetString(const std::string& section, const std::string& key, const std::string& value);
  bool GetBool(const std::string& section, const std::string& key, bool def) const;
  bool SetBool(const std::string& section, const std::string& key, bool value);
  int32_t GetInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool SetInteger(const std::string& section, const std::string& key, int32_t value);
  double GetFloat(const std::string& section, const std::string& key, double def) const;
  bool SetFloat(const std::string& section, const std::string& key, double value);
  // Protected values: stored enciphered (letters "a" to "p"), read back plain.
  std::string GetCryptedString(const std::string& section, const std::string& key, const std::string& def) const;
  bool SetCryptedString(const std::string& section, const std::string& key, const std::string& plain);

  // Template queries.
  TSettingType GetFieldType(const std::string& section, const std::string& key) const;
  int32_t GetFieldWidth(const std::string& section, const std::string& key) const;  // -1 when unknown
  // The named attribute as written (not upper-cased); empty when absent.
  std::string GetTemplateAttribute(const std::string& section, const std::string& key,
                                   const std::string& attribute) const;
  std::string TemplateSectionName(int index) const;         // empty when out of range
  int TemplateSectionIndex(const std::string& name) const;  // -1 when absent
  std::vector<std::string> TemplateSectionKeys(const std::string& section) const;
  std::vector<std::string> TemplateSections() const;

  // Translated captions and hints of the template's sections and keys.
  std::vector<std::string> SectionCaptions() const;
  std::string FieldCaption(const std::string& section, const std::string& key) const;
  std::string FieldHint(const std::string& section, const std::string& key) const;
  std::string ConfigText(const std::string& section, const std::string& name, const std::string& def) const;

  // Copies every template key's current value into Settings.bkp in the store
  // folder (protected values enciphered, as the settings file holds them),
  // and writes those values back; both do nothing without a template.
  // Restoring writes only the values that changed since, and takes out again
  // the keys and sections the settings file did not hold at the backup, so
  // that the file returns to what it was. Restoring does nothing unless this
  // store's last backup was written (false from BackupValues).
  bool BackupValues();
  void RestoreValues();
  // Deletes Settings.bkp; restoring does nothing until the next backup.
  void DiscardBackup();

 private:
  std::string TemplateEntry(const std::string& section, const std::string& key) const;
  std::string TemplateDefault(const std::string& section, const std::string& key) const;
  std::string BackupPath() const;
  std::string BackupText(const std::string& section, const std::string& key) const;
  bool AbsentAtBackup(const std::string& section, const std::string& key) const;

  std::string folder_;
  std::string name_;
  std::string keyFilePath_;
  std::string settingsPath_;
  std::unique_ptr<TIniFile> settings_;
  std::unique_ptr<TIniFile> template_;  // none when Settings.tpl did not exist at creation
  // What the settings file lacked at the last backup: (section, key), and
  // (section, "") for a whole section.
  std::vector<std::pair<std::string, std::string>> absentAtBackup_;
  bool hasBackup_ = false;
};

// The items of a template attribute list ("FieldType=BOOL,DefaultValue=FALSE"),
// split by its quoting rules.
std::vector<std::string> SplitAttributeList(const std::string& list);
// The text after the first "=" of the first item whose name equals `name`
// (without regard to case); empty when there is none.
std::string AttributeValue(const std::string& list, const std::string& name);
// The field type named by a FieldType keyword (any case); stNone when unknown.
TSettingType SettingTypeFromKeyword(const std::string& keyword);

// Integer text: blanks, an optional sign, then decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X", nothing after; must fit 32 bits.
bool ParseSettingInteger(const std::string& text, int32_t* out);
// Floating text with the locale's decimal separator (System().DecimalSeparator()).
bool ParseSettingFloat(const std::string& text, double* out);
// General floating format: up to 15 significant digits, locale decimal separator.
std::string FormatSettingFloat(double value);

}  // namespace tov
