#include "record/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace xuanshu {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at bytes[i]; returns its length, 0 when invalid.
std::size_t DecodeUtf8(std::string_view bytes, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(bytes[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > bytes.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// True when the eight bytes at `bytes` are all ASCII.
bool IsAsciiWord(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return (word & 0x8080'8080'8080'8080) == 0;
}

// Decodes bytes into out from its start, which has room for one unit per
// byte. An invalid sequence becomes U+FFFD, or stops the decoding when
// `strict`. Returns the end of what was written, nullptr when stopped.
// A record is ASCII and three-byte Chinese: both are decoded on the spot,
// ASCII eight bytes at a time; everything else goes through DecodeUtf8.
char16_t* DecodeUtf8Into(std::string_view bytes, char16_t* out, bool strict) {
  const auto byteAt = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  for (std::size_t i = 0; i < bytes.size();) {
    if (i + 8 <= bytes.size() && IsAsciiWord(bytes.data() + i)) {
      for (std::size_t end = i + 8; i < end; ++i) *out++ = byteAt(i);
      continue;
    }
    const unsigned char b = byteAt(i);
    if (b < 0x80) {
      *out++ = b;
      ++i;
      continue;
    }
    if ((b & 0xF0) == 0xE0 && i + 2 < bytes.size() && IsContinuation(byteAt(i + 1)) &&
        IsContinuation(byteAt(i + 2))) {
      const auto unit = static_cast<char16_t>(((b & 0x0F) << 12) | ((byteAt(i + 1) & 0x3F) << 6) |
                                              (byteAt(i + 2) & 0x3F));
      // Not overlong and no surrogate: the rest of what three bytes can hold.
      if (unit >= 0x800 && (unit < 0xD800 || unit > 0xDFFF)) {
        *out++ = unit;
        i += 3;
        continue;
      }
    }
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8(bytes, i, cp);
    if (len == 0) {
      if (strict) return nullptr;
      *out++ = static_cast<char16_t>(kReplacement);
      ++i;
    } else if (cp < 0x10000) {
      *out++ = static_cast<char16_t>(cp);
      i += len;
    } else {
      cp -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      i += len;
    }
  }
  return out;
}

}  // namespace

Text FromUtf8(std::string_view utf8) {
  Text out(utf8.size(), u'\0');
  out.resize(static_cast<std::size_t>(DecodeUtf8Into(utf8, out.data(), false) - out.data()));
  return out;
}

std::optional<Text> FromValidUtf8(std::string_view utf8) {
  Text out(utf8.size(), u'\0');
  const char16_t* end = DecodeUtf8Into(utf8, out.data(), true);
  if (end == nullptr) return std::nullopt;
  out.resize(static_cast<std::size_t>(end - out.data()));
  return out;
}

std::string ToUtf8(TextView text) {
  std::string out(text.size() * kMaxUtf8BytesPerUnit, '\0');
  out.resize(static_cast<std::size_t>(WriteUtf8(text, out.data()) - out.data()));
  return out;
}

void AppendNum(Text& out, long long value) {
  std::array<char16_t, 24> units;
  char16_t* const end = units.data() + units.size();
  char16_t* first = end;
  // The magnitude as unsigned, so that the most negative value has one too.
  unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  do {
    *--first = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--first = u'-';
  out.append(first, static_cast<std::size_t>(end - first));
}

Text Num(long long value) {
  Text out;
  AppendNum(out, value);
  return out;
}

long long LeadingInt(TextView text, long long fallback) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  const std::size_t first = i;
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    if (value < 100000000000000000LL) value = value * 10 + (text[i] - u'0');
  }
  if (i == first) return fallback;
  return negative ? -value : value;
}

long long LeadingInt(TextView text) {
  return LeadingInt(text, 0);
}

Text Ascii(std::string_view ascii) {
  return Text(ascii.begin(), ascii.end());
}

Text FormatDouble(const char* format, double value) {
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, format, value);
  return Text(buf, buf + (n < 0 ? 0 : n));
}

Text PadZero(TextView text, std::size_t width) {
  Text out;
  if (text.size() < width) out.assign(width - text.size(), u'0');
  out.append(text);
  return out;
}

namespace {
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
}  // namespace

bool IsControlCharacter(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool HasControlCharacter(TextView text) {
  for (char16_t c : text) {
    if (IsControlCharacter(c)) return true;
  }
  return false;
}

Text EscapeControls(TextView text, TextView keep) {
  Text out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (!IsControlCharacter(c) || keep.find(c) != TextView::npos) {
      out += c;
    } else if (c == u'\t') {
      out += u"\\t";
    } else if (c == u'\n') {
      out += u"\\n";
    } else if (c == u'\r') {
      out += u"\\r";
    } else {
      static constexpr char16_t kHex[] = u"0123456789abcdef";
      out += u"\\x";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

std::size_t CharacterCount(TextView text) {
  std::size_t count = 0;
  for (char16_t c : text) count += IsLowSurrogate(c) ? 0 : 1;
  return count;
}

Text CutToCharacters(TextView text, std::size_t limit) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLowSurrogate(text[i])) continue;
    if (count++ == limit) return Text(text.substr(0, i));
  }
  return Text(text);
}

bool StartsWith(TextView text, TextView prefix) {
  return text.starts_with(prefix);
}

bool Contains(TextView text, TextView part) {
  return text.find(part) != TextView::npos;
}

}  // namespace xuanshu
