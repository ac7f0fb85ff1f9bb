#include "resource_list_view.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "control_number.h"
#include "glyphmill_session.h"
#include "language_file.h"
#include "main_window_rules.h"
#include "qt_text.h"
#include "text_catalogue.h"
#include "user_prompts.h"

namespace glyphmill {
namespace {

constexpr int kBoxSize = 13;
constexpr int kBoxLeft = 6;
// Room left of the first column's title for the box.
const QString kTitlePadding = QStringLiteral("      ");

Qt::Alignment alignmentOf(ColumnAlignment alignment) {
    switch (alignment) {
        case ColumnAlignment::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
        case ColumnAlignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case ColumnAlignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The pop-up menu, relabelled by command number.
class PopupTexts : public PopupTextTarget {
public:
    explicit PopupTexts(QMenu &menu) : menu_(menu) {}
    void setEntryText(int command, const std::u16string &text) override {
        for (QAction *action : menu_.actions())
            if (controlNumber(action) == command) action->setText(qtText(text));
    }

private:
    QMenu &menu_;
};

}  // namespace

SelectAllHeader::SelectAllHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(false);
    setSectionsMovable(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setSortIndicatorShown(false);
}

void SelectAllHeader::setChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    viewport()->update();
}

QRect SelectAllHeader::boxRect() const {
    return QRect(sectionViewportPosition(0) + kBoxLeft, (height() - kBoxSize) / 2, kBoxSize, kBoxSize);
}

void SelectAllHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != 0) return;
    QStyleOptionButton box;
    box.rect = QRect(rect.left() + kBoxLeft, rect.top() + (rect.height() - kBoxSize) / 2, kBoxSize, kBoxSize);
    box.state = QStyle::State_Enabled | (checked_ ? QStyle::State_On : QStyle::State_Off);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, this);
}

void SelectAllHeader::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && boxRect().contains(event->position().toPoint())) {
        emit boxClicked();
        return;
    }
    QHeaderView::mousePressEvent(event);
}

ResourceListView::ResourceListView(QWidget *parent) : QWidget(parent), list_(new QTreeWidget(this)) {
    setProperty(kDialogNumberProperty, 311);
    numbered(list_, 1050);
    header_ = new SelectAllHeader(list_);
    list_->setHeader(header_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSortingEnabled(false);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setColumnCount(0);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);

    connect(header_, &SelectAllHeader::boxClicked, this, &ResourceListView::toggleSelectAll);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &ResourceListView::takeSelectionFromList);
    connect(list_, &QWidget::customContextMenuRequested, this, &ResourceListView::openContextMenu);
}

bool ResourceListView::applyTexts() {
    const auto titles = SectionTexts(GlyphmillSession::current().languageFile, "ResList", 4);
    if (!titles) return false;
    const std::vector<ListColumn> columns = ParseColumnLayout(ResourceColumnLayout(*titles));
    list_->clear();
    list_->setColumnCount(static_cast<int>(columns.size()));
    QStringList labels;
    for (std::size_t i = 0; i < columns.size(); ++i)
        labels << (i == 0 ? kTitlePadding : QString()) + qtText(columns[i].title);
    list_->setHeaderLabels(labels);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        list_->setColumnWidth(static_cast<int>(i), columns[i].width);
        list_->headerItem()->setTextAlignment(static_cast<int>(i), alignmentOf(columns[i].alignment));
    }
    showRows();
    return true;
}

void ResourceListView::setRecords(std::vector<FileRecord> records) {
    model_.setRecords(std::move(records));
    showRows();
}

void ResourceListView::removeSelected() {
    model_.removeSelected();
    showRows();
}

void ResourceListView::clear() {
    model_.clear();
    showRows();
}

void ResourceListView::selectRows(const std::vector<std::size_t> &rows) {
    list_->clearSelection();
    for (std::size_t row : rows)
        if (QTreeWidgetItem *item = list_->topLevelItem(static_cast<int>(row))) item->setSelected(true);
}

void ResourceListView::showRows() {
    showing_ = true;
    list_->clear();
    for (const FileRecord &record : model_.records()) {
        auto *item = new QTreeWidgetItem(list_);
        const std::vector<std::u16string> texts = RowTexts(record);
        for (int column = 0; column < list_->columnCount() && column < static_cast<int>(texts.size()); ++column)
            item->setText(column, qtText(texts[static_cast<std::size_t>(column)]));
    }
    showing_ = false;
    showSelection();
}

void ResourceListView::showSelection() {
    showing_ = true;
    for (int row = 0; row < list_->topLevelItemCount(); ++row)
        list_->topLevelItem(row)->setSelected(model_.isSelected(static_cast<std::size_t>(row)));
    showing_ = false;
    header_->setChecked(model_.selectAll());
}

void ResourceListView::takeSelectionFromList() {
    if (showing_) return;
    std::vector<bool> selected(static_cast<std::size_t>(list_->topLevelItemCount()));
    for (int row = 0; row < list_->topLevelItemCount(); ++row)
        selected[static_cast<std::size_t>(row)] = list_->topLevelItem(row)->isSelected();
    model_.setSelection(selected);
    header_->setChecked(model_.selectAll());
}

void ResourceListView::toggleSelectAll() {
    model_.toggleSelectAll();
    showSelection();
}

void ResourceListView::openContextMenu(const QPoint &position) {
    QMenu menu(this);
    for (int command : {kCommandDelete, kCommandTestPrint}) {
        QAction *action = menu.addAction(command == kCommandDelete ? QStringLiteral("文件删除(&D)")
                                                                   : QStringLiteral("测试打印(&P)"));
        numbered(action, command);
        action->setEnabled(CommandEnabled(command, CommandState{{}, model_.selectedCount()}));
        connect(action, &QAction::triggered, this, [this, command] { emit commandRequested(command); });
    }
    PopupTexts texts(menu);
    if (!ApplyContextMenuTexts(GlyphmillSession::current().languageFile, texts))
        ShowMessage(this, texts::kMenuTextsFailed);
    menu.exec(list_->viewport()->mapToGlobal(position));
}

}  // namespace glyphmill
