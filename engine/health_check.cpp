// Congenital health check (先天体检): how often each stem, with its organ,
// occurs among the pillar stems and the hidden stems of the branches.
#include <array>

#include "calendar/ganzhi.h"
#include "engine/chart_engine.h"
#include "engine/pillar_tables.h"

namespace xuanshu {
namespace {

struct OrganEntry {
  char16_t stem;
  TextView organ;
};

constexpr std::array<OrganEntry, 10> kOrganTable = {{
    {u'甲', u"胆"},
    {u'乙', u"肝"},
    {u'丙', u"小肠"},
    {u'丁', u"心脏"},
    {u'戊', u"胃"},
    {u'己', u"脾"},
    {u'庚', u"大肠"},
    {u'辛', u"肺"},
    {u'壬', u"膀胱"},
    {u'癸', u"肾"},
}};

using OrganCounts = std::array<int, kOrganTable.size()>;

// Counts one occurrence; a character that is not a stem counts nowhere.
void CountStem(TextView stem, OrganCounts& counts) {
  if (stem.size() != 1) return;
  for (std::size_t i = 0; i < kOrganTable.size(); ++i) {
    if (kOrganTable[i].stem == stem[0]) ++counts[i];
  }
}

}  // namespace

void ChartEngine::WriteHealthCheck(ChartRecord& record) const {
  OrganCounts counts{};
  for (TextView pillar : {yearPillar, monthPillar, dayPillar, hourPillar}) {
    CountStem(StemOf(pillar), counts);
  }
  for (TextView pillar : {yearPillar, monthPillar, dayPillar, hourPillar}) {
    const TextView hidden = kHiddenStemTable[BranchIndex(BranchOf(pillar))];
    for (std::size_t i = 0; i < hidden.size(); ++i) CountStem(hidden.substr(i, 1), counts);
  }

  record.Set(u"tijian", u"count", Num(static_cast<long long>(kOrganTable.size())));
  NumberedKey key;
  for (std::size_t i = 0; i < kOrganTable.size(); ++i) {
    const auto n = static_cast<long long>(i + 1);
    record.Set(u"tijian", key(u"keyname", n), TextView(&kOrganTable[i].stem, 1));
    record.Set(u"tijian", key(u"keyis", n), kOrganTable[i].organ);
    record.Set(u"tijian", key(u"keyfenshu", n), Num(counts[i]));
  }
}

}  // namespace xuanshu
