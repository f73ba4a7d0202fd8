#pragma once

#include "app/viewmodelharness.h"
#include "tracklist/colorwell.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <functional>

namespace kelvary::ui {

// A view model on two interfaces: "three" with 3 inputs and "eight" with 8.
class TrackListTest : public ViewModelTest {
protected:
    TrackListTest()
    {
        hardware->devices = QList<FakeAudioHardware::Device>{
            FakeAudioHardware::device(QStringLiteral("three"), QStringLiteral("Three In"), {3}),
            FakeAudioHardware::device(QStringLiteral("eight"), QStringLiteral("Eight In"), {8}),
        };
    }

    void assign(const QStringList &labels, const QString &deviceUID)
    {
        for (const QString &label : labels)
            vm.assignAudioInputDevice(deviceUID, idOf(label));
    }
};

// Answers the colour dialog in place of the user and remembers what it was shown.
struct ScriptedColorPicker {
    std::optional<QColor> answer;
    QList<QColor> shown;

    ColorPicker picker()
    {
        return [this](const QColor &initial, QWidget *) {
            shown.append(initial);
            return answer;
        };
    }
};

// Runs `answer` on the next popup menu to open, then closes it if the answer left it open.
inline void answerNextMenu(std::function<void(QMenu &)> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) {
            ADD_FAILURE() << "no menu opened";
            return;
        }
        answer(*menu);
        if (menu->isVisible())
            menu->close();
    });
}

// The visible titles of a menu's items, "-" for a separator.
inline QStringList menuTitles(const QMenu &menu)
{
    QStringList titles;
    for (const QAction *action : menu.actions()) {
        if (action->isVisible())
            titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return titles;
}

inline QAction *menuAction(const QMenu &menu, const QString &title)
{
    for (QAction *action : menu.actions()) {
        if (action->text() == title)
            return action;
    }
    ADD_FAILURE() << "no menu item " << title.toStdString();
    return nullptr;
}

} // namespace kelvary::ui
