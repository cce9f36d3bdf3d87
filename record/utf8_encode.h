// UTF-16 -> UTF-8 unit by unit: the encoder of every machine, of the last
// few units of a text, and of the units around surrogates.
#pragma once

#include "record/text.h"

namespace xuanshu {

// Writes the character at p, a surrogate pair as one and an unpaired
// surrogate as U+FFFD, and steps p and out past it; end bounds the pair.
inline void WriteUtf8Character(const char16_t*& p, const char16_t* end, char*& out) {
  char32_t cp = *p++;
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
    return;
  }
  if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    return;
  }
  if (cp >= 0xD800 && cp <= 0xDFFF) {
    if (cp <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (*p++ - 0xDC00);
      *out++ = static_cast<char>(0xF0 | (cp >> 18));
      *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (cp & 0x3F));
      return;
    }
    cp = 0xFFFD;  // an unpaired surrogate
  }
  *out++ = static_cast<char>(0xE0 | (cp >> 12));
  *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  *out++ = static_cast<char>(0x80 | (cp & 0x3F));
}

// WriteUtf8 one character at a time, with the same contract.
inline char* WriteUtf8Scalar(TextView text, char* out) {
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  while (p < end) WriteUtf8Character(p, end, out);
  return out;
}

}  // namespace xuanshu
