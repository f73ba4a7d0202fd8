#include "typebar/channeltypequickpickbar.h"

#include "tracklisttestsupport.h"
#include "typebar/channeltyperow.h"

#include <QContextMenuEvent>
#include <QTest>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

class TypeBarTest : public TrackListTest {
protected:
    TypeBarTest()
    {
        bar.setColorPicker(colors.picker());
        bar.resize(260, 400);
        bar.show();
    }

    ChannelTypeRow &row(DigicoChannelType type) const { return *bar.row(type); }

    // A click on the row beside its colour well.
    void clickRow(DigicoChannelType type)
    {
        ChannelTypeRow &target = row(type);
        QTest::mouseClick(&target, Qt::LeftButton, {},
                          QPoint(target.width() - 12, target.height() / 2));
    }

    void clickWell(DigicoChannelType type)
    {
        QTest::mouseClick(&row(type), Qt::LeftButton, {}, row(type).colorWellRect().center());
    }

    // Opens the row's context menu as a right click does and lets `answer` act in it.
    void contextMenu(DigicoChannelType type, std::function<void(QMenu &)> answer)
    {
        answerNextMenu(std::move(answer));
        ChannelTypeRow &target = row(type);
        QContextMenuEvent event(QContextMenuEvent::Mouse, target.rect().center(),
                                target.mapToGlobal(target.rect().center()));
        QApplication::sendEvent(&target, &event);
    }

    ScriptedColorPicker colors;
    ChannelTypeQuickPickBar bar{&vm, Qt::Vertical, false};
};

TEST_F(TypeBarTest, ShowsHowMuchOfEachTypeIsIncludedOnceTheSessionHasTracks)
{
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_EQ(row(DigicoChannelType::input).countText(), u"无通道"_s);
    importReport();
    EXPECT_TRUE(bar.isEnabled());
    vm.setIncluded(false, idOf(u"2"_s));
    vm.setTracksIncluded(true, DigicoChannelType::matrix);

    using enum DigicoChannelType;
    EXPECT_EQ((QStringList{row(input).countText(), row(aux).countText(), row(matrix).countText(),
                           row(other).countText()}),
              (QStringList{u"5/6"_s, u"0/3"_s, u"2/2"_s, u"无通道"_s}));
    EXPECT_EQ((QList{row(input).inclusion(), row(aux).inclusion(), row(matrix).inclusion()}),
              (QList{TypeInclusion::partial, TypeInclusion::none, TypeInclusion::all}));
}

TEST_F(TypeBarTest, ARowClickTogglesTheWholeTypeAndItsWellRecoloursIt)
{
    importReport();
    vm.setIncluded(false, idOf(u"2"_s));
    vm.clearUndoHistory();

    clickRow(DigicoChannelType::input);
    EXPECT_EQ(row(DigicoChannelType::input).countText(), u"6/6"_s);
    clickRow(DigicoChannelType::input);
    EXPECT_EQ(row(DigicoChannelType::input).countText(), u"0/6"_s);
    EXPECT_EQ(vm.undoSnapshots().size(), 2);

    // The keyboard does what the click does.
    row(DigicoChannelType::aux).setFocus();
    QTest::keyClick(&row(DigicoChannelType::aux), Qt::Key_Space);
    EXPECT_EQ(row(DigicoChannelType::aux).countText(), u"3/3"_s);

    // The colour well recolours the whole type and does not toggle it.
    colors.answer = QColor(0, 160, 80);
    clickWell(DigicoChannelType::aux);

    ASSERT_EQ(colors.shown.size(), 1);
    EXPECT_EQ(colors.shown.first(), toQColor(defaultColor(DigicoChannelType::aux)));
    EXPECT_EQ(hexString(track(u"A2s"_s).color), u"#00A050"_s);
    EXPECT_EQ(track(u"1"_s).color, defaultColor(DigicoChannelType::input));
    EXPECT_EQ(row(DigicoChannelType::aux).countText(), u"3/3"_s);
}

TEST_F(TypeBarTest, ContextMenuHoldsTheTypeWideCommands)
{
    importReport();
    QStringList titles;
    contextMenu(DigicoChannelType::aux, [&](QMenu &menu) {
        titles = menuTitles(menu);
        menuAction(menu, u"在列表中选中"_s)->trigger();
    });
    EXPECT_EQ(titles, (QStringList{u"在列表中选中"_s, u"-"_s, u"全部包含"_s, u"全部排除"_s,
                                   u"仅包含此类型"_s, u"-"_s, u"恢复默认颜色"_s}));
    EXPECT_EQ(vm.selectedTrackIDs(), vm.trackIDs(DigicoChannelType::aux));

    const auto choose = [&](DigicoChannelType type, const QString &title) {
        contextMenu(type, [title](QMenu &menu) { menuAction(menu, title)->trigger(); });
    };
    choose(DigicoChannelType::matrix, u"仅包含此类型"_s);
    EXPECT_EQ(vm.includedCount(), 2);
    EXPECT_EQ(vm.includedCount(DigicoChannelType::matrix), 2);
    vm.setColorForType({0.1, 0.2, 0.3, 1.0}, DigicoChannelType::aux);
    choose(DigicoChannelType::aux, u"恢复默认颜色"_s);
    EXPECT_EQ(track(u"A2s"_s).color, defaultColor(DigicoChannelType::aux));
}

} // namespace
} // namespace kelvary::ui
