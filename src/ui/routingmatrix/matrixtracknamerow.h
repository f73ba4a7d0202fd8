#pragma once

#include "model/rgbcolor.h"

#include <QLineEdit>
#include <QUuid>

namespace kelvary {
class SessionViewModel;
struct TrackChannel;
} // namespace kelvary

namespace kelvary::ui {

// The editable name at the left end of a matrix row, in white on the track's colour, elided with
// the whole name as its tooltip when the column is too narrow. Every keystroke renames the track;
// the view model makes one undo step of a run of them.
class MatrixTrackNameRow final : public QLineEdit {
    Q_OBJECT

public:
    MatrixTrackNameRow(SessionViewModel *viewModel, QWidget *parent = nullptr);

    // Points the row at a track and shows its current name.
    void setTrack(const TrackChannel &track);
    const QUuid &trackID() const { return m_trackID; }

    // Whether the name is longer than the row shows.
    bool isElided() const;

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    const TrackChannel *currentTrack() const;
    QRect textRoom() const;
    void updateToolTip();

    SessionViewModel *m_viewModel;
    QUuid m_trackID;
    RGBColor m_paintedColor;
};

} // namespace kelvary::ui
