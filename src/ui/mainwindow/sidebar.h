#pragma once

#include <QLabel>
#include <QWidget>

class QAction;
class QCheckBox;
class QFormLayout;
class QFrame;
class QSpinBox;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

class ChannelTypeQuickPickBar;
class ExportFormatPicker;

// A label that wraps its text onto at most `maxLines` lines, breaking long names anywhere and
// eliding the middle of the last line so a file's extension stays readable.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(int maxLines, QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void reflow();

    int m_maxLines;
    QString m_fullText;
};

// The session facts, the export format with the playback switch, the stereo switch, the
// per-type bar and the status line, with the "打开报告" button above them.
class Sidebar : public QWidget {
    Q_OBJECT

public:
    static constexpr int minimumWidth = 220;
    static constexpr int idealWidth = 260;
    static constexpr int maximumWidth = 320;

    explicit Sidebar(SessionViewModel *viewModel, QWidget *parent = nullptr);

    QAction *openReportAction() const { return m_openReport; }
    QCheckBox *stereoSwitch() const { return m_stereoSwitch; }
    QCheckBox *playbackSwitch() const { return m_playbackSwitch; }
    QSpinBox *playbackOffset() const { return m_playbackOffset; }
    ExportFormatPicker *exportFormatPicker() const { return m_exportFormat; }
    QLabel *statusLabel() const { return m_statusLabel; }
    QFrame *statusBar() const { return m_statusBar; }
    ChannelTypeQuickPickBar *typeBar() const { return m_typeBar; }
    // The value label of a row of "工程" by its title, such as "名称".
    ElidedLabel *sessionFact(const QString &title) const;
    bool isSessionFactShown(const QString &title) const;

private:
    void showSession();
    void showStatus();
    void showPlayback();

    SessionViewModel *m_viewModel;
    QAction *m_openReport = nullptr;
    QFormLayout *m_facts = nullptr;
    QList<std::pair<QString, ElidedLabel *>> m_factLabels;
    ExportFormatPicker *m_exportFormat = nullptr;
    QCheckBox *m_stereoSwitch = nullptr;
    QCheckBox *m_playbackSwitch = nullptr;
    QSpinBox *m_playbackOffset = nullptr;
    ChannelTypeQuickPickBar *m_typeBar = nullptr;
    QFrame *m_statusBar = nullptr;
    QLabel *m_statusLabel = nullptr;
};

} // namespace kelvary::ui
