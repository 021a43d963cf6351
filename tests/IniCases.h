// One table of INI files and profile calls with the answers Windows gives.
// The host tests run it through our INI layer; the Windows build runs it
// through GetPrivateProfileStringA / WritePrivateProfileStringA as well and
// requires the same answers and, where Windows' bytes are known, the same
// file bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tov::testing {

using namespace std::string_literals;

struct IniStep {
  bool write = false;
  const char* section = nullptr;  // null: list the sections (reads) or refuse (writes)
  const char* key = nullptr;      // null: list the keys (reads) or delete the section (writes)
  const char* text = nullptr;     // the default (reads) or the value (writes; null deletes the key)
  uint32_t size = 260;            // buffer size of a read
  uint32_t ret = 0;               // what the read answers
  std::string expect;             // the buffer bytes Windows fills: the text and its zero byte(s)
  // Wine answers this read differently from Windows (documented where the
  // case is built); under Wine only our answer is checked against `expect`.
  bool wineDiffers = false;
  // Wine's ANSI call leaves the second zero byte of a cut listing unwritten:
  // under Wine the answer and the bytes before that one are compared.
  bool wineLeavesLastZero = false;
};

enum class IniBytes {
  None,            // no write: nothing to compare
  Windows,         // Windows is known to write exactly these bytes, and so does Wine
  WindowsNotWine,  // Windows is known to write these bytes; Wine rewrites the file its own way
  Ours,            // Windows' bytes are not documented: our bytes are checked, not compared
};

struct IniCase {
  IniCase(std::string n, std::string f, bool e, std::vector<IniStep> s)
      : name(std::move(n)), file(std::move(f)), exists(e), steps(std::move(s)) {}
  std::string name;
  std::string file;  // initial bytes
  bool exists = true;
  std::vector<IniStep> steps;
  IniBytes bytes = IniBytes::None;
  std::string expectFile;  // the file after the writes
  // Names with letters beyond ASCII, in UTF-8: compared with the system only
  // when it reads narrow files as UTF-8 (a program declaring code page 65001).
  bool needsUtf8 = false;
};

inline IniStep Read(const char* section, const char* key, const char* def, uint32_t size, uint32_t ret,
                    std::string expect, bool wineDiffers = false) {
  IniStep s;
  s.section = section;
  s.key = key;
  s.text = def;
  s.size = size;
  s.ret = ret;
  s.expect = std::move(expect);
  s.wineDiffers = wineDiffers;
  return s;
}

// A listing cut to a small buffer.
inline IniStep CutList(const char* section, uint32_t size, uint32_t ret, std::string expect) {
  IniStep s = Read(section, nullptr, nullptr, size, ret, std::move(expect));
  s.wineLeavesLastZero = true;
  return s;
}

// A value read with a large buffer: the text and one zero byte.
inline IniStep Get(const char* section, const char* key, const char* def, const std::string& value,
                   bool wineDiffers = false) {
  return Read(section, key, def, 260, uint32_t(value.size()), value + '\0', wineDiffers);
}

// A listing read with a large buffer: each name with its zero, then one more.
inline IniStep List(const char* section, std::vector<std::string> names, bool wineDiffers = false) {
  std::string all;
  for (const std::string& n : names)
    all += n + '\0';
  uint32_t ret = uint32_t(all.size());
  all += '\0';
  if (names.empty()) all = "\0"s;
  return Read(section, nullptr, nullptr, 260, ret, all, wineDiffers);
}

// A file in UTF-16 little endian with its byte order mark.
inline std::string Utf16File(const std::u16string& text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out += char(c & 0xFF);
    out += char(c >> 8);
  }
  return out;
}

inline IniStep Put(const char* section, const char* key, const char* value) {
  IniStep s;
  s.write = true;
  s.section = section;
  s.key = key;
  s.text = value;
  return s;
}

