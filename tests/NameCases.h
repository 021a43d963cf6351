// Names spelt two ways, in UTF-8, and whether the system takes them for the
// same name. The host tests run them through the headless file system,
// registry and INI layer; the Windows build runs them through the system's
// own calls as well and requires the same answers.
#pragma once
#include <string>
#include <vector>

namespace tov::testing {

struct NameCase {
  std::string stored;  // as created
  std::string asked;   // as looked up
  bool sameName;       // files and registry: the letters of Unicode fold
  bool sameAscii;      // INI sections and keys: ASCII letters only
};

inline std::vector<NameCase> NameCaseTable() {
  return {
      {"Readme.txt", "rEADME.TXT", true, true},
      {"\u0160o\u00E0.txt", "\u0161O\u00C0.TXT", true, false},  // S caron, a grave
      {"\u0152uvre.txt", "\u0153UVRE.TXT", true, false},        // oe
      {"\u017Demlja.txt", "\u017EEMLJA.TXT", true, false},
      {"\u0178ves.txt", "\u00FFVES.TXT", true, false},  // y diaeresis, its capital outside Latin-1
      {"\u00FEorn.txt", "\u00DEORN.TXT", true, false},
      {"\u00F0e.txt", "\u00D0E.TXT", true, false},
      {"\u00C6sir.txt", "\u00E6SIR.TXT", true, false},
      {"\u00E9t\u00E9.txt", "\u00C9T\u00C9.TXT", true, false},
      {"a\u00F7b.txt", "a\u00D7b.txt", false, false},  // division and multiplication signs are no letters
      {"\u0192x.txt", "Fx.txt", false, false},         // f hook is not F
      // Cyrillic, Greek.
      {"\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B.lnk",
       "\u0414\u041E\u041A\u0423\u041C\u0415\u041D\u0422\u042B.LNK", true, false},
      {"\u0451\u043B\u043A\u0430.txt", "\u0401\u041B\u041A\u0410.txt", true, false},
      {"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.lnk", "\u0395\u039B\u039B\u0397\u039D\u0399\u039A\u0386.LNK",
       true, false},  // alpha with tonos
      {"\u03BB\u03CC\u03B3\u03BF\u03C2.txt", "\u039B\u038C\u0393\u039F\u03A3.txt", false,
       false},                                       // final sigma folds to nothing
      {"\u00B5m.txt", "\u039Cm.txt", false, false},  // the micro sign is not Greek mu
      {"\u03BCm.txt", "\u039Cm.txt", true, false},   // Greek mu is
      // Turkish dotted and dotless i: only i and I fold together.
      {"istanbul.txt", "ISTANBUL.TXT", true, true},
      {"\u0131rmak.txt", "IRMAK.TXT", false, false},
      {"\u0130zmir.txt", "izmir.txt", false, false},
      {"\u0130zmir.txt", "\u0130ZMIR.TXT", true, true},
      // German sharp s: no capital of one letter, not even the capital sharp s.
      {"stra\u00DFe.txt", "STRASSE.TXT", false, false},
      {"Ma\u00DF.txt", "MA\u1E9E.TXT", false, false},
      {"Ma\u00DF.txt", "mA\u00DF.TXT", true, true},
      // Other scripts; characters beyond U+FFFF keep their case.
      {"\u65E5\u672C\u8A9E.lnk", "\u65E5\u672C\u8A9E.LNK", true, true},
      {"\uFF41\uFF42.txt", "\uFF21\uFF22.txt", true, false},  // full-width letters
      {"\u212A.txt", "k.txt", false, false},                  // the Kelvin sign
      {"\U0001F600a.txt", "\U0001F600A.txt", true, true},
      {"\U00010428.txt", "\U00010400.txt", false, false},  // Deseret
  };
}

}  // namespace tov::testing
