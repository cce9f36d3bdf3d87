#include "calendar/zi_school.h"

namespace xuanshu {

const ZiSchool* ZiSchoolByKey(std::string_view key) {
  if (key == kNextDayZiSchool.key) return &kNextDayZiSchool;
  if (key == kSameDayZiSchool.key) return &kSameDayZiSchool;
  return nullptr;
}

}  // namespace xuanshu
