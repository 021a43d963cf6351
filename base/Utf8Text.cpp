#include "base/Utf8Text.h"

#include "base/AnsiText.h"

namespace tov {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point and length of a well-formed character at text[at], or a
// length of 0 when the bytes there are not one.
size_t Decode(std::string_view text, size_t at, uint32_t* cp) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const size_t left = text.size() - at;
  const unsigned char lead = byte(0);
  size_t n = 0;
  uint32_t value = 0, least = 0;
  if (lead < 0x80) {
    *cp = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    n = 2, value = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3, value = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (left < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if (!IsContinuation(byte(i))) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *cp = value;
  return n;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  uint32_t cp = 0;
  for (size_t at = 0; at < text.size();) {
    size_t n = Decode(text, at, &cp);
    if (!n) return false;
    at += n;
  }
  return true;
}

size_t Utf8CharLength(std::string_view text, size_t at) {
  if (at >= text.size()) return 0;
  uint32_t cp = 0;
  size_t n = Decode(text, at, &cp);
  return n ? n : 1;
}

size_t Utf8CharCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += Utf8CharLength(text, at))
    ++count;
  return count;
}

std::string_view Utf8CutToBytes(std::string_view text, size_t maxBytes) {
  size_t end = 0;
  while (end < text.size()) {
    size_t n = Utf8CharLength(text, end);
    if (end + n > maxBytes) break;
    end += n;
  }
  return text.substr(0, end);
}

std::string_view Utf8CutToChars(std::string_view text, size_t maxChars) {
  size_t end = 0;
  for (size_t count = 0; end < text.size() && count < maxChars; ++count)
    end += Utf8CharLength(text, end);
  return text.substr(0, end);
}

std::string StoredTextToUtf8(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (IsValidUtf8(text)) return std::string(text);
  return AnsiToUtf8(std::string(text));
}

uint32_t NextCodePoint(std::string_view text, size_t* at) {
  if (*at >= text.size()) return 0;
  uint32_t cp = 0;
  size_t n = Decode(text, *at, &cp);
  if (!n) {
    *at += 1;
    return kReplacement;
  }
  *at += n;
  return cp;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const uint32_t cp = NextCodePoint(text, &at);
    if (cp < 0x10000) {
      out += char16_t(cp);
    } else {
      out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace tov
