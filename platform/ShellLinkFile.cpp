#include "platform/ShellLinkFile.h"

#include <array>
#include <cctype>
#include <vector>

#include "base/Bytes.h"
#include "base/Casefold.h"
#include "base/Utf8Text.h"

namespace tov {

namespace {

// ---- Layout constants ----------------------------------------------------

constexpr uint32_t kHeaderSize = 0x4C;
constexpr std::array<uint8_t, 16> kLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::array<uint8_t, 16> kMyComputerClsid = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                                      0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

enum : uint32_t {
  kHasLinkTargetIdList = 0x01,
  kHasLinkInfo = 0x02,
  kHasName = 0x04,
  kHasRelativePath = 0x08,
  kHasWorkingDir = 0x10,
  kHasArguments = 0x20,
  kHasIconLocation = 0x40,
  kIsUnicode = 0x80,
};

enum : uint32_t { kVolumeIdAndLocalBasePath = 0x01, kCommonNetworkRelativeLink = 0x02 };

constexpr uint32_t kFileEntryExtension = 0xBEEF0004;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kWnnetNetLanman = 0x00020000;

// ---- Writing ---------------------------------------------------------------

void PutU16(std::string* b, uint32_t v) { PutLe(*b, v, 2); }
void PutU32(std::string* b, uint32_t v) { PutLe(*b, v, 4); }
void PutU64(std::string* b, uint64_t v) { PutLe(*b, v, 8); }
// Sizes and offsets filled in once known, inside what is already written.
void SetU16(std::string* b, size_t at, uint32_t v) { SetLe(*b, at, v, 2); }
void SetU32(std::string* b, size_t at, uint32_t v) { SetLe(*b, at, v, 4); }

void PutUtf16z(std::string* b, const std::u16string& s) {
  for (char16_t c : s)
    PutU16(b, c);
  PutU16(b, 0);
}

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}

bool ValidTime(const DateTime& t) {
  return t.year >= 1601 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 &&
         t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 62 &&
         t.millisecond >= 0 && t.millisecond < 1000;
}

// 100-nanosecond intervals since 1601-01-01; 0 when there is no time.
uint64_t ToFileTime(const DateTime& t) {
  if (!ValidTime(t)) return 0;
  const int64_t days = DaysFromCivil(t.year, unsigned(t.month), unsigned(t.day)) - DaysFromCivil(1601, 1, 1);
  const int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  return uint64_t(seconds) * 10000000u + uint64_t(t.millisecond) * 10000u;
}

// A FAT date (low word) and time (high word) as the shell's items keep them.
// No time at all stays 0; a time outside the FAT years is brought to them.
uint32_t ToFatDateTime(const DateTime& t) {
  if (!ValidTime(t)) return 0;
  const DosDateTime dos = PackDosDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
  return uint32_t(dos.date) | (uint32_t(dos.time) << 16);
}

// One file-system item: size, type, the ANSI name and the extension block
// with the long name in UTF-16.
std::string FileItem(const std::string& name, bool directory, uint32_t size, uint32_t fatTime, uint32_t attributes) {
  std::string item;
  PutU16(&item, 0);  // size, set below
  item.push_back(char(directory ? 0x31 : 0x32));
  item.push_back(0);
  PutU32(&item, size);
  PutU32(&item, fatTime);
  PutU16(&item, attributes & 0xFFFF);
  item += name;
  item.push_back(0);
  if (item.size() % 2) item.push_back(0);
  const size_t ext = item.size();
  PutU16(&item, 0);  // extension size, set below
  PutU16(&item, 3);
  PutU32(&item, kFileEntryExtension);
  PutU32(&item, fatTime);  // creation
  PutU32(&item, fatTime);  // last access
  PutU16(&item, 0x14);
  PutU16(&item, 0);  // no localised name
  PutUtf16z(&item, Utf8ToUtf16(name));
  PutU16(&item, uint32_t(ext));
  SetU16(&item, ext, uint32_t(item.size() - ext));
  SetU16(&item, 0, uint32_t(item.size()));
  return item;
}

struct SplitTarget {
  bool network = false;
  std::string root;  // "C:\" or "\\server\share"
  std::vector<std::string> parts;
};

std::vector<std::string> SplitParts(const std::string& rest) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t cut = rest.find('\\', start);
    if (cut == std::string::npos) cut = rest.size();
    if (cut > start) parts.push_back(rest.substr(start, cut - start));
    start = cut + 1;
  }
  return parts;
}

