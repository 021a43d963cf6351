#include "formats/TableJson.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "base/AnsiText.h"
#include "base/Utf8Text.h"
#include "tables/TableError.h"

namespace tov {

namespace {

// ---- Writing ---------------------------------------------------------------

void AppendJsonString(std::string& out, const std::string& stored) {
  out.push_back('"');
  for (unsigned char c : StoredTextToUtf8(stored)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04X", c);
          out += buf;
        } else {
          out.push_back(char(c));
        }
    }
  }
  out.push_back('"');
}

std::string NumberText(double d) {
  if (std::isnan(d)) return "\"NaN\"";
  if (std::isinf(d)) return d > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}

std::string MoneyText(int64_t amount) {
  char buf[40];
  const uint64_t mag = amount < 0 ? uint64_t(0) - uint64_t(amount) : uint64_t(amount);
  std::snprintf(buf, sizeof buf, "%s%" PRIu64 ".%04" PRIu64, amount < 0 ? "-" : "", mag / 10000, mag % 10000);
  return buf;
}

void AppendValue(std::string& out, const TValue& v) {
  switch (v.index()) {
    case 0:
      out += "null";
      break;
    case 1:
      out += std::to_string(std::get<int32_t>(v));
      break;
    case 2:
      out += std::get<bool>(v) ? "true" : "false";
      break;
    case 3:
      out += NumberText(std::get<double>(v));
      break;
    case 4:
      out += MoneyText(std::get<int64_t>(v));
      break;
    default:
      AppendJsonString(out, std::get<std::string>(v));
      break;
  }
}

// ---- Reading ---------------------------------------------------------------

struct JsonMember;

struct Json {
  enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
  bool b = false;
  std::string text;  // a number's own text, or a string's UTF-8
  std::vector<Json> items;
  // A vector of a type still incomplete here: a pair holding a Json would
  // need Json complete, which not every standard library waits for.
  std::vector<JsonMember> members;

  const Json* Member(const std::string& name) const;
};

struct JsonMember {
  std::string name;
  Json value;
};

const Json* Json::Member(const std::string& name) const {
  for (const JsonMember& m : members)
    if (m.name == name) return &m.value;
  return nullptr;
}

class JsonParser {
 public:
  explicit JsonParser(const std::string& s) : s_(s) {}

