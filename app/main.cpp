#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/Commands.h"
#include "app/FormVeltara.h"
#include "app/FrameLoraMain.h"
#include "app/ProgramObjects.h"
#include "app/ScreenTour.h"
#include "app/ShownProbe.h"
#include "app/toolkit/Look.h"

// Options for tools, not for the operator:
//   --quit-when-shown      write "shown" once the main screen is painted, then end (start-up
//   timing)
//   --screenshots FOLDER   save a picture of every screen into FOLDER, then end
// `vevo WORD ...`, `vevo --help` and `vevo --version` run before any QApplication exists, so
// they need no display (app/Commands.h).
int main(int argc, char** argv) {
    if (const auto status = RunCommand(argc, argv)) return *status;
    CProgramObjects program;  // before any window: database, settings, log
    QApplication application(argc, argv);
    ApplyApplicationLook();
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