bool Split(std::string target, SplitTarget* out) {
  // Forward slashes separate path elements as well.
  for (char& c : target)
    if (c == '/') c = '\\';
  if (target.size() >= 2 && std::isalpha(static_cast<unsigned char>(target[0])) && target[1] == ':' &&
      (target.size() == 2 || target[2] == '\\')) {
    out->root = std::string(1, AsciiUpper(target[0])) + ":\\";
    out->parts = SplitParts(target.size() > 2 ? target.substr(3) : std::string());
    return true;
  }
  if (target.size() > 2 && target[0] == '\\' && target[1] == '\\') {
    std::vector<std::string> parts = SplitParts(target.substr(2));
    if (parts.size() < 2) return false;
    out->network = true;
    out->root = "\\\\" + parts[0] + "\\" + parts[1];
    out->parts.assign(parts.begin() + 2, parts.end());
    return true;
  }
  return false;
}

std::string JoinParts(const std::vector<std::string>& parts) {
  std::string s;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) s += '\\';
    s += parts[i];
  }
  return s;
}

std::string IdList(const SplitTarget& t, const ShellLinkTargetInfo& info, bool lastIsDirectory) {
  std::string list;
  PutU16(&list, 0x14);
  list.push_back(char(0x1F));
  list.push_back(char(0x50));
  list.append(reinterpret_cast<const char*>(kMyComputerClsid.data()), kMyComputerClsid.size());
  std::string drive;
  PutU16(&drive, 0x19);
  drive.push_back(char(0x2F));
  drive += t.root;
  drive.resize(0x19, '\0');
  list += drive;
  for (size_t i = 0; i < t.parts.size(); ++i) {
    const bool last = i + 1 == t.parts.size();
    if (!last) {
      list += FileItem(t.parts[i], true, 0, 0, kAttrDirectory);
    } else {
      const uint32_t size = info.exists && !lastIsDirectory ? uint32_t(info.size) : 0;
      const uint32_t attrs = info.exists ? info.attributes : (lastIsDirectory ? uint32_t(kAttrDirectory) : 0u);
      list += FileItem(t.parts[i], lastIsDirectory, size, info.exists ? ToFatDateTime(info.writeTime) : 0, attrs);
    }
  }
  PutU16(&list, 0);
  std::string sized;
  PutU16(&sized, uint32_t(list.size()));
  return sized + list;
}

// The link info block: the volume and local base path of a drive path, or
// the share of a network path, with the rest as the common path suffix.
std::string LinkInfo(const SplitTarget& t, const std::string& localPath) {
  const bool wide = !IsAscii(t.network ? t.root + JoinParts(t.parts) : localPath);
  const uint32_t headerSize = wide ? 0x24 : 0x1C;
  std::string li(headerSize, '\0');
  SetU32(&li, 4, headerSize);
  std::string suffix = t.network ? JoinParts(t.parts) : std::string();
  if (!t.network) {
    SetU32(&li, 8, kVolumeIdAndLocalBasePath);
    SetU32(&li, 12, uint32_t(li.size()));
    PutU32(&li, 0x11);
    PutU32(&li, kDriveFixed);
    PutU32(&li, 0);     // serial number
    PutU32(&li, 0x10);  // label offset: an empty label follows
    li.push_back(0);
    SetU32(&li, 16, uint32_t(li.size()));
    li += localPath;
    li.push_back(0);
  } else {
    SetU32(&li, 8, kCommonNetworkRelativeLink);
    SetU32(&li, 20, uint32_t(li.size()));
    const size_t cnrl = li.size();
    const uint32_t cnrlHeader = wide ? 0x1C : 0x14;
    li.append(cnrlHeader, '\0');
    SetU32(&li, cnrl + 4, 0x02);  // ValidNetType
    SetU32(&li, cnrl + 8, cnrlHeader);
    SetU32(&li, cnrl + 16, kWnnetNetLanman);
    li += t.root;
    li.push_back(0);
    if (wide) {
      SetU32(&li, cnrl + 0x14, uint32_t(li.size() - cnrl));
      PutUtf16z(&li, Utf8ToUtf16(t.root));
    }
    SetU32(&li, cnrl, uint32_t(li.size() - cnrl));
  }
  SetU32(&li, 24, uint32_t(li.size()));
  li += suffix;
  li.push_back(0);
  if (wide) {
    if (!t.network) {
      SetU32(&li, 28, uint32_t(li.size()));
      PutUtf16z(&li, Utf8ToUtf16(localPath));
    }
    SetU32(&li, 32, uint32_t(li.size()));
    PutUtf16z(&li, Utf8ToUtf16(suffix));
  }
  SetU32(&li, 0, uint32_t(li.size()));
  return li;
}