  Json ParseDocument() {
    Json v = ParseValue(0);
    SkipBlanks();
    if (pos_ != s_.size()) Fail("unexpected text after the end");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw TableError("JSON: " + what + " at offset " + std::to_string(pos_));
  }
  void SkipBlanks() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
      ++pos_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("'") + c + "' expected");
  }
  bool Word(const char* w) {
    size_t n = std::string(w).size();
    if (s_.compare(pos_, n, w) != 0) return false;
    pos_ += n;
    return true;
  }

  Json ParseValue(int depth) {
    if (depth > 64) Fail("nesting too deep");
    SkipBlanks();
    if (pos_ >= s_.size()) Fail("value expected");
    Json v;
    char c = s_[pos_];
    if (c == '{') {
      ++pos_;
      v.kind = Json::Object;
      if (Take('}')) return v;
      do {
        SkipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != '"') Fail("member name expected");
        std::string name = ParseString();
        Expect(':');
        v.members.push_back(JsonMember{std::move(name), ParseValue(depth + 1)});
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      ++pos_;
      v.kind = Json::Array;
      if (Take(']')) return v;
      do
        v.items.push_back(ParseValue(depth + 1));
      while (Take(','));
      Expect(']');
    } else if (c == '"') {
      v.kind = Json::String;
      v.text = ParseString();
    } else if (Word("true")) {
      v.kind = Json::Bool;
      v.b = true;
    } else if (Word("false")) {
      v.kind = Json::Bool;
    } else if (Word("null")) {
      v.kind = Json::Null;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      size_t start = pos_;
      while (pos_ < s_.size() && std::string("+-0123456789.eE").find(s_[pos_]) != std::string::npos)
        ++pos_;
      v.kind = Json::Number;
      v.text = s_.substr(start, pos_ - start);
    } else {
      Fail("value expected");
    }
    return v;
  }

  uint32_t Hex4() {
    if (pos_ + 4 > s_.size()) Fail("bad \\u escape");
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      char c = s_[pos_++];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= uint32_t(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= uint32_t(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= uint32_t(c - 'A' + 10);
      else
        Fail("bad \\u escape");
    }
    return v;
  }

  // A string's text in UTF-8.
  std::string ParseString() {
    ++pos_;  // the opening quote
    std::string out;
    while (true) {
      if (pos_ >= s_.size()) Fail("unterminated string");
      char c = s_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (pos_ >= s_.size()) Fail("unterminated string");
      char e = s_[pos_++];
      switch (e) {
        case '"':
          out.push_back('"');
          break;
        case '\\':
          out.push_back('\\');
          break;
        case '/':
          out.push_back('/');
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'u': {
          uint32_t cp = Hex4();
          if (cp >= 0xDC00 && cp <= 0xDFFF) Fail("lone surrogate");
          if (cp >= 0xD800 && cp <= 0xDBFF) {  // a pair: the low half must follow
            if (s_.compare(pos_, 2, "\\u") != 0) Fail("lone surrogate");
            pos_ += 2;
            const uint32_t low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("lone surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, cp);
          break;
        }
        default:
          Fail("bad escape");
      }
    }
  }

  const std::string& s_;
  size_t pos_ = 0;
};

[[noreturn]] void Bad(const std::string& what) { throw TableError("JSON: " + what); }

const Json& Need(const Json& obj, const std::string& name, Json::Kind kind, const std::string& where) {
  const Json* m = obj.Member(name);
  if (!m || m->kind != kind) Bad(where + ": \"" + name + "\" missing or of the wrong kind");
  return *m;
}

std::string TextOf(const Json& v, const std::string& where) {
  if (!IsValidUtf8(v.text)) Bad(where + ": text is not UTF-8");
  return v.text;
}

double NumberOf(const Json& v, const std::string& where) {
  if (v.kind == Json::String) {
    if (v.text == "NaN") return NAN;
    if (v.text == "Infinity") return INFINITY;
    if (v.text == "-Infinity") return -INFINITY;
  }
  if (v.kind != Json::Number) Bad(where + ": a number expected");
  char* end = nullptr;
  double d = std::strtod(v.text.c_str(), &end);
  if (end != v.text.c_str() + v.text.size()) Bad(where + ": bad number " + v.text);
  return d;
}

int64_t MoneyOf(const Json& v, const std::string& where) {
  // Exactly, from the text: digits, an optional point and up to four decimals.
  const std::string& t = v.text;
  if (v.kind == Json::Number && t.find_first_of("eE") == std::string::npos && !t.empty()) {
    size_t i = t[0] == '-' ? 1 : 0;
    size_t dot = t.find('.');
    std::string whole = t.substr(i, dot == std::string::npos ? std::string::npos : dot - i);
    std::string frac = dot == std::string::npos ? std::string() : t.substr(dot + 1);
    if (!whole.empty() && whole.size() <= 14 && frac.size() <= 4 &&
        whole.find_first_not_of("0123456789") == std::string::npos &&
        frac.find_first_not_of("0123456789") == std::string::npos) {
      frac.resize(4, '0');
      int64_t amount = std::stoll(whole) * 10000 + std::stoll(frac);
      return t[0] == '-' ? -amount : amount;
    }
  }
  return int64_t(std::llround(NumberOf(v, where) * 10000.0));
}

TValue ValueOf(const Json& v, const TField& f, const std::string& where) {
  if (v.kind == Json::Null) return std::monostate{};
  const TFieldType t = f.DataType();
  if (IsIntegerType(t)) {
    double d = NumberOf(v, where);
    if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0) Bad(where + ": not a 32-bit integer");
    return int32_t(d);
  }
  if (t == ftBoolean) {
    if (v.kind != Json::Bool) Bad(where + ": true or false expected");
    return v.b;
  }
  if (IsMoneyType(t)) return MoneyOf(v, where);
  if (IsFloatType(t)) return NumberOf(v, where);
  if (v.kind != Json::String) Bad(where + ": a string expected");
  return ValueFromText(TextOf(v, where), t, f.Size(), f.FieldName());
}

}  // namespace

