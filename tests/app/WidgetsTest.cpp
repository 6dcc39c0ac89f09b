#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QMovie>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <set>

#include "app/toolkit/Look.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/Picture.h"
#include "app/toolkit/StringGrid.h"
#include "app/toolkit/Timer.h"

namespace {
const QString kImages = QStringLiteral(VEVO_SOURCE_DIR "/images/");

QRgb PixelOf(QWidget& widget, QPoint point) {
    return widget.grab().toImage().pixel(point) & 0xFFFFFF;
}

struct CGridFixture {
    CGridFixture() : grid(nullptr) {
        grid.resize(400, 200);
        grid.SetColCount(3);
        grid.SetRowCount(4);
        for (int col = 0; col < 3; ++col) grid.SetColWidth(col, 100);
        grid.SetDefaultRowHeight(20);
        grid.SetCell(0, 0, "Вулиця");
        grid.SetCell(2, 3, "Шевченка");
        grid.OnDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect, bool) {
            drawn.insert({col, row});
            DrawStripedCell(painter, rect, grid.Cell(col, row), row);
        };
        grid.show();
    }
    TStringGrid grid;
    std::set<std::pair<int, int>> drawn;
};
}  // namespace

TEST(StringGrid, CellsAreAddressedByColumnThenRowAndDrawnByTheScreen) {
    CGridFixture fixture;
    TStringGrid& grid = fixture.grid;
    EXPECT_EQ(grid.Cell(2, 3), "Шевченка");
    EXPECT_EQ(grid.Cell(3 - 1, 0), "") << "a cell never written reads empty";
    grid.SetCell(2, 3, "Франка");
    EXPECT_EQ(grid.Cell(2, 3), "Франка");
    EXPECT_EQ(grid.RowHeight(3), 20);
    grid.SetRowHeight(0, 40);
    EXPECT_EQ(grid.RowHeight(0), 40);

    const QRect header = grid.visualRect(grid.model()->index(0, 1));
    const QRect odd = grid.visualRect(grid.model()->index(1, 1));
    const QRect even = grid.visualRect(grid.model()->index(2, 1));
    QWidget& cells = *grid.viewport();
    EXPECT_EQ(PixelOf(cells, header.topLeft() + QPoint(3, 3)), GridColors::kHeader);
    EXPECT_EQ(PixelOf(cells, odd.topLeft() + QPoint(3, 3)), GridColors::kOddRow);
    EXPECT_EQ(PixelOf(cells, even.topLeft() + QPoint(3, 3)), GridColors::kEvenRow);
    EXPECT_TRUE(fixture.drawn.count({0, 0}) && fixture.drawn.count({2, 3}));

    // The header's text is white on grey: some of its pixels are light.
    const QImage picture = cells.grab().toImage();
    bool light = false;
    const QRect title = grid.visualRect(grid.model()->index(0, 0));
    for (int x = title.left(); x < title.right(); ++x) {
        for (int y = title.top(); y < title.bottom(); ++y)
            light |= qGray(picture.pixel(x, y)) > 200;
    }
    EXPECT_TRUE(light);
}

