// Names spelt two ways, in Windows-1252, and whether the system takes them
// for the same name. The host tests run them through the headless file
// system, registry and INI layer; the Windows build runs them through the
// system's own calls as well and requires the same answers.
#pragma once
#include <string>
#include <vector>

namespace tov::testing {

struct NameCase {
  std::string stored;  // as created
  std::string asked;   // as looked up
  bool sameName;       // files and registry: every letter of the code page folds
  bool sameAscii;      // INI sections and keys: ASCII letters only
};

inline std::vector<NameCase> NameCaseTable() {
  return {
      {"Readme.txt", "rEADME.TXT", true, true},
      {"\x8Ao\xE0.txt", "\x9AO\xC0.TXT", true, false},  // S caron, a grave
      {"\x9Cuvre.txt", "\x8CUVRE.TXT", true, false},    // oe
      {"\x8E"
       "emlja.txt",
       "\x9E"
       "EMLJA.TXT",
       true, false},                                // Z caron
      {"\x9Fves.txt", "\xFFVES.TXT", true, false},  // Y diaeresis, at 0x9F and 0xFF
      {"\xFEorn.txt", "\xDEORN.TXT", true, false},  // thorn
      {"\xF0"
       "e.txt",
       "\xD0"
       "E.TXT",
       true, false},                                    // eth
      {"\xC6sir.txt", "\xE6SIR.TXT", true, false},      // ae
      {"\xE9t\xE9.txt", "\xC9T\xC9.TXT", true, false},  // e acute
      {"a\xF7"
       "b.txt",
       "a\xD7"
       "b.txt",
       false, false},  // division and multiplication signs are no letters
      {"stra\xDF"
       "e.txt",
       "STRASSE.TXT", false, false},          // sharp s has no capital here
      {"\xB5m.txt", "MM.TXT", false, false},  // micro sign: its capital lies outside the code page
      {"\x83x.txt", "Fx.txt", false, false},  // f hook is not F
  };
}

}  // namespace tov::testing
