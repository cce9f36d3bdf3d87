#include "about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_title.h"
#include "link_label.h"
#include "qt_text.h"

namespace xuanshu {
namespace {

constexpr int kIconSize = 48;

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ShownQString(u"关于") + AppName());

  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().pixmap(kIconSize, kIconSize));
  icon->setAlignment(Qt::AlignTop);

  auto* website = new QHBoxLayout;
  website->addWidget(new QLabel(ShownQString(u"官方网站："), this));
  website->addWidget(new LinkLabel(QUrl(HomepageUrl()), this));
  website->addStretch(1);

  auto* lines = new QVBoxLayout;
  lines->addWidget(new QLabel(AppNameWithVersion(), this));
  lines->addWidget(new QLabel(DesignerCredit(), this));
  lines->addWidget(new QLabel(ContactAddress(), this));
  lines->addLayout(website);

  auto* body = new QHBoxLayout;
  body->addWidget(icon);
  body->addSpacing(12);
  body->addLayout(lines, 1);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(ShownQString(u"确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace xuanshu
