#include "app_title.h"

#include <QDir>

#include "qt_text.h"

#ifndef XUANSHU_HOMEPAGE
#define XUANSHU_HOMEPAGE "https://example.org/xuanshu"
#endif
#ifndef XUANSHU_CONTACT
#define XUANSHU_CONTACT "xuanshu@example.org"
#endif

namespace xuanshu {

QString AppName() {
  return ShownQString(u"玄枢八字排盘");
}

QString AppTitle() {
  return AppName() + ShownQString(u"（玄枢工作室 出品）");
}

QString AppTitleWithRecord(const QString& recordPath) {
  return AppTitle() + QStringLiteral("           ") + QDir::toNativeSeparators(recordPath);
}

QString AppNameWithVersion() {
  return ShownQString(u"玄枢八字排盘 1.0");
}

QString DesignerCredit() {
  return ShownQString(u"设计：玄枢工作室");
}

QString ContactAddress() {
  return ShownQString(u"联系：") + QStringLiteral(XUANSHU_CONTACT);
}

QString HomepageUrl() {
  return QStringLiteral(XUANSHU_HOMEPAGE);
}

}  // namespace xuanshu