// ---- Reading ---------------------------------------------------------------

// A window of the file's bytes; every read is checked against its end.
class Reader {
 public:
  Reader(const std::string& bytes, size_t begin, size_t end) : b_(bytes), begin_(begin), end_(end) {}
  size_t Size() const { return end_ - begin_; }
  bool Has(size_t offset, size_t n) const { return offset <= Size() && n <= Size() - offset; }
  bool U8(size_t offset, uint32_t* v) const { return Window().U8(offset, v); }
  bool U16(size_t offset, uint32_t* v) const { return Window().Le16(offset, v); }
  bool U32(size_t offset, uint32_t* v) const { return Window().Le32(offset, v); }
  bool Equals(size_t offset, const std::array<uint8_t, 16>& id) const {
    if (!Has(offset, id.size())) return false;
    for (size_t i = 0; i < id.size(); ++i)
      if (static_cast<unsigned char>(b_[begin_ + offset + i]) != id[i]) return false;
    return true;
  }
  // A string ended by a zero byte inside the window.
  bool Ansiz(size_t offset, std::string* s) const {
    if (offset >= Size()) return false;
    for (size_t i = offset; i < Size(); ++i) {
      if (b_[begin_ + i] == '\0') {
        *s = b_.substr(begin_ + offset, i - offset);
        return true;
      }
    }
    return false;
  }
  // A UTF-16 string ended by a zero unit inside the window.
  bool Utf16z(size_t offset, std::u16string* s) const {
    s->clear();
    for (size_t i = offset;; i += 2) {
      uint32_t c;
      if (!U16(i, &c)) return false;
      if (c == 0) return true;
      s->push_back(char16_t(c));
    }
  }
  bool Utf16(size_t offset, size_t units, std::u16string* s) const {
    if (units > Size() / 2 || !Has(offset, units * 2)) return false;
    s->clear();
    for (size_t i = 0; i < units; ++i) {
      uint32_t c = 0;
      U16(offset + 2 * i, &c);
      s->push_back(char16_t(c));
    }
    return true;
  }
  std::string Bytes(size_t offset, size_t n) const { return b_.substr(begin_ + offset, n); }
  Reader Sub(size_t offset, size_t n) const { return Reader(b_, begin_ + offset, begin_ + offset + n); }

 private:
  ByteReader Window() const { return ByteReader(b_).Window(begin_, end_ - begin_); }

  const std::string& b_;
  size_t begin_, end_;
};

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

std::string JoinPath(const std::string& base, const std::string& suffix) {
  if (suffix.empty()) return base;
  if (base.empty() || base.back() == '\\') return base + suffix;
  return base + "\\" + suffix;
}

// An ANSI string at the offset read from ansiAt, or its UTF-16 variant at
// the offset read from wideAt when that is present and not zero.
bool InfoString(const Reader& r, uint32_t offset, uint32_t wideOffset, std::string* s) {
  if (wideOffset != 0) {
    std::u16string w;
    if (!r.Utf16z(wideOffset, &w)) return false;
    *s = Utf16ToUtf8(w);
    return true;
  }
  if (!r.Ansiz(offset, s)) return false;
  *s = StoredTextToUtf8(*s);
  return true;
}

