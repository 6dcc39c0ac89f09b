#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/FormVeltara.h"
#include "app/FrameLoraMain.h"
#include "app/InstanceLock.h"
#include "app/ProgramConsole.h"
#include "app/ProgramObjects.h"
#include "app/ScreenTour.h"
#include "app/ShownProbe.h"
#include "app/toolkit/Language.h"
#include "app/toolkit/Look.h"
#include "app/toolkit/MessageBox.h"

namespace {
// Beside local.db: the working folder's one copy of the program holds it.
constexpr const char* kLockPath = "./vevo.lock";
constexpr const char* kSecondCopy =
    "Програму Vevo вже запущено в цій папці. Дві копії не можуть працювати з одним local.db: "
    "перейдіть до вікна, що вже відкрите.";
}  // namespace

// Options for tools, not for the operator:
//   --quit-when-shown      write "shown" once the main screen is painted, then end (start-up
//   timing)
//   --screenshots FOLDER   save a picture of every screen into FOLDER, then end
// `vevo WORD ...`, `vevo --help` and `vevo --version` run before any QApplication exists, so
// they need no display (app/Commands.h).
int main(int argc, char** argv) {
    UseConsoleForText();
    std::vector<std::string> words = CommandWords(argc, argv);
    std::vector<char*> wordArgv;
    for (std::string& word : words) wordArgv.push_back(word.data());
    wordArgv.push_back(nullptr);
    if (const auto status = RunCommand(static_cast<int>(words.size()), wordArgv.data()))
        return *status;
    LeaveOwnConsole();
    QApplication application(argc, argv);
    ApplyApplicationLook();
    SpeakUkrainian();
    const CInstanceLock lock(kLockPath);
    if (lock.State() == InstanceLockState::TakenByAnother) {
        std::fprintf(stderr, "vevo: another copy works in this folder\n");
        ShowMessageBox(kSecondCopy, "Помилка", MB_ICONERROR);
        return 1;
    }
    CProgramObjects program;  // before any window: database, settings, log
    TFormVeltara window;

    const QStringList arguments = QApplication::arguments();
    const qsizetype screenshots = arguments.indexOf("--screenshots");
    if (arguments.contains("--quit-when-shown") && FrameLoraMain != nullptr) {
        QuitWhenShown(*FrameLoraMain);
    }
    window.show();
    if (screenshots > 0 && screenshots + 1 < arguments.size()) {
        QTimer::singleShot(0, &window, [&] {
            const int saved = SaveScreenshots(window, arguments[screenshots + 1]);
            std::printf("%d screens saved\n", saved);
            QApplication::quit();
        });
    }
    return application.exec();
}
