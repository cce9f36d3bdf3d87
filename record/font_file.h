// The saved report font: one logical-font description of 92 bytes, no
// header, little-endian, in the layout of the Windows LOGFONTW record, so a
// font file of the original program reads back unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "record/text.h"

namespace xuanshu {

inline constexpr std::size_t kFaceNameUnits = 32;  // terminator included
inline constexpr std::size_t kFontRecordSize = 92;

struct FontRecord {
  std::int32_t height = 0;  // negative: character height in logical units
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;  // 400 normal, 700 bold
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::array<char16_t, kFaceNameUnits> faceName{};

  bool operator==(const FontRecord&) const = default;
};

// The 92 bytes of a record.
std::string EncodeFontRecord(const FontRecord& font);
// A record from its bytes; missing trailing bytes read as zero, extra bytes
// are ignored.
FontRecord DecodeFontRecord(std::string_view bytes);

// The face name up to its terminator.
Text FaceName(const FontRecord& font);
// Stores a face name, cut to 31 units (never inside a surrogate pair).
void SetFaceName(FontRecord& font, TextView face);

// nullopt when the file is missing or cannot be read. A shorter file is
// accepted; its missing part reads as zero.
std::optional<FontRecord> ReadFontFile(const std::filesystem::path& path);
// Replaces the file whole, atomically.
bool WriteFontFile(const std::filesystem::path& path, const FontRecord& font);

}  // namespace xuanshu