bool ParseLinkInfo(const Reader& li, std::string* target, std::string* error) {
  uint32_t headerSize, flags, volumeAt, localAt, networkAt, suffixAt, localWideAt = 0, suffixWideAt = 0;
  if (!li.U32(4, &headerSize) || !li.U32(8, &flags) || !li.U32(12, &volumeAt) || !li.U32(16, &localAt) ||
      !li.U32(20, &networkAt) || !li.U32(24, &suffixAt))
    return Fail(error, "link info block cut short");
  if (headerSize < 0x1C || headerSize > li.Size() || (headerSize > 0x1C && headerSize < 0x24))
    return Fail(error, "link info header of a wrong size");
  if (headerSize >= 0x24 && (!li.U32(28, &localWideAt) || !li.U32(32, &suffixWideAt)))
    return Fail(error, "link info block cut short");
  std::string suffix;
  if (!InfoString(li, suffixAt, suffixWideAt, &suffix)) return Fail(error, "damaged common path suffix");
  if (flags & kVolumeIdAndLocalBasePath) {
    uint32_t volumeSize;
    if (!li.U32(volumeAt, &volumeSize) || volumeSize < 0x10 || !li.Has(volumeAt, volumeSize))
      return Fail(error, "damaged volume id");
    std::string local;
    if (!InfoString(li, localAt, localWideAt, &local)) return Fail(error, "damaged local base path");
    *target = JoinPath(local, suffix);
    return true;
  }
  if (flags & kCommonNetworkRelativeLink) {
    uint32_t size, netNameAt, netNameWideAt = 0;
    if (!li.U32(networkAt, &size) || size < 0x14 || !li.Has(networkAt, size))
      return Fail(error, "damaged network link");
    const Reader net = li.Sub(networkAt, size);
    if (!net.U32(8, &netNameAt) || (netNameAt > 0x14 && !net.U32(0x14, &netNameWideAt)))
      return Fail(error, "damaged network link");
    std::string share;
    if (!InfoString(net, netNameAt, netNameWideAt, &share)) return Fail(error, "damaged network share name");
    *target = JoinPath(share, suffix);
    return true;
  }
  target->clear();
  return true;
}

// The long name of a file-system item's 0xBEEF0004 extension block, if any.
bool LongName(const Reader& item, std::string* name) {
  uint32_t extAt, extSize, version, signature;
  if (!item.U16(item.Size() - 2, &extAt) || extAt < 14 || extAt % 2 || !item.U16(extAt, &extSize) ||
      !item.Has(extAt, extSize) || !item.U16(extAt + 2, &version) || !item.U32(extAt + 4, &signature))
    return false;
  if (signature != kFileEntryExtension || version < 3) return false;
  const Reader ext = item.Sub(extAt, extSize);
  size_t at = 18;
  if (version >= 7) at += 18;
  at += 2;  // long string size
  if (version >= 9) at += 4;
  if (version >= 8) at += 4;
  std::u16string w;
  if (!ext.Utf16z(at, &w) || w.empty()) return false;
  *name = Utf16ToUtf8(w);
  return true;
}

// Rebuilds the path from the item id list: My Computer, a drive, then the
// file-system items.
// Splits the list into its items; false when a length runs past the list.
bool IdListItems(const Reader& list, std::vector<Reader>* items, std::string* error) {
  for (size_t at = 0;;) {
    uint32_t cb;
    if (!list.U16(at, &cb)) return Fail(error, "item id list without its end");
    if (cb == 0) return true;
    if (cb < 3 || !list.Has(at, cb)) return Fail(error, "damaged item id");
    items->push_back(list.Sub(at, cb));
    at += cb;
  }
}

// False, with the reason, when the items are not the ones of a path.
bool PathFromIdList(const std::vector<Reader>& items, std::string* path, std::string* error) {
  if (items.size() < 2) return Fail(error, "item id list names no file");
  uint32_t type;
  if (!items[0].U8(2, &type) || type != 0x1F || !items[0].Equals(4, kMyComputerClsid))
    return Fail(error, "item id list outside My Computer");
  std::string drive;
  if (!items[1].U8(2, &type) || (type & 0x70) != 0x20 || !items[1].Ansiz(3, &drive) || drive.size() < 2 ||
      drive[1] != ':')
    return Fail(error, "item id list without a drive");
  if (drive.size() == 2) drive += '\\';
  std::string result = drive;
  for (size_t i = 2; i < items.size(); ++i) {
    const Reader& item = items[i];
    if (!item.U8(2, &type) || (type & 0x70) != 0x30) return Fail(error, "item id list with an unknown item");
    std::string name;
    if (!LongName(item, &name)) {
      bool ok;
      if (type & 0x04) {
        std::u16string w;
        ok = item.Utf16z(14, &w);
        name = Utf16ToUtf8(w);
      } else {
        ok = item.Ansiz(14, &name);
        name = StoredTextToUtf8(name);
      }
      if (!ok || name.empty()) return Fail(error, "damaged file item");
    }
    result = JoinPath(result, name);
  }
  *path = result;
  return true;
}

}  // namespace

