#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <memory>

#include "UpdateFixture.h"
#include "app/toolkit/PanelButton.h"
#include "support/ScriptedDialogs.h"
#include "update/FrameUpdate.h"

namespace {
constexpr const char* kQuestion =
    "Вышла новая версия программы v.0.06. Сейчас вы пользуетесь устаревшей версией v.0.05.\n"
    "Вы желаете обновить программу?";
}  // namespace

class FrameUpdateTest : public UpdateTest {
protected:
    FrameUpdateTest() : frame(&window, info, fake.Address(), settings) {
        window.resize(900, 500);
        frame.resize(900, 500);
        frame.OnCarryOn = [this] { ++carriedOn; };
    }

    CScriptedDialogs dialogs;
    QWidget window;
    TFrameUpdate frame;
    int carriedOn = 0;
};

TEST_F(FrameUpdateTest, TheScreenCentresItsControls) {
    EXPECT_EQ(frame.Label1->text(), "Оновлення");
    EXPECT_EQ(frame.Panel1->Caption(), "Перервати");
    EXPECT_EQ(frame.ProgressBar1->size(), QSize(785, 17));
    EXPECT_EQ(frame.Panel1->size(), QSize(120, 25));
    window.show();
    window.resize(1200, 600);
    frame.resize(1200, 600);
    QApplication::processEvents();
    for (QWidget* control :
         {static_cast<QWidget*>(frame.Label1), static_cast<QWidget*>(frame.ProgressBar1),
          static_cast<QWidget*>(frame.Panel1)}) {
        EXPECT_EQ(control->x(), 600 - control->width() / 2);
    }
}

TEST_F(FrameUpdateTest, NoToTheQuestionHidesTheScreenAndStartsNothing) {
    dialogs.Answer(IDNO);
    EXPECT_FALSE(frame.CheckForUpdate(window));
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, kQuestion);
    EXPECT_EQ(dialogs.Boxes()[0].caption, "");
    EXPECT_EQ(dialogs.Boxes()[0].flags, MB_YESNO | MB_ICONWARNING | MB_TASKMODAL);
    EXPECT_TRUE(frame.isHidden());
    EXPECT_EQ(fake.gateway.Queries().size(), 2u);

    fake.projectInfo = R"([{"project_version":"V.0.05"}])";
    frame.show();
    EXPECT_FALSE(frame.CheckForUpdate(window));
    EXPECT_EQ(dialogs.Boxes().size(), 1u) << "the same version asks nothing";
    EXPECT_TRUE(frame.isHidden());
}

TEST_F(FrameUpdateTest, YesRunsTheUpdateAndANothingToInstallCarriesOn) {
    WriteFile("a.txt", "A");
    fake.files = {{"1", "a.txt", "", "A"}};
    dialogs.Answer(IDYES);
    EXPECT_TRUE(frame.CheckForUpdate(window));
    EXPECT_TRUE(frame.isVisibleTo(&window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return carriedOn == 1; }, 10000));
    EXPECT_EQ(frame.ProgressBar1->value(), 1) << "the current file advanced the bar by its size";
    ASSERT_EQ(dialogs.Boxes().size(), 2u);
    EXPECT_EQ(dialogs.Boxes()[1].flags, MB_ICONINFORMATION | MB_TASKMODAL);
    EXPECT_TRUE(frame.isHidden());

    frame.Panel1Click();
    EXPECT_EQ(dialogs.Boxes().size(), 2u) << "an ended update is left alone without a message";
}

TEST_F(FrameUpdateTest, AFailedUpdateSaysWhyAndCarriesOn) {
    fake.files = {{"1", "x", "/etc", "x"}};
    frame.StartUpdate({"7", "fp1", "v.0.06"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return carriedOn == 1; }, 10000));
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].caption, "Помилка");
    EXPECT_EQ(dialogs.Boxes()[0].text, "Неприпустиме ім'я файлу в оновленні: /etc/x");
    EXPECT_TRUE(started.empty());
}

TEST_F(FrameUpdateTest, AbortWithoutAnUpdateOnlyHidesAndWithOneStopsIt) {
    frame.show();
    frame.Panel1Click();
    EXPECT_TRUE(frame.isHidden());
    EXPECT_TRUE(dialogs.Boxes().empty());

    fake.files = {{"1", "a.bin", "", Bytes(9000)}};
    fake.files[0].hang = true;
    frame.StartUpdate({"7", "fp1", "v.0.06"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.gateway.Queries().size() == 2; }, 10000))
        << "the thread waits for its first chunk";
    frame.Panel1Click();
    EXPECT_TRUE(frame.isHidden());
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, "Оновлення перервано.");
    EXPECT_EQ(dialogs.Boxes()[0].caption, "");
    EXPECT_EQ(dialogs.Boxes()[0].flags, MB_ICONERROR | MB_TASKMODAL);
    EXPECT_EQ(carriedOn, 0) << "after an abort no screen is shown";

    // Closing the window while a call waits ends it within a second.
    auto closing = std::make_unique<TFrameUpdate>(&window, info, fake.Address(), settings);
    closing->StartUpdate({"7", "fp1", "v.0.06"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.gateway.Queries().size() == 4; }, 10000));
    const auto start = std::chrono::steady_clock::now();
    closing.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(FrameUpdateTest, AProgramOutsideItsWorkingFolderAsksNothing) {
    settings.programPath = "/opt/vevo/vevo";
    TFrameUpdate elsewhere(&window, info, fake.Address(), settings);
    EXPECT_FALSE(elsewhere.CheckForUpdate(window));
    EXPECT_TRUE(fake.gateway.Queries().empty());
    EXPECT_TRUE(dialogs.Boxes().empty());
    EXPECT_TRUE(elsewhere.isHidden());
}

TEST_F(FrameUpdateTest, ACheckKeptWaitingShowsTheWindowAndEndsByItsDeadline) {
    CFakeGateway silent([](const std::string&) { return CFakeGateway::Hang(); });
    TFrameUpdate waiting(&window, info, {"127.0.0.1", silent.Port()}, settings);
    waiting.SetCheckDeadline(std::chrono::milliseconds(400));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(waiting.CheckForUpdate(window));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(window.isVisible()) << "the window came up to paint while it waited";
    EXPECT_TRUE(waiting.isHidden());
    EXPECT_TRUE(dialogs.Boxes().empty());
}
