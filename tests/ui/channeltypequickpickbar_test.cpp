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

    const struct {
        DigicoChannelType type;
        QString count;
        TypeInclusion inclusion;
        QString accessibleName;
    } rows[] = {
        {DigicoChannelType::input, u"5/6"_s, TypeInclusion::partial, u"Input，部分包含"_s},
        {DigicoChannelType::aux, u"0/3"_s, TypeInclusion::none, u"Aux，未包含"_s},
        {DigicoChannelType::matrix, u"2/2"_s, TypeInclusion::all, u"Matrix，全部包含"_s},
        {DigicoChannelType::other, u"无通道"_s, TypeInclusion::none, u"Other，未包含"_s},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.count.toStdString());
        EXPECT_EQ(row(r.type).countText(), r.count);
        EXPECT_EQ(row(r.type).inclusion(), r.inclusion);
        EXPECT_EQ(row(r.type).accessibleName(), r.accessibleName);
    }
    EXPECT_EQ(row(DigicoChannelType::input).rowToolTip(),
              u"输入 (Input)：5/6。点击行切换包含；左侧色块改整组颜色；右键更多操作。"_s);
}

TEST_F(TypeBarTest, AClickIncludesTheWholeTypeAndTheNextExcludesIt)
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

    // A type without tracks has nothing to toggle and leaves no undo step behind.
    const ParsedSession before = vm.session();
    clickRow(DigicoChannelType::other);
    EXPECT_EQ(vm.session(), before);
    EXPECT_EQ(vm.undoSnapshots().size(), 3);
}

TEST_F(TypeBarTest, ColourWellRecoloursTheWholeType)
{
    importReport();
    colors.answer = QColor(0, 160, 80);
    clickWell(DigicoChannelType::aux);

    ASSERT_EQ(colors.shown.size(), 1);
    EXPECT_EQ(colors.shown.first(), toQColor(defaultColor(DigicoChannelType::aux)));
    for (const QString &label : {u"A1"_s, u"A2s"_s, u"A3"_s})
        EXPECT_EQ(hexString(track(label).color), u"#00A050"_s);
    EXPECT_EQ(track(u"1"_s).color, defaultColor(DigicoChannelType::input));
    EXPECT_EQ(row(DigicoChannelType::aux).countText(), u"0/3"_s) << "the click only recolours";
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

    contextMenu(DigicoChannelType::matrix,
                [](QMenu &menu) { menuAction(menu, u"仅包含此类型"_s)->trigger(); });
    EXPECT_EQ(vm.includedCount(), 2);
    EXPECT_EQ(vm.includedCount(DigicoChannelType::matrix), 2);

    contextMenu(DigicoChannelType::input,
                [](QMenu &menu) { menuAction(menu, u"全部包含"_s)->trigger(); });
    EXPECT_EQ(vm.includedCount(DigicoChannelType::input), 6);
    contextMenu(DigicoChannelType::matrix,
                [](QMenu &menu) { menuAction(menu, u"全部排除"_s)->trigger(); });
    EXPECT_EQ(vm.includedCount(), 6);

    vm.setColorForType({0.1, 0.2, 0.3, 1.0}, DigicoChannelType::aux);
    contextMenu(DigicoChannelType::aux,
                [](QMenu &menu) { menuAction(menu, u"恢复默认颜色"_s)->trigger(); });
    for (const QString &label : {u"A1"_s, u"A2s"_s, u"A3"_s})
        EXPECT_EQ(track(label).color, defaultColor(DigicoChannelType::aux));

    // An empty type offers the commands but none can be used.
    bool anyEnabled = true;
    contextMenu(DigicoChannelType::other, [&](QMenu &menu) {
        anyEnabled =
            std::any_of(menu.actions().cbegin(), menu.actions().cend(), [](QAction *action) {
                return !action->isSeparator() && action->isEnabled();
            });
    });
    EXPECT_FALSE(anyEnabled);
}

} // namespace
} // namespace kelvary::ui
