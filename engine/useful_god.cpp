#include <array>

#include "calendar/ganzhi.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

// Reference useful gods, chosen from the day stem alone.
constexpr std::array<TextView, 10> kUsefulGodTable = {
    u"庚丁癸戊",  // 甲
    u"丙癸己",    // 乙
    u"壬庚甲",    // 丙
    u"壬庚甲",    // 丁
    u"癸庚甲丙",  // 戊
    u"癸庚甲丙",  // 己
    u"壬甲丁",    // 庚
    u"壬甲",      // 辛
    u"甲丙庚戊",  // 壬
    u"甲丙庚",    // 癸
};

}  // namespace

Text ChartEngine::UsefulGodText() const {
  Text out;
  for (char16_t stem : kUsefulGodTable[StemIndex(StemOf(dayPillar))]) {
    if (!out.empty()) out += u"、";
    out += stem;
  }
  return out;
}

}  // namespace xuanshu
