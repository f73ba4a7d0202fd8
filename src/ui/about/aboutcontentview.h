#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;

namespace kelvary::ui {

// The version the application was built as: the project version and the build number.
struct BundleVersion {
    std::optional<QString> shortVersion;
    std::optional<QString> build;

    bool operator==(const BundleVersion &) const = default;
};

// The version this binary was configured with.
BundleVersion applicationBundleVersion();

// "版本 1.2 (7)", or "版本 1.2" when the build is missing or the same as the version, or "版本 —".
QString aboutVersionText(const BundleVersion &version);

// The logo above the version and the licence.
class AboutContentView : public QWidget {
    Q_OBJECT

public:
    static constexpr int logoSize = 180;
    static constexpr int logoCornerRadius = 42;

    explicit AboutContentView(const BundleVersion &version, QWidget *parent = nullptr);

    QLabel *versionLabel() const { return m_version; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void showLogo();

    QLabel *m_logo = nullptr;
    QLabel *m_version = nullptr;
};

// The one About window: not resizable, its size set by its content; Escape closes it. Given the
// main window as parent it never keeps the application alive once that one is closed.
class AboutWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int frameWidth = 320;

    explicit AboutWindow(const BundleVersion &version, QWidget *parent = nullptr);

    AboutContentView *content() const { return m_content; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    AboutContentView *m_content;
};

} // namespace kelvary::ui
