// The program's name and window titles, in the shown script.
#pragma once

#include <QString>

namespace xuanshu {

// "玄枢八字排盘"
QString AppName();
// The name with the maker's credit in full-width parentheses.
QString AppTitle();
// The title while a chart is open: eleven spaces, then the record path.
QString AppTitleWithRecord(const QString& recordPath);
// "玄枢八字排盘 1.0"
QString AppNameWithVersion();
// About box lines and the maker's web page.
QString DesignerCredit();
QString ContactAddress();
QString HomepageUrl();

}  // namespace xuanshu
