#include "record/font_file.h"

#include "record/record_file.h"

namespace xuanshu {
namespace {

// Five 32-bit integers, eight flag bytes, the face name.
static_assert(5 * 4 + 8 + kFaceNameUnits * 2 == kFontRecordSize);

// Little-endian cursor over the record bytes; reads past the end give zero.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  std::uint32_t Unsigned(int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i, ++pos_) {
      if (pos_ < bytes_.size()) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_])) << (8 * i);
      }
    }
    return value;
  }
  std::int32_t Int32() { return static_cast<std::int32_t>(Unsigned(4)); }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Unsigned(1)); }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

void PutUnsigned(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

std::string EncodeFontRecord(const FontRecord& font) {
  std::string out;
  out.reserve(kFontRecordSize);
  for (std::int32_t v : {font.height, font.width, font.escapement, font.orientation, font.weight}) {
    PutUnsigned(out, static_cast<std::uint32_t>(v), 4);
  }
  for (std::uint8_t b :
       {font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
        font.clipPrecision, font.quality, font.pitchAndFamily}) {
    PutUnsigned(out, b, 1);
  }
  for (char16_t unit : font.faceName) PutUnsigned(out, unit, 2);
  return out;
}

FontRecord DecodeFontRecord(std::string_view bytes) {
  ByteReader in(bytes);
  FontRecord font;
  font.height = in.Int32();
  font.width = in.Int32();
  font.escapement = in.Int32();
  font.orientation = in.Int32();
  font.weight = in.Int32();
  font.italic = in.Byte();
  font.underline = in.Byte();
  font.strikeOut = in.Byte();
  font.charSet = in.Byte();
  font.outPrecision = in.Byte();
  font.clipPrecision = in.Byte();
  font.quality = in.Byte();
  font.pitchAndFamily = in.Byte();
  for (char16_t& unit : font.faceName) unit = static_cast<char16_t>(in.Unsigned(2));
  return font;
}

Text FaceName(const FontRecord& font) {
  Text face;
  for (char16_t unit : font.faceName) {
    if (unit == 0) break;
    face.push_back(unit);
  }
  return face;
}

void SetFaceName(FontRecord& font, TextView face) {
  std::size_t length = std::min(face.size(), kFaceNameUnits - 1);
  if (length < face.size() && length > 0 && IsHighSurrogate(face[length - 1])) --length;
  font.faceName.fill(0);
  face.substr(0, length).copy(font.faceName.data(), length);
}

std::optional<FontRecord> ReadFontFile(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = ReadFileHead(path, kFontRecordSize);
  if (!bytes) return std::nullopt;
  return DecodeFontRecord(*bytes);
}

bool WriteFontFile(const std::filesystem::path& path, const FontRecord& font) {
  return WriteFileAtomic(path, EncodeFontRecord(font));
}

}  // namespace xuanshu
