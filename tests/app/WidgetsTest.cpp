#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QMessageBox>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <set>

#include "app/toolkit/Language.h"
#include "app/toolkit/Look.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/Picture.h"
#include "app/toolkit/StringGrid.h"
#include "app/toolkit/Timer.h"
#include "support/TempWorkDir.h"

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

    QWidget& titles = *grid.horizontalHeader()->viewport();
    QWidget& cells = *grid.viewport();
    const QRect odd = grid.visualRect(grid.model()->index(0, 1));
    const QRect even = grid.visualRect(grid.model()->index(1, 1));
    EXPECT_EQ(titles.height(), 40);
    EXPECT_EQ(PixelOf(titles, QPoint(103, 3)), GridColors::kHeader);
    EXPECT_EQ(PixelOf(cells, odd.topLeft() + QPoint(3, 3)), GridColors::kOddRow);
    EXPECT_EQ(PixelOf(cells, even.topLeft() + QPoint(3, 3)), GridColors::kEvenRow);
    EXPECT_TRUE(fixture.drawn.count({0, 0}) && fixture.drawn.count({2, 3}));

    // The title's text is white on grey: some of its pixels are light. Scrolled to the last
    // row, the titles stay in place.
    grid.SetRowCount(40);
    QApplication::processEvents();
    grid.ScrollToRow(39);
    QApplication::processEvents();
    EXPECT_GT(grid.verticalScrollBar()->value(), 0);
    const QImage picture = titles.grab().toImage();
    bool light = false;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 40; ++y) light |= qGray(picture.pixel(x, y)) > 200;
    }
    EXPECT_TRUE(light);
    EXPECT_EQ(grid.mapFromGlobal(titles.mapToGlobal(QPoint(0, 0))).y(), grid.frameWidth());
}

TEST(StringGrid, TitlesSortTheRowsWithTheirTagsAndACutTextShowsWholeAsATooltip) {
    CGridFixture fixture;
    TStringGrid& grid = fixture.grid;
    const QStringList houses = {"12а", "", "2", "12", "вул. Ігорева", "вул. Гоголя"};
    grid.SetRowCount(1 + static_cast<int>(houses.size()));
    for (int row = 1; row <= houses.size(); ++row) {
        grid.SetCell(0, row, houses[row - 1]);
        grid.SetRowTag(row, row * 10);
    }
    const auto column = [&grid] {
        QStringList texts;
        for (int row = 1; row < grid.RowCount(); ++row) texts << grid.Cell(0, row);
        return texts;
    };
    grid.SortByTitle(0);
    EXPECT_EQ(column(), QStringList({"2", "12", "12а", "вул. Гоголя", "вул. Ігорева", ""}))
        << "numbers by value, Ukrainian letters in their order, empty cells last";
    EXPECT_EQ(grid.RowTag(1), 30) << "a row's tag travels with it";
    EXPECT_EQ(grid.SortColumn(), 0);
    grid.SortByTitle(0);
    EXPECT_EQ(column(), QStringList({"вул. Ігорева", "вул. Гоголя", "12а", "12", "2", ""}));
    EXPECT_TRUE(grid.SortDescending());

    grid.SetCell(1, 1, "вул. Тараса Шевченка, будинок 12а, під'їзд 3");
    QApplication::processEvents();
    const QRect cut = grid.visualRect(grid.model()->index(0, 1));
    QHelpEvent help(QEvent::ToolTip, cut.center(), grid.viewport()->mapToGlobal(cut.center()));
    QApplication::sendEvent(grid.viewport(), &help);
    EXPECT_EQ(QToolTip::text(), grid.Cell(1, 1));
    QToolTip::hideText();
}

TEST(StringGrid, ArrowsMoveTheCurrentRowAndEnterActsOnIt) {
    CGridFixture fixture;
    TStringGrid& grid = fixture.grid;
    std::vector<int> entered;
    grid.OnEnterRow = [&](int row) { entered.push_back(row); };
    grid.setFocus();
    grid.SetRow(1);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 3) << "the last data row; the titles are never current";
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(entered, (std::vector<int>{3, 2}));
}

