// Text helpers shared by the core: the system keeps all text as UTF-16 and
// converts to UTF-8 only at file and terminal edges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xuanshu {

using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-8 -> UTF-16; invalid sequences become U+FFFD.
Text FromUtf8(std::string_view utf8);
// The same for well-formed UTF-8 only; nullopt for any invalid sequence.
std::optional<Text> FromValidUtf8(std::string_view utf8);
// UTF-16 -> UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(TextView text);
// The same, written at `out`, which has room for kMaxUtf8BytesPerUnit bytes
// per UTF-16 unit; returns the end of what was written. Eight units at a time
// where the processor allows (record/utf8_encode.h).
inline constexpr std::size_t kMaxUtf8BytesPerUnit = 3;
char* WriteUtf8(TextView text, char* out);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// "%d"
Text Num(long long value);
// Appends "%d" to out without a temporary.
void AppendNum(Text& out, long long value);
// Keys made of a name and a number, e.g. yearBegin3, built in one buffer
// that serves every key; a key's view lasts until the next one is made.
class NumberedKey {
 public:
  TextView operator()(TextView name, long long number) {
    text_.assign(name);
    AppendNum(text_, number);
    return text_;
  }

 private:
  Text text_;
};

// Integer value of the leading ASCII decimal digits (an optional sign first),
// 0 when there are none. This is how the program reads integer fields.
long long LeadingInt(TextView text);
// Same, but returns fallback when the text holds no leading digit.
long long LeadingInt(TextView text, long long fallback);

// ASCII-only text from a narrow literal or snprintf result.
Text Ascii(std::string_view ascii);

// printf-style formatting of one double into UTF-16 ("%.1f", "%1.f", ...).
Text FormatDouble(const char* format, double value);

// Zero-padding used by the reports' "%04s" / "%02s": pads on the left with '0'.
Text PadZero(TextView text, std::size_t width);

// C0 and C1 control characters (line breaks and tabs included).
bool IsControlCharacter(char16_t c);
bool HasControlCharacter(TextView text);

// The text with every control character (C0, DEL and C1) not in `keep`
// shown as an escape: \t, \n, \r, else \x followed by two hex digits
// (\x1b), so a terminal shows it instead of obeying it.
Text EscapeControls(TextView text, TextView keep = {});

// Characters as the user counts them: a surrogate pair is one character.
std::size_t CharacterCount(TextView text);
// The first `limit` characters, never splitting a surrogate pair.
Text CutToCharacters(TextView text, std::size_t limit);

bool StartsWith(TextView text, TextView prefix);
bool Contains(TextView text, TextView part);

}  // namespace xuanshu
