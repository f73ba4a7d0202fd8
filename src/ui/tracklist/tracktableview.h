#pragma once

#include "tracklist/colorwell.h"
#include "tracklist/tracklistmodel.h"

#include <QPersistentModelIndex>
#include <QTableView>
#include <QUuid>

#include <array>

class QMenu;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// The editable track table. Rows are selected as usual; the cells' controls (drag handle, delete
// button, checkbox, pull-down menus, colour well) act on a click without touching the selection,
// so that an edit on one row of a multiple selection reaches the whole selection. The selection
// is the view model's `selectedTrackIDs`, both ways.
class TrackTableView final : public QTableView {
    Q_OBJECT

public:
    TrackTableView(SessionViewModel *viewModel, QWidget *parent = nullptr);

    TrackListModel *trackModel() const { return m_model; }
    void setColorPicker(ColorPicker picker) { m_colorPicker = std::move(picker); }

    // The name cell of the row a dragged row hovers over, if it would be accepted there.
    QModelIndex dropTargetIndex() const { return m_dropTarget; }
    // The control under a mouse button that is still down.
    QModelIndex pressedIndex() const;

    // The pull-down menu of a row's device or channel cell, as a click opens it.
    void populateMenu(QMenu &menu, const QModelIndex &index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = {}) override;
    using QTableView::edit;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    // What the left mouse button is doing: nothing, holding a control until release, holding a
    // row's handle until it has moved far enough to become a drag, or dragging the row.
    enum class Gesture { idle, pressingControl, pressingHandle, draggingRow };

    void setUpColumns();
    void fitNameColumn();
    // The control at a point, or an invalid index over plain cells.
    QModelIndex controlAt(const QPoint &position) const;
    void activateControl(const QModelIndex &index);
    void openMenu(const QModelIndex &index);
    void pickColor(const QModelIndex &index);
    void dragRowTo(const QPoint &position);
    void endRowDrag();
    void setDropTarget(const QModelIndex &index);
    void publishSelection();
    void showSelection(bool scrollToSelection);
    void refreshOpenNameEditor(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    SessionViewModel *m_viewModel;
    TrackListModel *m_model;
    ColorPicker m_colorPicker = colorDialogPicker();
    Gesture m_gesture = Gesture::idle;
    QPersistentModelIndex m_gestureIndex;
    QPoint m_pressPosition;
    QPersistentModelIndex m_dropTarget;
    bool m_showingSelection = false;
    bool m_fittingColumns = false;
    // Each column's width as set up or as the user dragged it; a narrow window takes from it.
    std::array<int, TrackListModel::ColumnCount> m_wantedWidths{};
    // The track whose name field is open and the name it had when the field opened, which
    // Escape puts back.
    QUuid m_renamedTrackID;
    QString m_nameBeforeEdit;
};

} // namespace kelvary::ui
