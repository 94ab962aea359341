// Building the main window's controls and menus.
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qt/main_window.h"
#include "qt/preview_pane.h"
#include "qt/ui_fonts.h"

namespace varnelko {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

void TForm1::BuildControls() {
  splitter_ = Named(new QSplitter(Qt::Horizontal), "Splitter1");
  splitter_->setHandleWidth(3);
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(BuildLeftPane());
  splitter_->addWidget(BuildRightPane());
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  connect(splitter_, &QSplitter::splitterMoved, this,
          [this](int position, int) { state_.pane_width = position; });
  setCentralWidget(splitter_);
  BuildMenu();
  BuildStatusBar();
}

QWidget* TForm1::BuildLeftPane() {
  auto* pane = Named(new QWidget, "Panel1");
  edit1_ = Named(new QLineEdit, "Edit1");
  edit1_->setReadOnly(true);
  edit1_->installEventFilter(this);  // a click chooses the search folder
  tree_ = Named(new QTreeWidget, "TreeView1");
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  connect(tree_, &QTreeWidget::itemClicked, this, [this] { TreeView1Click(); });
  tree_->viewport()->installEventFilter(this);  // clicks on an empty tree

  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit1_);
  layout->addWidget(tree_);
  return pane;
}

QWidget* TForm1::BuildRightPane() {
  auto* pane = new QWidget;
  combo_type_ = Named(new QComboBox, "ComboBox1");
  combo_type_->addItems({QStringLiteral("全てのファイル(*.*)"), QStringLiteral("*.JW?"),
                         QStringLiteral("*.JWW"), QStringLiteral("*.JWS")});
  connect(combo_type_, &QComboBox::activated, this, [this] { ComboBox1Change(); });
  auto* settings = Named(new QPushButton(QStringLiteral("JWW/JWS設定")), "Button1");
  connect(settings, &QPushButton::clicked, this, [this] { Button1Click(); });
  edit2_ = Named(new QLineEdit, "Edit2");
  edit2_->setReadOnly(true);
  auto* browse = Named(new QPushButton(QStringLiteral("参照")), "Button3");
  connect(browse, &QPushButton::clicked, this, [this] { Button3Click(); });
  auto* convert = Named(new QPushButton(QStringLiteral("変換")), "Button4");
  convert->setMinimumSize(72, 52);
  QFont big = convert->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  convert->setFont(big);
  connect(convert, &QPushButton::clicked, this, [this] { Button4Click(); });

  auto* fields = new QGridLayout;
  fields->addWidget(Named(new QLabel(QStringLiteral("ファイルの種類")), "Label1"), 0, 0);
  fields->addWidget(combo_type_, 0, 1);
  fields->addWidget(settings, 0, 2, 1, 2, Qt::AlignLeft);
  fields->addWidget(Named(new QLabel(QStringLiteral("保存先フォルダ")), "Label2"), 1, 0);
  fields->addWidget(edit2_, 1, 1, 1, 2);
  fields->addWidget(browse, 1, 3);
  fields->setColumnStretch(1, 1);
  auto* top = new QHBoxLayout;
  top->addLayout(fields, 1);
  top->addWidget(convert);

  grid_ = Named(new QTableWidget(1, kFileColumns), "StringGrid1");
  grid_->setFont(FixedPitchFont());
  grid_->verticalHeader()->hide();
  grid_->setShowGrid(false);
  grid_->setWordWrap(false);
  grid_->setTextElideMode(Qt::ElideNone);  // long texts are cut at the column edge
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  grid_->horizontalHeader()->setSectionsClickable(true);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
  for (int c = 0; c < kFileColumns; ++c) grid_->setColumnWidth(c, 64);
  grid_->horizontalHeader()->viewport()->installEventFilter(this);  // size re-alignment
  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { StringGrid1MouseDown(column); });
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { StringGrid1DblClick(); });

  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(4, 4, 0, 0);
  layout->addLayout(top);
  layout->addWidget(BuildListAndPreview(), 1);
  return pane;
}

QWidget* TForm1::BuildListAndPreview() {
  connect(grid_, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int previous_row, int) {
            if (row != previous_row) UpdatePreview();
          });
  preview_ = new PreviewPane;
  splitter2_ = Named(new QSplitter(Qt::Vertical), "Splitter2");
  splitter2_->setChildrenCollapsible(false);
  splitter2_->addWidget(grid_);
  splitter2_->addWidget(preview_);
  splitter2_->setStretchFactor(0, 1);
  splitter2_->setStretchFactor(1, 0);
  connect(splitter2_, &QSplitter::splitterMoved, this,
          [this] { state_.preview_height = splitter2_->sizes().value(1); });
  return splitter2_;
}

void TForm1::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル (&F)"));
  file->addAction(QStringLiteral("検索フォルダの指定 (&S)"), this, [this] { MnuFileSFolderClick(); });
  QMenu* types = file->addMenu(QStringLiteral("ファイルの種類 (&T)"));
  types->addAction(QStringLiteral("全てのファイル(*.*) (&0)"), this, [this] { MnuFileType0Click(); });
  types->addAction(QStringLiteral("(*.jw?) (&1)"), this, [this] { MnuFileType1Click(); });
  types->addAction(QStringLiteral("(*.jww) (&2)"), this, [this] { MnuFileType2Click(); });
  types->addAction(QStringLiteral("(*.jws) (&3)"), this, [this] { MnuFileType3Click(); });
  file->addAction(QStringLiteral("保存先フォルダの指定 (&H)"), this, [this] { Button3Click(); });
  file->addSeparator();
  file->addAction(QStringLiteral("終了 (&X)"), this, [this] { MnuExitClick(); });

  QMenu* set = menuBar()->addMenu(QStringLiteral("設定 (&S)"));
  set->addAction(QStringLiteral("JWW/JWS設定 (&1)"), this, [this] { Button1Click(); });
  set->addSeparator();
  set->addAction(QStringLiteral("現在の設定を保存(&S)..."), this, [this] { MnuSetSaveClick(); });
  set->addAction(QStringLiteral("保存した設定を開く(&O)..."), this, [this] { MnuSetOpenClick(); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示 (&V)"));
  preview_action_ = view->addAction(QStringLiteral("プレビュー (&P)"), this,
                                    [this](bool checked) { ShowPreview(checked); });
  preview_action_->setCheckable(true);
  preview_action_->setChecked(true);
}

void TForm1::BuildStatusBar() {
  status_ = Named(new QLabel, "StatusBar1");
  statusBar()->addWidget(status_, 1);
  progress_ = Named(new QProgressBar, "ProgressBar1");
  progress_->setFormat(QStringLiteral("%v / %m"));
  progress_->setMaximumWidth(160);
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);
}

}  // namespace varnelko