bool BuildShellLink(const std::string& target, const std::string& description, const ShellLinkTargetInfo& info,
                    std::string* bytes, std::string* error) {
  SplitTarget t;
  if (target.size() >= 260) return Fail(error, "target path too long: " + target);
  if (!Split(target, &t)) return Fail(error, "not an absolute path: " + target);
  const bool lastIsDirectory = t.parts.empty() || info.directory || (info.exists && (info.attributes & kAttrDirectory));
  const std::string localPath = t.network ? std::string() : JoinPath(t.root, JoinParts(t.parts));

  uint32_t flags = kHasLinkInfo | kIsUnicode;
  if (!t.network) flags |= kHasLinkTargetIdList;
  if (!description.empty()) flags |= kHasName;

  std::string b;
  PutU32(&b, kHeaderSize);
  b.append(reinterpret_cast<const char*>(kLinkClsid.data()), kLinkClsid.size());
  PutU32(&b, flags);
  PutU32(&b, info.exists ? info.attributes : 0);
  const uint64_t time = info.exists ? ToFileTime(info.writeTime) : 0;
  PutU64(&b, 0);     // creation
  PutU64(&b, 0);     // last access
  PutU64(&b, time);  // last write
  PutU32(&b, info.exists && !lastIsDirectory ? uint32_t(info.size) : 0);
  PutU32(&b, 0);  // icon index
  PutU32(&b, kShowNormal);
  PutU16(&b, 0);  // hot key
  b.append(10, '\0');
  if (!t.network) b += IdList(t, info, lastIsDirectory);
  b += LinkInfo(t, localPath);
  if (!description.empty()) {
    const std::u16string w = Utf8ToUtf16(Utf8CutToBytes(description, 0xFFFF));
    PutU16(&b, uint32_t(w.size()));
    for (char16_t c : w)
      PutU16(&b, c);
  }
  PutU32(&b, 0);  // terminal block
  *bytes = std::move(b);
  return true;
}

bool ParseShellLink(const std::string& bytes, ShellLinkContents* out, std::string* error) {
  const Reader file(bytes, 0, bytes.size());
  uint32_t headerSize, flags;
  if (!file.U32(0, &headerSize) || headerSize != kHeaderSize || !file.Has(0, kHeaderSize))
    return Fail(error, "not a shell link");
  if (!file.Equals(4, kLinkClsid)) return Fail(error, "not a shell link");
  file.U32(0x14, &flags);
  size_t at = kHeaderSize;

  std::string fromIdList, fromInfo;
  bool idListOk = false;
  std::string idListError;
  if (flags & kHasLinkTargetIdList) {
    uint32_t size;
    if (!file.U16(at, &size) || !file.Has(at + 2, size)) return Fail(error, "item id list cut short");
    std::vector<Reader> items;
    if (!IdListItems(file.Sub(at + 2, size), &items, error)) return false;
    // Items of other kinds (libraries, user folders) leave the path to the
    // link info block.
    idListOk = PathFromIdList(items, &fromIdList, &idListError);
    at += 2 + size;
  }
  if (flags & kHasLinkInfo) {
    uint32_t size;
    if (!file.U32(at, &size) || size < 0x1C || !file.Has(at, size)) return Fail(error, "link info block cut short");
    if (!ParseLinkInfo(file.Sub(at, size), &fromInfo, error)) return false;
    at += size;
  }

  ShellLinkContents result;
  const uint32_t stringFlags[] = {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments, kHasIconLocation};
  for (uint32_t f : stringFlags) {
    if (!(flags & f)) continue;
    uint32_t count;
    if (!file.U16(at, &count)) return Fail(error, "string data cut short");
    at += 2;
    std::string text;
    if (flags & kIsUnicode) {
      std::u16string w;
      if (!file.Utf16(at, count, &w)) return Fail(error, "string data cut short");
      text = Utf16ToUtf8(w);
      at += size_t(count) * 2;
    } else {
      if (!file.Has(at, count)) return Fail(error, "string data cut short");
      text = StoredTextToUtf8(file.Bytes(at, count));
      at += count;
    }
    // Some writers (Wine's among them) count a terminating zero in.
    const size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    if (f == kHasName) result.description = text;
  }

  for (;;) {
    uint32_t size;
    if (!file.U32(at, &size)) return Fail(error, "extra data without its terminal block");
    if (size < 4) break;
    if (size < 8 || !file.Has(at, size)) return Fail(error, "damaged extra data block");
    at += size;
  }

  if (!fromInfo.empty()) {
    result.target = fromInfo;
  } else if (idListOk) {
    result.target = fromIdList;
  } else {
    return Fail(error, idListError.empty() ? "the link names no target" : idListError);
  }
  *out = std::move(result);
  return true;
}

}  // namespace tov