std::string TableToJson(const TRecordTable& table, int version) {
  std::string out = "{\"version\": " + std::to_string(version) + ",\n \"fields\": [";
  for (int i = 0; i < table.FieldCount(); ++i) {
    const TField& f = table.Field(i);
    out += i ? ",\n  " : "\n  ";
    out += "{\"name\": ";
    AppendJsonString(out, f.FieldName());
    out += ", \"type\": \"" + std::string(FieldTypeName(f.DataType())) + "\", \"size\": " + std::to_string(f.Size()) +
           ", \"required\": " + (f.Required() ? "true" : "false") + "}";
  }
  out += "],\n \"indexes\": [";
  for (size_t i = 0; i < table.IndexDefs().size(); ++i) {
    const TIndexDef& d = table.IndexDefs()[i];
    out += i ? ",\n  " : "\n  ";
    out += "{\"name\": ";
    AppendJsonString(out, d.Name);
    out += ", \"fields\": ";
    AppendJsonString(out, d.Fields);
    out += std::string(", \"descending\": ") + (d.Descending ? "true" : "false") +
           ", \"caseInsensitive\": " + (d.CaseInsensitive ? "true" : "false") +
           ", \"unique\": " + (d.Unique ? "true" : "false") + "}";
  }
  out += "],\n \"records\": [";
  bool firstRow = true;
  for (const TTableRecord* rec : table.Records(true)) {
    out += firstRow ? "\n  [" : ",\n  [";
    firstRow = false;
    for (size_t i = 0; i < rec->values.size(); ++i) {
      if (i) out += ", ";
      AppendValue(out, rec->values[i]);
    }
    out += "]";
  }
  out += "]}\n";
  return out;
}

int TableFromJson(const std::string& json, TRecordTable& table) {
  const Json doc = JsonParser(json).ParseDocument();
  if (doc.kind != Json::Object) Bad("an object expected");
  int version = 0;
  if (const Json* v = doc.Member("version")) version = int(NumberOf(*v, "version"));

  const Json& fields = Need(doc, "fields", Json::Array, "table");
  std::vector<TFieldDef> defs;
  for (size_t i = 0; i < fields.items.size(); ++i) {
    const std::string where = "field " + std::to_string(i + 1);
    const Json& f = fields.items[i];
    if (f.kind != Json::Object) Bad(where + ": an object expected");
    TFieldDef d;
    d.Name = TextOf(Need(f, "name", Json::String, where), where);
    const std::string type = Need(f, "type", Json::String, where).text;
    const int t = FieldTypeByName(type);
    if (t < 1 || t > 21) throw TableError("Unknown field type (" + type + ")");
    d.DataType = TFieldType(t);
    if (const Json* size = f.Member("size")) {
      double s = NumberOf(*size, where);
      if (s < 0 || s > 65535 || s != std::floor(s)) Bad(where + ": size out of range");
      d.Size = int(s);
    }
    if (const Json* req = f.Member("required")) {
      if (req->kind != Json::Bool) Bad(where + ": \"required\" must be true or false");
      d.Required = req->b;
    }
    defs.push_back(std::move(d));
  }
  if (defs.empty()) throw TableError("Couldnt determine field count for load.");

  std::vector<TIndexDef> indexDefs;
  if (const Json* indexes = doc.Member("indexes")) {
    if (indexes->kind != Json::Array) Bad("\"indexes\" must be an array");
    for (size_t i = 0; i < indexes->items.size(); ++i) {
      const std::string where = "index " + std::to_string(i + 1);
      const Json& x = indexes->items[i];
      if (x.kind != Json::Object) Bad(where + ": an object expected");
      TIndexDef d;
      d.Name = TextOf(Need(x, "name", Json::String, where), where);
      d.Fields = TextOf(Need(x, "fields", Json::String, where), where);
      auto flag = [&](const char* name) {
        const Json* m = x.Member(name);
        if (m && m->kind != Json::Bool) Bad(where + ": \"" + name + "\" must be true or false");
        return m && m->b;
      };
      d.Descending = flag("descending");
      d.CaseInsensitive = flag("caseInsensitive");
      d.Unique = flag("unique");
      indexDefs.push_back(std::move(d));
    }
  }

  // The rows are checked in a table of their own; the target changes only
  // once everything converted.
  TRecordTable built(table.Name());
  built.ReplaceStructure(defs);
  const Json& records = Need(doc, "records", Json::Array, "table");
  std::vector<std::vector<TValue>> rows;
  rows.reserve(records.items.size());
  for (size_t r = 0; r < records.items.size(); ++r) {
    const Json& row = records.items[r];
    const std::string where = "record " + std::to_string(r + 1);
    if (row.kind != Json::Array || row.items.size() != defs.size())
      Bad(where + ": an array of " + std::to_string(defs.size()) + " values expected");
    std::vector<TValue> values;
    for (size_t c = 0; c < defs.size(); ++c)
      values.push_back(ValueOf(row.items[c], built.Field(int(c)), where + ", field \"" + defs[c].Name + "\""));
    rows.push_back(std::move(values));
  }
  table.ReplaceStructure(defs);
  table.IndexDefs() = std::move(indexDefs);
  table.AddLoadedRecords(std::move(rows));
  return version;
}

}  // namespace tov
