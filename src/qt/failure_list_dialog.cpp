#include "qt/failure_list_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "desktop/shell_texts.h"
#include "qt/app_paths.h"

namespace varnelko {

FailureListDialog::FailureListDialog(const std::string& text, const std::vector<FailureRow>& rows,
                                     QWidget* parent)
    : QDialog(parent), rows_(rows) {
  setObjectName(QStringLiteral("FailureList"));
  setWindowTitle(Utf8(texts::kFailureListTitle));
  setSizeGripEnabled(true);
  auto* icon = new QLabel;
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  auto* summary = new QLabel(Utf8(text));
  summary->setObjectName(QStringLiteral("FailureSummary"));
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(summary, 1);

  auto* table = new QTableWidget(static_cast<int>(rows.size()), 2);
  table->setObjectName(QStringLiteral("FailureTable"));
  table->setHorizontalHeaderLabels({Utf8(texts::kFailureName), Utf8(texts::kFailureReason)});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->horizontalHeader()->setStretchLastSection(true);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    table->setItem(r, 0, new QTableWidgetItem(Utf8(rows[r].name)));
    table->setItem(r, 1, new QTableWidgetItem(Utf8(rows[r].reason)));
    table->item(r, 1)->setToolTip(Utf8(rows[r].reason));
  }
  table->resizeColumnToContents(0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  auto* copy = buttons->addButton(Utf8(texts::kCopy), QDialogButtonBox::ActionRole);
  copy->setObjectName(QStringLiteral("FailureCopy"));
  connect(copy, &QPushButton::clicked, this, &FailureListDialog::CopyClick);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table, 1);
  layout->addWidget(buttons);
  resize(560, 360);
}

void FailureListDialog::CopyClick() {
  QApplication::clipboard()->setText(Utf8(FailureListText(rows_)));
}

}  // namespace varnelko