inline std::vector<IniCase> IniParityCases() {
  const std::string b1 = "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";
  const std::string cr = "[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r";
  const std::string three = "[section1]\r\n[section2]\r\n[section3]\r\n";
  const std::string longValue(3000, 'x');
  const std::string value2047(2047, 'y');
  static const std::string longText = std::string(3000, 'z');
  std::vector<IniCase> c;

  // ---- Reading a plain CR LF file
  c.push_back({"value", b1, true, {Get("section1", "name1", "default", "val1")}});
  c.push_back({"double quotes stripped", b1, true, {Get("section1", "name2", "default", "val2")}});
  c.push_back({"names ignore case", b1, true, {Get("SECTION1", "NaMe1", "default", "val1")}});
  c.push_back({"missing key and section give the default",
               b1,
               true,
               {Get("section1", "notakey", "default", "default"), Get("notasection", "name1", "default", "default")}});
  c.push_back({"line without = reads as missing", b1, true, {Get("section1", "name3", "default", "default")}});
  c.push_back({"default loses trailing spaces only",
               b1,
               true,
               {Get("section1", "x", "default  ", "default"), Get("section1", "x", "  one two  ", "  one two"),
                Get("section1", "x", nullptr, "")}});
  c.push_back({"sections listed", b1, true, {List(nullptr, {"section1", "section2"})}});
  c.push_back({"keys listed without lines lacking =", b1, true, {List("section1", {"name1", "name2", "name4"})}});
  // Wine's ANSI call leaves the second zero byte of a cut listing unwritten.
  c.push_back({"section listing cut to the buffer", b1, true, {CutList(nullptr, 16, 14, "section1\0secti\0\0"s)}});
  c.push_back({"key listing cut to the buffer", b1, true, {CutList("section1", 16, 14, "name1\0name2\0na\0\0"s)}});
  // Windows needs room for the final zero byte and one more.
  c.push_back({"listing that just fits counts as cut",
               three,
               true,
               {Read(nullptr, nullptr, nullptr, 29, 27, "section1\0section2\0section3\0\0"s),
                CutList(nullptr, 28, 26, "section1\0section2\0section3\0\0"s),
                CutList(nullptr, 27, 25, "section1\0section2\0section\0\0"s)}});
  c.push_back(
      {"value cut to the buffer",
       b1,
       true,
       {Read("section1", "name1", "default", 4, 3, "val\0"s), Read("section1", "name1", "default", 5, 4, "val1\0"s),
        Read("section1", "name4", "default", 1, 0, "\0"s)}});
  c.push_back({"file without sections or bytes", "", true, {List(nullptr, {}), Get("s", "k", "d", "d")}});
  c.push_back({"missing file", "", false, {List(nullptr, {}), Get("s", "k", "dflt", "dflt")}});

  // ---- Line breaks
  c.push_back({"CR only file",
               cr,
               true,
               {Get("section1", "name2", nullptr, "val2"), List("section1", {"name1", "name2", "name4"}),
                List(nullptr, {"section1", "section2"})}});
  c.push_back({"LF only file", "[a]\nk=v\n[b]\nx=1\n", true, {Get("b", "x", nullptr, "1"), List(nullptr, {"a", "b"})}});
  c.push_back({"mixed line breaks",
               "[a]\r\nk=v\n[b]\rx=1\r\n",
               true,
               {Get("a", "k", nullptr, "v"), Get("b", "x", nullptr, "1")}});
  c.push_back({"last line without line break", "[a]\r\nk=v", true, {Get("a", "k", nullptr, "v")}});

  // ---- Blanks
  c.push_back({"blanks around key and value",
               "[s]\r\n  \t key  =   value  \r\n",
               true,
               {Get("s", "key", nullptr, "value"), List("s", {"key"})}});
  c.push_back({"blanks around and inside the section header",
               "  [  sec  ]  \r\nk=v\r\n",
               true,
               {Get("sec", "k", nullptr, "v"), List(nullptr, {"sec"})}});
  c.push_back(
      {"caller's names lose their spaces", "[sec]\r\nkey=v\r\n", true, {Get("  sec  ", "  key  ", nullptr, "v")}});
  c.push_back({"blank lines everywhere",
               "\r\n\r\n[s]\r\n\r\n\r\nk=v\r\n\r\n\r\n[t]\r\n\r\n",
               true,
               {Get("s", "k", nullptr, "v"), List("s", {"k"}), List(nullptr, {"s", "t"})}});
  c.push_back({"empty value is a value",
               "[s]\r\nk=\r\nq=\"\"\r\n",
               true,
               {Get("s", "k", "d", ""), Get("s", "q", "d", ""), List("s", {"k", "q"})}});

  // ---- Quotes
  c.push_back({"single quotes stripped, blanks inside kept",
               "[s]\r\nk=  '  v  '  \r\n",
               true,
               {Get("s", "k", nullptr, "  v  ")}});
  c.push_back({"mismatched quotes kept",
               "[s]\r\na=\"v'\r\nb='v\"\r\nc=\"v\r\n",
               true,
               {Get("s", "a", nullptr, "\"v'"), Get("s", "b", nullptr, "'v\""), Get("s", "c", nullptr, "\"v")}});
  c.push_back({"only the outer quotes go",
               "[s]\r\nk=\"'v'\"\r\nq='\"\"'\r\n",
               true,
               {Get("s", "k", nullptr, "'v'"), Get("s", "q", nullptr, "\"\"")}});
  c.push_back({"a lone quote stays", "[s]\r\nk=\"\r\n", true, {Get("s", "k", nullptr, "\"")}});
  c.push_back({"quotes inside a value stay", "[s]\r\nk=a \"b\" c\r\n", true, {Get("s", "k", nullptr, "a \"b\" c")}});

  // ---- Long values
  c.push_back({"value cut to 2047 characters",
               "[s]\r\nk=" + longValue + "\r\n",
               true,
               {Read("s", "k", nullptr, 2048, 2047, std::string(2047, 'x') + '\0')}});
  c.push_back({"quoted long value cut",
               "[s]\r\nk=\"" + longValue + "\"\r\n",
               true,
               {Read("s", "k", nullptr, 2048, 2047, std::string(2047, 'x') + '\0')}});
  c.push_back({"value of 2047 characters whole",
               "[s]\r\nk=" + value2047 + "\r\n",
               true,
               {Read("s", "k", nullptr, 2048, 2047, value2047 + '\0')}});

  // ---- Comments and odd lines
  // Windows ignores a line starting with ";" altogether; Wine keeps it as a
  // key named ";k" that a lookup finds (it only leaves it out of listings).
  c.push_back({"comment lines are ignored",
               "[s]\r\n;k=v\r\n  ;j=w\r\nk2=v2\r\n",
               true,
               {Get("s", ";k", "d", "d", true), Get("s", "k", "d", "d"), List("s", {"k2"})}});
  c.push_back({"semicolon inside names and values",
               "[a;b]\r\nk;x=v;w\r\n",
               true,
               {Get("a;b", "k;x", nullptr, "v;w"), List(nullptr, {"a;b"})}});
  c.push_back({"hash is no comment", "[s]\r\n#k=v\r\n", true, {Get("s", "#k", nullptr, "v"), List("s", {"#k"})}});
  c.push_back({"lines before the first section are ignored",
               "k=outside\r\n[s]\r\nk=inside\r\n",
               true,
               {Get("s", "k", nullptr, "inside"), List(nullptr, {"s"})}});
  c.push_back({"text after ] is ignored",
               "[s]k=v\r\n[t] junk\r\nj=w\r\n",
               true,
               {Get("s", "k", "d", "d"), Get("t", "j", nullptr, "w"), List(nullptr, {"s", "t"})}});
  c.push_back(
      {"section without [ is a plain line", "sec]\r\nk=v\r\n", true, {Get("sec", "k", "d", "d"), List(nullptr, {})}});
  c.push_back({"utf-8 byte order mark spoils the first line",
               "\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nj=w\r\n",
               true,
               {Get("s", "k", "d", "d", true), Get("t", "j", nullptr, "w")}});

  // ---- Duplicates
  c.push_back({"first of duplicate keys wins",
               "[s]\r\nk=1\r\nK=2\r\n",
               true,
               {Get("s", "k", nullptr, "1"), List("s", {"k", "K"})}});
  c.push_back(
      {"only the first of duplicate sections counts",
       "[s]\r\na=1\r\n[t]\r\n[S]\r\nb=2\r\n",
       true,
       {Get("s", "b", "d", "d"), Get("s", "a", nullptr, "1"), List(nullptr, {"s", "t", "S"}), List("s", {"a"})}});

  // ---- Letter case beyond ASCII
  // Names of a UTF-8 file ignore the case of ASCII letters only.
  {
    IniCase a{"accented letters keep their case",
              "[Citt\u00E0]\r\nPerch\u00E9=s\u00EC\r\n",
              true,
              {Get("CITT\u00C0", "Perch\u00E9", "d", "d"), Get("citt\u00E0", "PERCH\u00E9", nullptr, "s\u00EC")}};
    a.needsUtf8 = true;
    c.push_back(a);
  }

  // ---- Files in UTF-16: Windows reads and writes them as Unicode
  c.push_back(
      {"utf-16 file read",
       Utf16File(u"[s]\r\nk = v \r\n;c=x\r\n[t]\r\nj=\"w\"\r\n"),
       true,
       {Get("s", "k", nullptr, "v"), Get("T", "J", nullptr, "w"), List(nullptr, {"s", "t"}), List("s", {"k"})}});
  c.push_back({"utf-16 letters of every script read whole",
               Utf16File(u"[s]\r\nk=\u0416x\u00E9\u20AC.\U0001F600\r\n[\u65E5\u672C]\r\n"),
               true,
               {Get("s", "k", nullptr, "\u0416x\u00E9\u20AC.\U0001F600"), List(nullptr, {"s", "\u65E5\u672C"})}});
  {
    IniCase w{"utf-16 file edited",
              Utf16File(u"[s]\r\nk=1\r\nw=\u0416\r\n"),
              true,
              {Put("s", "k", "2"), Put("s", "n", "\u00E9"), Put("t", "x", "y"), Get("s", "n", nullptr, "\u00E9"),
               Get("s", "k", nullptr, "2"), Get("t", "x", nullptr, "y")}};
    w.bytes = IniBytes::Ours;
    w.expectFile = Utf16File(u"[s]\r\nk=2\r\nw=\u0416\r\nn=\u00E9\r\n[t]\r\nx=y\r\n");
    c.push_back(w);
  }

  // ---- Listings of an empty or missing section fall back on the default
  c.push_back({"key listing of a missing section",
               "[s]\r\n;only a comment\r\n",
               true,
               {Read("t", nullptr, "dflt", 260, 4, "dflt\0"s), Read("s", nullptr, "dflt", 260, 4, "dflt\0"s),
                Read("t", nullptr, nullptr, 260, 0, "\0"s)}});

  // ---- Writing: the cases Wine's own conformance tests check byte for byte
  {
    IniCase w{
        "missing file is created", "", false, {Put("App", "key", "string"), Get("App", "key", nullptr, "string")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[App]\r\nkey=string\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"empty value written", "", false, {Put("App", "key", "")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[App]\r\nkey=\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"keys and sections added in order",
              "",
              false,
              {Put("App1", "key1", "string1"), Put("App1", "key2", "string2"), Put("App1", "key3", "string3"),
               Put("App2", "key4", "string4"), Put("App3", "key5", "string5")}};
    w.bytes = IniBytes::Windows;
    w.expectFile =
        "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5="
        "string5\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"keys and sections deleted",
              "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5="
              "string5\r\n",
              true,
              {Put("App1", "key2", nullptr), Put("App1", "key2", nullptr), Put("App1", nullptr, "string1"),
               Put("App2", nullptr, nullptr), Put("App3", "key5", nullptr), List(nullptr, {"App3"})}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[App3]\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"struct-like value replaced in place",
              "[s]\r\nkey=616261637573006F\r\n",
              true,
              {Put("s", "key", "636163747573006F"), Get("s", "key", nullptr, "636163747573006F")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[s]\r\nkey=636163747573006F\r\n";
    c.push_back(w);
  }
  {
    // Windows keeps the bytes before the first section, zero bytes included,
    // and ends them with a line break before the new section (Wine's test of
    // this is marked as failing under Wine).
    IniCase w{"bytes before the first section kept",
              std::string("Data \0 before \0 first \0 section", 31),
              true,
              {Put("section1", "key1", "string1"), Get("section1", "key1", nullptr, "string1")}};
    w.bytes = IniBytes::WindowsNotWine;
    w.expectFile = std::string("Data \0 before \0 first \0 section", 31) + "\r\n[section1]\r\nkey1=string1\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"a key added to a section read back",
              "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n",
              true,
              {Put("s", "name5", "val5"), List("s", {"name1", "name2", "name4", "name5"})}};
    w.bytes = IniBytes::Ours;
    w.expectFile = "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\nname5=val5\r\n";
    c.push_back(w);
  }

  // ---- Writing: behaviour of Windows documented by reverse-engineering tests
  // (file edited in place, nothing else rewritten). Wine rewrites the whole
  // file from its parsed form, so these bytes are compared on Windows only.
  {
    IniCase w{"existing key keeps its spelling, last line gets a line break",
              "[Sec]\r\nKey=old",
              true,
              {Put("SEC", "KEY", "New"), Get("sec", "key", nullptr, "New")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[Sec]\r\nKey=New\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"new keys in the order written",
              "",
              true,
              {Put("s", "z", ""), Put("s", "a", ""), Put("s", "y", ""), Put("s", "b", "")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[s]\r\nz=\r\na=\r\ny=\r\nb=\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"existing keys keep their places",
              "[s]\r\nb=value\r\na=value\r\n",
              true,
              {Put("s", "z", ""), Put("s", "b", ""), Put("s", "y", ""), Put("s", "a", "")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[s]\r\nb=\r\na=\r\nz=\r\ny=\r\n";
    c.push_back(w);
  }
  {
    // Wine takes ";x" for a key and puts new keys at the very end of the section.
    IniCase w{"comments stay, new keys after the last key",
              ";comment0\r\n[s]\r\n;comment1\r\nb=value\r\n;comment2\r\na=value\r\n",
              true,
              {Put("s", "z", ""), Put("s", ";x", ""), Put("s", "y", ""), Put("s", "a", ""), Put("s", "b", ""),
               List("s", {"b", "a", "z", "y"})}};
    w.bytes = IniBytes::WindowsNotWine;
    w.expectFile = ";comment0\r\n[s]\r\n;comment1\r\nb=\r\n;comment2\r\na=\r\nz=\r\ny=\r\n;x=\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"deleting sections keeps their comments",
              ";comment0\r\n[s]\r\n;comment1\r\n[t]\r\n;comment2\r\n",
              true,
              {Put("s", nullptr, ""), Put("t", nullptr, ""), List(nullptr, {})}};
    w.bytes = IniBytes::WindowsNotWine;
    w.expectFile = ";comment0\r\n;comment1\r\n;comment2\r\n";
    c.push_back(w);
  }
  {
    // Wine keeps the spaces after the names ("[sec   ]", "key  =").
    IniCase w{"caller's names written without their spaces, the value as given",
              "",
              false,
              {Put("   sec   ", "  key  ", " value "), Get("sec", "key", nullptr, "value")}};
    w.bytes = IniBytes::WindowsNotWine;
    w.expectFile = "[sec]\r\nkey= value \r\n";
    c.push_back(w);
  }
  {
    IniCase w{
        "quoted value written as given", "", false, {Put("s", "k", "\"  q  \""), Get("s", "k", nullptr, "  q  ")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[s]\r\nk=\"  q  \"\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"value replaced in place, blank lines and comments kept",
              "; top\r\n[s]\r\na=1\r\n\r\n; note\r\nb=2\r\n\r\n\r\n[t]\r\nc=3\r\n\r\n",
              true,
              {Put("s", "b", "22"), Get("s", "b", nullptr, "22"), Get("t", "c", nullptr, "3")}};
    w.bytes = IniBytes::WindowsNotWine;
    w.expectFile = "; top\r\n[s]\r\na=1\r\n\r\n; note\r\nb=22\r\n\r\n\r\n[t]\r\nc=3\r\n\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"key added before the blank lines that end its section",
              "[a]\r\nx=1\r\n\r\n\r\n[b]\r\ny=2\r\n\r\n",
              true,
              {Put("a", "n", "5"), Put("b", "z", "3"), List("a", {"x", "n"}), List("b", {"y", "z"})}};
    w.bytes = IniBytes::WindowsNotWine;
    w.expectFile = "[a]\r\nx=1\r\nn=5\r\n\r\n\r\n[b]\r\ny=2\r\nz=3\r\n\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"key added after a last line without line break",
              "[s]\r\na=1",
              true,
              {Put("s", "b", "2"), List("s", {"a", "b"})}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[s]\r\na=1\r\nb=2\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"section added after a last line without line break",
              "[a]\r\nk=1",
              true,
              {Put("b", "x", "2"), List(nullptr, {"a", "b"})}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[a]\r\nk=1\r\n[b]\r\nx=2\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"accented section of another case is another section",
              "[Citt\u00E0]\r\nk=1\r\n",
              true,
              {Put("CITT\u00C0", "K", "2"), Put("CITT\u00E0", "K", "3"), Get("citt\u00E0", "k", nullptr, "3"),
               List(nullptr, {"Citt\u00E0", "CITT\u00C0"})}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[Citt\u00E0]\r\nk=3\r\n[CITT\u00C0]\r\nK=2\r\n";
    w.needsUtf8 = true;
    c.push_back(w);
  }
  {
    // Windows writes a key named ";key" as a new comment line each time;
    // Wine finds its own ";key" entry and replaces it.
    IniCase w{"comment written through a key name",
              "",
              false,
              {Put("s", ";key", "v"), Put("s", ";key", "v"), Get("s", ";key", "d", "d", true)}};
    w.bytes = IniBytes::WindowsNotWine;
    w.expectFile = "[s]\r\n;key=v\r\n;key=v\r\n";
    c.push_back(w);
  }

  // ---- Writing odd files: Windows' bytes are not documented, the values read back are compared
  {
    IniCase w{"LF file edited",
              "[a]\nk=1\n\n[b]\nx=2\n",
              true,
              {Put("a", "k", "9"), Put("b", "n", "3"), Get("a", "k", nullptr, "9"), List("b", {"x", "n"})}};
    w.bytes = IniBytes::Ours;
    w.expectFile = "[a]\nk=9\n\n[b]\nx=2\nn=3\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"CR only file edited", "[s]\rk=1\r", true, {Put("s", "k", "2"), Get("s", "k", nullptr, "2")}};
    w.bytes = IniBytes::Ours;
    w.expectFile = "[s]\rk=2\r";
    c.push_back(w);
  }
  {
    IniCase w{"blanks around = in a rewritten line",
              "[s]\r\n  k  =  old  \r\nj=1\r\n",
              true,
              {Put("s", "k", "new"), Get("s", "k", nullptr, "new"), Get("s", "j", nullptr, "1")}};
    w.bytes = IniBytes::Ours;
    w.expectFile = "[s]\r\n  k  =new\r\nj=1\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"first of duplicate keys replaced",
              "[s]\r\nk=1\r\nk=2\r\n",
              true,
              {Put("s", "k", "3"), Get("s", "k", nullptr, "3"), List("s", {"k", "k"})}};
    w.bytes = IniBytes::Ours;
    w.expectFile = "[s]\r\nk=3\r\nk=2\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"new key goes to the first of duplicate sections",
              "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n",
              true,
              {Put("s", "b", "3"), Get("s", "b", nullptr, "3"), List("s", {"a", "b"})}};
    w.bytes = IniBytes::Ours;
    w.expectFile = "[s]\r\na=1\r\nb=3\r\n[t]\r\n[s]\r\nb=2\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"long value written whole, read back cut",
              "",
              false,
              {Put("s", "k", longText.c_str()), Read("s", "k", nullptr, 2048, 2047, std::string(2047, 'z') + '\0')}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[s]\r\nk=" + longText + "\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"key deleted from between comments",
              "[s]\r\n;a\r\nk=1\r\n;b\r\nj=2\r\n",
              true,
              {Put("s", "k", nullptr), Get("s", "k", "d", "d"), List("s", {"j"})}};
    w.bytes = IniBytes::Ours;
    w.expectFile = "[s]\r\n;a\r\n;b\r\nj=2\r\n";
    c.push_back(w);
  }
  {
    IniCase w{"a write without section is refused", "[s]\r\nk=1\r\n", true, {Put(nullptr, "k", "2")}};
    w.bytes = IniBytes::Windows;
    w.expectFile = "[s]\r\nk=1\r\n";
    c.push_back(w);
  }
  return c;
}

}  // namespace tov::testing