TEST(StringGrid, EveryPressSelectsACellAndAHandledWheelDoesNotScroll) {
    CGridFixture fixture;
    TStringGrid& grid = fixture.grid;
    std::vector<std::pair<int, int>> selected;
    grid.OnSelectCell = [&](int col, int row) { selected.push_back({col, row}); };
    const QPoint cell = grid.visualRect(grid.model()->index(3, 2)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    ASSERT_EQ(selected.size(), 2u) << "the current cell pressed again still counts";
    EXPECT_EQ(selected[0], std::make_pair(2, 3));

    grid.ClearSelection();
    EXPECT_EQ(grid.currentRow(), -1);
    EXPECT_TRUE(grid.selectedItems().isEmpty());

    std::vector<bool> steps;
    grid.OnMouseWheel = [&](bool down) {
        steps.push_back(down);
        return true;
    };
    QWheelEvent wheel(QPointF(10, 10), grid.mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -120),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_TRUE(steps[0]);
}

TEST(StringGrid, AnIconCellDrawsThePictureOnTheRowColour) {
    CGridFixture fixture;
    TStringGrid& grid = fixture.grid;
    grid.OnDrawCell = [](QPainter& painter, int col, int row, const QRect& rect, bool) {
        if (col == 1 && row > 0) {
            DrawIconCell(painter, rect, kImages + "delete-icon.png", 15, row);
        } else {
            DrawStripedCell(painter, rect, {}, row);
        }
    };
    grid.viewport()->update();
    const QRect cell = grid.visualRect(grid.model()->index(1, 1));
    QWidget& cells = *grid.viewport();
    EXPECT_EQ(PixelOf(cells, cell.topLeft() + QPoint(3, 3)), GridColors::kOddRow);
    // Above the white cross, on the disc: the icon is centred in the 20-pixel row.
    const QRgb icon = PixelOf(cells, cell.topLeft() + QPoint(15 + 8, 2 + 2));
    EXPECT_GT(qRed(icon), 150) << "the red disc of the delete icon";
    EXPECT_LT(qGreen(icon), 120);
}

TEST(PanelButton, ClicksOnReleaseInsideAndShowsItsHoverColour) {
    TPanelButton button("Назад", nullptr);
    button.resize(140, 41);
    button.show();
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(70, 20));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(70, 20));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(300, 20));
    EXPECT_EQ(clicks, 1) << "released outside: no click";
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);

    button.SetColor(Qt::black);
    button.SetHoverColor(QColor(0x64, 0x64, 0x64));
    const QRgb plain = PixelOf(button, QPoint(8, 20));
    QEnterEvent enter(QPointF(70, 20), QPointF(70, 20), button.mapToGlobal(QPointF(70, 20)));
    QApplication::sendEvent(&button, &enter);
    const QRgb hovered = PixelOf(button, QPoint(8, 20));
    EXPECT_LT(qGray(plain), 30);
    EXPECT_GT(qGray(hovered), 80);
}

TEST(Picture, LoadsStillAndAnimatedPicturesAndReportsAMissingFile) {
    TImage still(nullptr);
    EXPECT_TRUE(still.LoadPicture(kImages + "edit-icon.png"));
    EXPECT_FALSE(still.Animated());
    EXPECT_EQ(still.pixmap().size(), QSize(16, 16));
    EXPECT_FALSE(still.LoadPicture(kImages + "no-such-picture.png"));

    TImage animated(nullptr);
    ASSERT_TRUE(animated.LoadAnimation(kImages + "refresh.gif", 200));
    EXPECT_TRUE(animated.Animated());
    EXPECT_EQ(animated.movie()->speed(), 200);
    EXPECT_GT(animated.movie()->frameCount(), 1);
    EXPECT_FALSE(animated.LoadAnimation(kImages + "no-such-picture.gif", 200));
    EXPECT_FALSE(animated.Animated());
}

TEST(Timer, TicksWhileEnabledAtItsInterval) {
    TTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    int ticks = 0;
    timer.OnTimer = [&] {
        if (++ticks == 2) timer.SetEnabled(false);
    };
    timer.SetInterval(1);
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == 2; }, 5000));
    EXPECT_FALSE(timer.Enabled());
}

TEST(Look, TahomaFromFontsWineCarriesUkrainianAndRussian) {
    const QString family = ApplyApplicationLook();
    EXPECT_EQ(family, "Tahoma");
    const QFontMetrics metrics(QApplication::font());
    for (QChar letter : QString("ЇїЄєІіҐґЫыЭэЪъ"))
        EXPECT_TRUE(metrics.inFontUcs4(letter.unicode()));
    EXPECT_EQ(QApplication::font().pixelSize(), 11);
}

TEST(Look, WithoutTahomaASansFontWithCyrillicServes) {
    const QString family = ApplyApplicationLook("/no/such/tahoma.ttf");
    EXPECT_NE(family, "");
    const QFontMetrics metrics(QApplication::font());
    EXPECT_TRUE(metrics.inFontUcs4(QChar(u'Ї').unicode()));
    ApplyApplicationLook();
}