TEST(StringGrid, FittedColumnsShareTheWidthAndKeepTheKeptOnes) {
    CGridFixture fixture;
    TStringGrid& grid = fixture.grid;
    grid.FitColumns({60, 100, 70}, {0, 2});
    for (const int width : {700, 300}) {
        grid.resize(width, 200);
        QApplication::processEvents();
        EXPECT_EQ(grid.ColWidth(0), 60);
        EXPECT_EQ(grid.ColWidth(2), 70);
        EXPECT_EQ(grid.ColWidth(0) + grid.ColWidth(1) + grid.ColWidth(2), grid.viewport()->width())
            << "the last column ends at the edge, in sight";
    }
}

TEST(StringGrid, EveryPressSelectsACellAndAHandledWheelDoesNotScroll) {
    CGridFixture fixture;
    TStringGrid& grid = fixture.grid;
    std::vector<std::pair<int, int>> selected;
    grid.OnSelectCell = [&](int col, int row) { selected.push_back({col, row}); };
    const QPoint cell = grid.visualRect(grid.model()->index(2, 2)).center();
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
    const QRect cell = grid.visualRect(grid.model()->index(0, 1));
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

    EXPECT_EQ(button.focusPolicy(), Qt::StrongFocus) << "Tab reaches it";
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicks, 3);
    button.setEnabled(false);
    QTest::keyClick(&button, Qt::Key_Space);
    button.Click();
    EXPECT_EQ(clicks, 3) << "disabled, it takes no click";
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

namespace {
QImage Drawn(const QString& text) {
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(QApplication::font());
    painter.setPen(Qt::black);
    painter.drawText(picture.rect(), Qt::AlignCenter, text);
    return picture;
}
}  // namespace

TEST(Look, AFontWithTahomasWidthsThatDrawsCyrillicAsWritten) {
    const QString family = ApplyApplicationLook();
    EXPECT_TRUE(kFontFamilies.contains(family)) << family.toStdString();
    EXPECT_EQ(QApplication::font().pixelSize(), 11);
    const QFontMetrics metrics(QApplication::font());
    for (QChar letter : QString("ЇїЄєІіҐґЫыЭэЪъ"))
        EXPECT_TRUE(metrics.inFontUcs4(letter.unicode()));
    // Wine's stand-in for Tahoma draws "б" as "6": "7б" read "76".
    EXPECT_NE(Drawn("б"), Drawn("6"));
    EXPECT_LE(metrics.horizontalAdvance("Встановити зв'язок"), 100) << "Tahoma's 96 pixels";

    EXPECT_NE(ApplyApplicationLook({"No Such Family"}), "") << "the system's sans serves";
    ApplyApplicationLook();
}

TEST(Language, QtsOwnTextsSpeakUkrainianFromQtsFolderOrBesideTheProgram) {
    CTempWorkDir dir;
    EXPECT_FALSE(SpeakUkrainian({dir.Path().string().c_str()}));
    const QString installed = QtTranslationFolders().first() + "/qtbase_uk.qm";
    ASSERT_TRUE(QFile::exists(installed)) << "qt6-translations-l10n";
    const QString beside = QString::fromStdString((dir.Path() / "translations").string());
    QDir().mkpath(beside);
    QFile::copy(installed, beside + "/qtbase_uk.qm");
    EXPECT_TRUE(SpeakUkrainian({"/no/such/folder", beside}));
    QMessageBox box;
    EXPECT_EQ(box.addButton(QMessageBox::Yes)->text().remove('&'), "Так");
    EXPECT_EQ(box.addButton(QMessageBox::No)->text().remove('&'), "Ні");
    EXPECT_EQ(QLocale().monthName(3), "березня");
}
