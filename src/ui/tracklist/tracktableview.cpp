#include "tracklist/tracktableview.h"

#include "app/sessionviewmodel.h"
#include "tracklist/trackcelldelegate.h"
#include "tracklist/trackcellmenus.h"
#include "tracklist/tracklistmodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <array>

namespace kelvary::ui {

namespace {

struct ColumnWidth {
    int minimum;
    int ideal;
    int maximum; // 0: no maximum
};

constexpr std::array<ColumnWidth, TrackListModel::ColumnCount> columnWidths{{
    {16, 20, 28}, // drag handle
    {24, 28, 36}, // delete
    {28, 32, 56}, // 选中
    {36, 44, 72}, // 类型
    {40, 48, 72}, // 通道
    {80, 160, 0}, // 名称
    {64, 120, 0}, // 调音台输入
    {80, 148, 0}, // 输入设备
    {72, 128, 0}, // 输入通道
    {44, 52, 64}, // 颜色
}};

bool isControlColumn(int column)
{
    switch (column) {
    case TrackListModel::ReorderHandleColumn:
    case TrackListModel::DeleteColumn:
    case TrackListModel::IncludedColumn:
    case TrackListModel::AudioDeviceColumn:
    case TrackListModel::AudioChannelColumn:
    case TrackListModel::ColorColumn:
        return true;
    default:
        return false;
    }
}

} // namespace

TrackTableView::TrackTableView(SessionViewModel *viewModel, QWidget *parent)
    : QTableView(parent)
    , m_viewModel(viewModel)
    , m_model(new TrackListModel(viewModel, this))
{
    setModel(m_model);
    setItemDelegate(new TrackCellDelegate(this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    // NOTE: no SelectedClicked. A click on a selected row that opened the name field made the
    // next Space, meant to include or exclude the row, replace the whole name.
    setEditTriggers(DoubleClicked | EditKeyPressed);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    // Rows are moved by their handle with the table's own gesture, not a platform drag: the
    // drag-and-drop protocol of an X11 session brings nothing to a move within one table.
    setDragEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(TrackCellDelegate::rowHeight);
    setUpColumns();

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TrackTableView::publishSelection);
    connect(m_viewModel, &SessionViewModel::selectedTrackIDsChanged, this,
            [this] { showSelection(true); });
    // After the model has told its rows: the rows of a restored session get their selection.
    connect(m_viewModel, &SessionViewModel::sessionChanged, this, [this] { showSelection(false); });
    showSelection(false);
}

void TrackTableView::setUpColumns()
{
    QHeaderView *header = horizontalHeader();
    header->setMinimumSectionSize(16);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int column = 0; column < TrackListModel::ColumnCount; ++column) {
        m_wantedWidths.at(column) = columnWidths.at(column).ideal;
        header->resizeSection(column, columnWidths.at(column).ideal);
    }
    // The name takes the room the other columns leave, never less than its minimum.
    header->setSectionResizeMode(TrackListModel::NameColumn, QHeaderView::Fixed);
    connect(header, &QHeaderView::sectionResized, this, [this, header](int column, int, int size) {
        if (column == TrackListModel::NameColumn)
            return;
        const ColumnWidth width = columnWidths.at(column);
        const int clamped =
            std::max(width.minimum, width.maximum > 0 ? std::min(size, width.maximum) : size);
        if (clamped != size) {
            header->resizeSection(column, clamped);
        } else if (!m_fittingColumns) {
            m_wantedWidths.at(column) = size;
            fitNameColumn();
        }
    });
}

void TrackTableView::fitNameColumn()
{
    // Resizing a column below comes back here through sectionResized.
    if (m_fittingColumns)
        return;
    const QScopedValueRollback fitting(m_fittingColumns, true);
    QHeaderView *header = horizontalHeader();
    // In a narrow window the text columns give up room, down to their minimum, before the
    // input and colour controls could be pushed off the right edge; they grow back to the width
    // they were given as soon as there is room again.
    int total = 0;
    for (int column = 0; column < TrackListModel::ColumnCount; ++column)
        total += column == TrackListModel::NameColumn ? columnWidths.at(column).minimum
                                                      : m_wantedWidths.at(column);
    for (const int column :
         {int(TrackListModel::ConsoleInputColumn), int(TrackListModel::AudioDeviceColumn),
          int(TrackListModel::AudioChannelColumn)}) {
        const int excess = std::max(0, total - viewport()->width());
        const int wanted = m_wantedWidths.at(column);
        const int width = std::max(columnWidths.at(column).minimum, wanted - excess);
        total -= wanted - width;
        if (header->sectionSize(column) != width)
            header->resizeSection(column, width);
    }
    int others = 0;
    for (int column = 0; column < TrackListModel::ColumnCount; ++column) {
        if (column != TrackListModel::NameColumn)
            others += header->sectionSize(column);
    }
    const int name =
        std::max(columnWidths.at(TrackListModel::NameColumn).minimum, viewport()->width() - others);
    if (header->sectionSize(TrackListModel::NameColumn) != name)
        header->resizeSection(TrackListModel::NameColumn, name);
}

void TrackTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitNameColumn();
}

