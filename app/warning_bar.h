// The bar above the report that shows the warnings (提示) of the chart on
// show; hidden when it has none. The report text itself never changes for
// them.
#pragma once

#include <QLabel>
#include <vector>

#include "record/text.h"

namespace xuanshu {

class WarningBar : public QLabel {
  Q_OBJECT

 public:
  explicit WarningBar(QWidget* parent = nullptr);

  void ShowWarnings(const std::vector<Text>& warnings);
  QStringList lines() const { return lines_; }

 private:
  QStringList lines_;
};

}  // namespace xuanshu
