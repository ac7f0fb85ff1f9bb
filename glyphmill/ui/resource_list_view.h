// The right pane of the main window: the files the printer holds, one row per file record,
// with a select-all box in the header and a context menu for delete and test print.
#pragma once

#include <QHeaderView>
#include <QWidget>

#include "resource_list_model.h"

class QTreeWidget;

namespace glyphmill {

// The header whose first section carries the select-all box; sorting and resizing are off.
class SelectAllHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SelectAllHeader(QWidget *parent);
    void setChecked(bool checked);
    bool isChecked() const { return checked_; }
    QRect boxRect() const;

signals:
    void boxClicked();

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool checked_ = false;
};

class ResourceListView : public QWidget {
    Q_OBJECT
public:
    explicit ResourceListView(QWidget *parent = nullptr);

    // Sets the columns from the "ResList" titles of the session's language file; false (the
    // columns stay as they were) when they cannot be read.
    bool applyTexts();

    void setRecords(std::vector<FileRecord> records);
    void removeSelected();
    void clear();

    const ResourceListModel &model() const { return model_; }
    QTreeWidget *list() const { return list_; }
    SelectAllHeader *header() const { return header_; }

    // Selects rows as the user would; for the main window's tests.
    void selectRows(const std::vector<std::size_t> &rows);

signals:
    // A command chosen from the context menu.
    void commandRequested(int command);

private:
    void showRows();
    void showSelection();
    void takeSelectionFromList();
    void toggleSelectAll();
    void openContextMenu(const QPoint &position);

    ResourceListModel model_;
    QTreeWidget *list_;
    SelectAllHeader *header_;
    bool showing_ = false;  // the list is being refilled: its selection signals are ours
};

}  // namespace glyphmill