QModelIndex TrackTableView::pressedIndex() const
{
    return m_gesture == Gesture::pressingControl ? QModelIndex(m_gestureIndex) : QModelIndex();
}

QModelIndex TrackTableView::controlAt(const QPoint &position) const
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid() || !isControlColumn(index.column()))
        return {};
    const QRect control = TrackCellDelegate::controlRect(index.column(), visualRect(index));
    return control.contains(position) ? index : QModelIndex();
}

// Mouse gestures -------------------------------------------------------------------------------

void TrackTableView::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    if (event->button() != Qt::LeftButton || !index.isValid() || !isControlColumn(index.column())) {
        QTableView::mousePressEvent(event);
        return;
    }
    // A press in a control's column never changes the selection, even beside the control.
    event->accept();
    setFocus(Qt::MouseFocusReason);
    const QModelIndex control = controlAt(position);
    if (!control.isValid())
        return;
    m_gestureIndex = control;
    m_pressPosition = position;
    switch (control.column()) {
    case TrackListModel::ReorderHandleColumn:
        m_gesture = Gesture::pressingHandle;
        break;
    case TrackListModel::AudioDeviceColumn:
    case TrackListModel::AudioChannelColumn:
        // Pull-down menus open on the press, as on every desktop.
        m_gestureIndex = QPersistentModelIndex();
        openMenu(control);
        break;
    default:
        m_gesture = Gesture::pressingControl;
        viewport()->update(visualRect(control));
        break;
    }
}

void TrackTableView::mouseMoveEvent(QMouseEvent *event)
{
    switch (m_gesture) {
    case Gesture::pressingHandle:
        if ((event->position().toPoint() - m_pressPosition).manhattanLength() <
            QApplication::startDragDistance())
            return;
        m_gesture = Gesture::draggingRow;
        viewport()->setCursor(Qt::ClosedHandCursor);
        dragRowTo(event->position().toPoint());
        return;
    case Gesture::draggingRow:
        dragRowTo(event->position().toPoint());
        return;
    case Gesture::pressingControl:
        return;
    case Gesture::idle:
        QTableView::mouseMoveEvent(event);
        return;
    }
}

void TrackTableView::mouseReleaseEvent(QMouseEvent *event)
{
    switch (m_gesture) {
    case Gesture::pressingControl: {
        const QPersistentModelIndex control = m_gestureIndex;
        m_gesture = Gesture::idle;
        m_gestureIndex = QPersistentModelIndex();
        viewport()->update();
        // Like a button: the click counts only when released over the control it began on.
        if (event->button() == Qt::LeftButton && control.isValid() &&
            controlAt(event->position().toPoint()) == control)
            activateControl(control);
        return;
    }
    case Gesture::pressingHandle:
        m_gesture = Gesture::idle;
        m_gestureIndex = QPersistentModelIndex();
        return;
    case Gesture::draggingRow: {
        const QPersistentModelIndex dragged = m_gestureIndex;
        const QPersistentModelIndex target = m_dropTarget;
        endRowDrag();
        if (dragged.isValid() && target.isValid())
            m_viewModel->moveTrack(m_model->trackID(dragged.row()), m_model->trackID(target.row()));
        return;
    }
    case Gesture::idle:
        QTableView::mouseReleaseEvent(event);
        return;
    }
}

void TrackTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second click of a double click is swallowed on controls: a quick double click on "X"
    // must not delete the track that moved up under the pointer.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && isControlColumn(index.column())) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void TrackTableView::activateControl(const QModelIndex &index)
{
    switch (index.column()) {
    case TrackListModel::DeleteColumn:
        m_viewModel->deleteTrack(m_model->trackID(index.row()));
        break;
    case TrackListModel::IncludedColumn:
        m_model->setData(index,
                         index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked
                             ? Qt::Unchecked
                             : Qt::Checked,
                         Qt::CheckStateRole);
        break;
    case TrackListModel::ColorColumn:
        pickColor(index);
        break;
    default:
        break;
    }
}

void TrackTableView::populateMenu(QMenu &menu, const QModelIndex &index)
{
    if (index.column() == TrackListModel::AudioDeviceColumn)
        populateAudioDeviceMenu(menu, *m_model, index);
    else if (index.column() == TrackListModel::AudioChannelColumn)
        populateAudioChannelMenu(menu, *m_model, index);
}

void TrackTableView::openMenu(const QModelIndex &index)
{
    if (!index.data(TrackListModel::ControlEnabledRole).toBool())
        return;
    QMenu menu(this);
    populateMenu(menu, index);
    if (menu.isEmpty())
        return;
    const QRect control = TrackCellDelegate::controlRect(index.column(), visualRect(index));
    menu.exec(viewport()->mapToGlobal(control.bottomLeft()));
}

void TrackTableView::pickColor(const QModelIndex &index)
{
    const QPersistentModelIndex cell = index;
    const std::optional<QColor> picked =
        m_colorPicker(index.data(TrackListModel::ColorRole).value<QColor>(), this);
    if (picked && cell.isValid())
        m_model->setData(cell, *picked, Qt::EditRole);
}

// Reordering by dragging a handle ------------------------------------------------------------

void TrackTableView::dragRowTo(const QPoint &position)
{
    // Beyond the top or the bottom edge the table scrolls a row at a time as the pointer moves.
    QScrollBar *bar = verticalScrollBar();
    if (position.y() < 0)
        bar->setValue(bar->value() - TrackCellDelegate::rowHeight);
    else if (position.y() >= viewport()->height())
        bar->setValue(bar->value() + TrackCellDelegate::rowHeight);
    const int y = std::clamp(position.y(), 0, viewport()->height() - 1);
    // Anywhere along a row: a row dragged by its handle travels straight down the handle column.
    const int row = rowAt(y);
    const bool lands = row >= 0 && m_gestureIndex.isValid() && row != m_gestureIndex.row();
    setDropTarget(lands ? m_model->index(row, TrackListModel::NameColumn) : QModelIndex());
}

void TrackTableView::endRowDrag()
{
    m_gesture = Gesture::idle;
    m_gestureIndex = QPersistentModelIndex();
    setDropTarget({});
    viewport()->unsetCursor();
}

void TrackTableView::setDropTarget(const QModelIndex &index)
{
    if (m_dropTarget == index)
        return;
    // The whole row shows where the dragged one lands.
    const auto updateRow = [this](const QModelIndex &cell) {
        if (cell.isValid())
            viewport()->update(
                QRect(0, visualRect(cell).top(), viewport()->width(), visualRect(cell).height()));
    };
    updateRow(m_dropTarget);
    m_dropTarget = index;
    updateRow(m_dropTarget);
}

// Keyboard -------------------------------------------------------------------------------------

