#include "app_title.h"

#include <QDir>

#ifndef XUANSHU_HOMEPAGE
#define XUANSHU_HOMEPAGE "https://example.org/xuanshu"
#endif
#ifndef XUANSHU_CONTACT
#define XUANSHU_CONTACT "xuanshu@example.org"
#endif

namespace xuanshu {

QString AppName() {
  return QStringLiteral(u"玄枢八字排盘");
}

QString AppTitle() {
  return AppName() + QStringLiteral(u"（玄枢工作室 出品）");
}

QString AppTitleWithRecord(const QString& recordPath) {
  return AppTitle() + QStringLiteral("           ") + QDir::toNativeSeparators(recordPath);
}

QString AppNameWithVersion() {
  return QStringLiteral(u"玄枢八字排盘 1.0");
}

QString DesignerCredit() {
  return QStringLiteral(u"设计：玄枢工作室");
}

QString ContactAddress() {
  return QStringLiteral(u"联系：") + QStringLiteral(XUANSHU_CONTACT);
}

QString HomepageUrl() {
  return QStringLiteral(XUANSHU_HOMEPAGE);
}

}  // namespace xuanshu
