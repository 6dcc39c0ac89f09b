#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/toolkit/MessageBox.h"
#include "app/toolkit/UiThread.h"
#include "support/ScriptedDialogs.h"

namespace {
// Presses `button` of the real box as soon as it is up; reads what it showed.
struct CBoxSeen {
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    Qt::TextFormat format = Qt::AutoText;
};

void PressWhenShown(QMessageBox::StandardButton button, CBoxSeen& seen) {
    auto* poll = new QTimer(QApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [poll, button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen = {box->text(), box->windowTitle(), box->icon(),
                static_cast<int>(box->buttons().size()), box->textFormat()};
        if (button == QMessageBox::Escape) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(button)->click();
        }
        poll->deleteLater();
    });
    poll->start(5);
}
}  // namespace

TEST(MessageBox, TheRealBoxShowsTextCaptionIconAndButtonsAndReturnsTheAnswer) {
    CBoxSeen seen;
    PressWhenShown(QMessageBox::Retry, seen);
    EXPECT_EQ(
        ShowMessageBox("Не удалось установить соединение", "Ошибка", MB_ICONERROR | MB_RETRYCANCEL),
        IDRETRY);
    EXPECT_EQ(seen.text, "Не удалось установить соединение");
    EXPECT_EQ(seen.caption, "Ошибка");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, 2);

    PressWhenShown(QMessageBox::Escape, seen);
    EXPECT_EQ(ShowMessageBox("Видалити?", "Видалення", MB_ICONWARNING | MB_YESNO | MB_TASKMODAL),
              IDNO)
        << "closing a question answers No";
    EXPECT_EQ(seen.icon, QMessageBox::Warning);

    PressWhenShown(QMessageBox::Ok, seen);
    ShowMessage("Виберіть Serial Port.");
    EXPECT_EQ(seen.caption, "Vevo");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, 1);
}

TEST(MessageBox, MarkupInTheTextIsShownAsItIs) {
    CBoxSeen seen;
    PressWhenShown(QMessageBox::No, seen);
    ShowMessageBox("Вышла новая версия программы <h1><a href='x'>v.0.06</a></h1>.", "",
                   MB_YESNO | MB_ICONWARNING | MB_TASKMODAL);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, "Вышла новая версия программы <h1><a href='x'>v.0.06</a></h1>.");
}

TEST(MessageBox, AWorkerThreadsBoxIsShownOnTheUserInterfaceThreadAndWaitsForTheAnswer) {
    bool presentedOnUiThread = false;
    SetMessageBoxPresenter([&](const TMessageBoxRequest&) {
        presentedOnUiThread = IsUiThread();
        return IDRETRY;
    });
    std::atomic<int> answer = 0;
    std::thread worker([&] {
        answer =
            ShowMessageBox("Соединение было прервано.", "Ошибка", MB_ICONERROR | MB_RETRYCANCEL);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer != 0; }, 10000));
    worker.join();
    SetMessageBoxPresenter({});
    EXPECT_EQ(answer, IDRETRY);
    EXPECT_TRUE(presentedOnUiThread);
}

TEST(MessageBox, ScriptedAnswersAreGivenInOrderAndTheTextsKept) {
    CScriptedDialogs dialogs;
    dialogs.Answer(IDYES);
    EXPECT_EQ(ShowMessageBox("Ви дійсно бажаєте зберегти інформацію?", "Редагування",
                             MB_ICONWARNING | MB_YESNO),
              IDYES);
    EXPECT_EQ(ShowMessageBox("Ще раз?", "", MB_ICONWARNING | MB_YESNO), IDNO)
        << "no answer queued: the escape answer";
    EXPECT_EQ(ShowMessageBox("x", "", MB_ICONERROR | MB_RETRYCANCEL), IDCANCEL);
    ASSERT_EQ(dialogs.Boxes().size(), 3u);
    EXPECT_EQ(dialogs.Boxes()[0].caption, "Редагування");
    EXPECT_EQ(dialogs.Boxes()[0].flags, MB_ICONWARNING | MB_YESNO);
    EXPECT_EQ(dialogs.Texts()[1], "Ще раз?");
}

TEST(FileDialogs, ScriptedDialogsReturnTheQueuedNamesAndKeepTheRequests) {
    CScriptedDialogs dialogs;
    dialogs.ChooseFile("/tmp/прилади.csv");
    EXPECT_EQ(OpenFileDialog(), "/tmp/прилади.csv");
    EXPECT_EQ(SaveFileDialog("Приклад додання пристроїв", "*.csv"), "") << "cancelled";
    ASSERT_EQ(dialogs.FileDialogs().size(), 2u);
    EXPECT_FALSE(dialogs.FileDialogs()[0].save);
    EXPECT_TRUE(dialogs.FileDialogs()[1].save);
    EXPECT_EQ(dialogs.FileDialogs()[1].proposedName, "Приклад додання пристроїв");
    EXPECT_EQ(dialogs.FileDialogs()[1].filter, "*.csv");
}