void TrackTableView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo)) {
        m_viewModel->undo();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        m_viewModel->redo();
        event->accept();
        return;
    }
    if (m_gesture == Gesture::draggingRow && event->key() == Qt::Key_Escape) {
        endRowDrag();
        event->accept();
        return;
    }
    if (state() != EditingState &&
        event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const QPersistentModelIndex current = currentIndex();
        m_viewModel->moveSelectedTracks(event->key() == Qt::Key_Up ? -1 : 1);
        if (current.isValid())
            scrollTo(current);
        event->accept();
        return;
    }
    const QModelIndex current = currentIndex();
    if (state() != EditingState && current.isValid() && event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Delete: {
            const int row = current.row();
            m_viewModel->deleteTrack(m_model->trackID(row));
            // With nothing left selected, the row that moved up into the deleted one's place
            // becomes current and selected, so the next Delete visibly acts on it.
            const int next = std::min(row, m_model->rowCount() - 1);
            if (m_viewModel->selectedTrackIDs().isEmpty() && next >= 0)
                selectionModel()->setCurrentIndex(m_model->index(next, current.column()),
                                                  QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
            event->accept();
            return;
        }
        case Qt::Key_Space:
            activateControl(current.siblingAtColumn(TrackListModel::IncludedColumn));
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            QTableView::edit(current.siblingAtColumn(TrackListModel::NameColumn));
            event->accept();
            return;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

// Following the view model ---------------------------------------------------------------------

void TrackTableView::publishSelection()
{
    // Rows that vanish take their selection with them; the view model already knows.
    if (m_showingSelection || m_model->isFollowingSession())
        return;
    QSet<QUuid> ids;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex &row : rows)
        ids.insert(m_model->trackID(row.row()));
    m_viewModel->setSelectedTrackIDs(ids);
}

void TrackTableView::showSelection(bool scrollToSelection)
{
    QList<int> rows;
    for (const QUuid &id : m_viewModel->selectedTrackIDs()) {
        const int row = m_model->rowOf(id);
        if (row >= 0)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype end = i;
        while (end + 1 < rows.size() && rows.at(end + 1) == rows.at(end) + 1)
            ++end;
        selection.select(m_model->index(rows.at(i), 0),
                         m_model->index(rows.at(end), TrackListModel::ColumnCount - 1));
        i = end + 1;
    }
    m_showingSelection = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    // The current row is where Delete acts: it never stays outside a selection made elsewhere
    // (the type bar, an undo), or Delete would hit a row the user is not looking at.
    const QModelIndex current = currentIndex();
    if (!rows.isEmpty() && !rows.contains(current.row()))
        selectionModel()->setCurrentIndex(
            m_model->index(rows.first(),
                           current.isValid() ? current.column() : int(TrackListModel::NameColumn)),
            QItemSelectionModel::NoUpdate);
    m_showingSelection = false;
    // A selection made elsewhere (the type bar) is brought into sight; EnsureVisible leaves the
    // table where it is when a selected row already shows.
    if (scrollToSelection && !rows.isEmpty()) {
        const bool anyVisible = std::any_of(rows.cbegin(), rows.cend(), [this](int row) {
            return viewport()->rect().intersects(visualRect(m_model->index(row, 0)));
        });
        if (!anyVisible)
            scrollTo(m_model->index(rows.first(), TrackListModel::NameColumn), EnsureVisible);
    }
}

void TrackTableView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    // The frame of the current row spans every cell of it.
    for (const QModelIndex &index : {previous, current}) {
        if (index.isValid())
            viewport()->update(
                visualRect(index.siblingAtColumn(0))
                    .united(visualRect(index.siblingAtColumn(TrackListModel::ColumnCount - 1))));
    }
}

void TrackTableView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TrackTableView::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void TrackTableView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                 const QList<int> &roles)
{
    QTableView::dataChanged(topLeft, bottomRight, roles);
    refreshOpenNameEditor(topLeft, bottomRight);
}

bool TrackTableView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!QTableView::edit(index, trigger, event))
        return false;
    if (index.column() == TrackListModel::NameColumn && state() == EditingState) {
        m_renamedTrackID = m_model->trackID(index.row());
        m_nameBeforeEdit = index.data(Qt::EditRole).toString();
    }
    return true;
}

void TrackTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const QUuid renamed = std::exchange(m_renamedTrackID, QUuid());
    const QString before = std::exchange(m_nameBeforeEdit, QString());
    // Every keystroke was already a rename: Escape takes the run back as a whole.
    if (hint == QAbstractItemDelegate::RevertModelCache && !renamed.isNull()) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        m_viewModel->cancelRename(before, renamed);
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void TrackTableView::refreshOpenNameEditor(const QModelIndex &topLeft,
                                           const QModelIndex &bottomRight)
{
    // An undo while the name field is open puts the old name back into the field.
    if (state() != EditingState)
        return;
    const QModelIndex current = currentIndex();
    if (current.column() != TrackListModel::NameColumn || current.row() < topLeft.row() ||
        current.row() > bottomRight.row() || topLeft.column() > current.column() ||
        bottomRight.column() < current.column())
        return;
    if (QWidget *editor = indexWidget(current))
        itemDelegateForIndex(current)->setEditorData(editor, current);
}

} // namespace kelvary::ui
