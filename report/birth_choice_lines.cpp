// The lines a chart computed with birth-moment choices of its own shows
// under its lunar birth date; a chart computed with the defaults has none.
#include "calendar/longitude.h"
#include "calendar/places.h"
#include "calendar/term_source.h"
#include "calendar/zi_school.h"
#include "report/layout_renderer.h"
#include "report/layout_texts.h"

namespace xuanshu {

using namespace layout_text;

namespace {

constexpr TextView kSection = u"chusheng";

bool IsFixedOffset(TextView zone) {
  return !zone.empty() && (zone.front() == u'+' || zone.front() == u'-');
}

}  // namespace

void LayoutRenderer::WriteBirthChoices() {
  const TextView place = Read(kSection, u"didian");
  const TextView longitude = Read(kSection, u"jingdu");
  const TextView zone = Read(kSection, u"shiqu");
  const bool showZone = IsFixedOffset(zone) && zone != u"+08:00";
  if (!place.empty() || !longitude.empty()) {
    Put(kBirthplaceLabel);
    if (IsPlaceLabel(place)) {
      Put(place);
    } else {
      PutUserText(place);
    }
    if (!longitude.empty()) {
      if (!place.empty()) Put(kSplitGap);
      const std::optional<double> degrees = ParseLongitude(longitude);
      if (degrees) {
        Put(LongitudeText(*degrees));
      } else {
        Put(longitude);
      }
    }
    if (showZone) Put(Text(kSplitGap).append(kZoneLabel).append(zone));
    Put(kLineBreak);
  } else if (showZone) {
    Put(Text(kZoneLabel).append(zone));
    Put(kLineBreak);
  }
  const TextView trueSolar = Read(kSection, u"zhentaiyang");
  if (!trueSolar.empty()) {
    PutFormat(ReportColor::kBlack, kTrueSolarFormat,
              {CharactersAt(trueSolar, 0, 4), CharactersAt(trueSolar, 5, 2),
               CharactersAt(trueSolar, 8, 2), CharactersAt(trueSolar, 11, 2),
               CharactersAt(trueSolar, 14, 2)});
  }
  const TextView termKey = Read(kSection, u"jieqi");
  const TextView ziKey = Read(kSection, u"zishi");
  const TermSource* terms = TermSourceByKey(ToUtf8(termKey));
  const ZiSchool* school = ZiSchoolByKey(ToUtf8(ziKey));
  Put(kTermModeLabel);
  Put(terms ? terms->label() : termKey);
  Put(kZiSchoolLabel);
  Put(school ? Text(school->name) + Text(school->explanation) : ziKey);
  Put(kLineBreak);
  const long long count = BoundedCount(ReadInt(kSection, u"count"), record_.FindSection(kSection));
  for (long long i = 1; i <= count; ++i) {
    Put(kWarningLabel);
    Put(Read(kSection, u"tishi" + Num(i)), ReportColor::kRed);
    Put(kLineBreak);
  }
}

}  // namespace xuanshu
