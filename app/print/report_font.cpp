#include "report_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "qt_text.h"

namespace xuanshu {
namespace {

// Character sets, pitches and families of the font record.
constexpr std::uint8_t kDefaultCharset = 1;
constexpr std::uint8_t kGb2312Charset = 134;
constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kVariablePitch = 2;
constexpr std::uint8_t kModernFamily = 0x30;
// What the platform's font dialog stores for a screen font.
constexpr std::uint8_t kStrokePrecision = 3;
constexpr std::uint8_t kStrokeClipping = 2;
constexpr std::uint8_t kDraftQuality = 1;

constexpr int kDefaultPixelSize = 16;
constexpr std::int32_t kNormalWeight = 400;

int PixelSizeForCellHeight(QFont font, int cellHeight) {
  font.setPixelSize(cellHeight);
  const qreal height = QFontMetricsF(font).height();
  if (height <= 0) return cellHeight;
  return std::max(1, static_cast<int>(std::lround(cellHeight * cellHeight / height)));
}

bool WritesSimplifiedChinese(const QString& family) {
  return QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese);
}

}  // namespace

QFont DefaultReportFont() {
  static const QStringList kFaces = {QStringLiteral(u"宋体"), QStringLiteral("SimSun"),
                                     QStringLiteral("NSimSun"),
                                     QStringLiteral("Noto Sans Mono CJK SC")};
  QString family = kFaces.back();
  for (const QString& face : kFaces) {
    if (QFontDatabase::hasFamily(face)) {
      family = face;
      break;
    }
  }
  QFont font(family);
  font.setPixelSize(kDefaultPixelSize);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

QFont FontFromRecord(const FontRecord& record) {
  QFont font(ToQString(FaceName(record)));
  if (record.height < 0) {
    font.setPixelSize(-record.height);
  } else if (record.height > 0) {
    font.setPixelSize(PixelSizeForCellHeight(font, record.height));
  } else {
    font.setPixelSize(kDefaultPixelSize);
  }
  const int weight = record.weight == 0 ? kNormalWeight : std::clamp<int>(record.weight, 1, 1000);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(record.italic != 0);
  font.setUnderline(record.underline != 0);
  font.setStrikeOut(record.strikeOut != 0);
  if ((record.pitchAndFamily & 0x3) == kFixedPitch) font.setFixedPitch(true);
  return font;
}

FontRecord RecordFromFont(const QFont& font) {
  FontRecord record;
  const QFontInfo info(font);
  record.height = -(font.pixelSize() > 0 ? font.pixelSize() : info.pixelSize());
  record.weight = static_cast<std::int32_t>(font.weight());
  record.italic = font.italic() ? 1 : 0;
  record.underline = font.underline() ? 1 : 0;
  record.strikeOut = font.strikeOut() ? 1 : 0;
  record.charSet = WritesSimplifiedChinese(font.family()) ? kGb2312Charset : kDefaultCharset;
  record.outPrecision = kStrokePrecision;
  record.clipPrecision = kStrokeClipping;
  record.quality = kDraftQuality;
  record.pitchAndFamily = info.fixedPitch() ? (kFixedPitch | kModernFamily) : kVariablePitch;
  SetFaceName(record, ToText(font.family()));
  return record;
}

}  // namespace xuanshu
