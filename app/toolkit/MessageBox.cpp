#include "app/toolkit/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "app/toolkit/UiThread.h"

namespace {
constexpr unsigned kButtonsMask = 0xF;
constexpr unsigned kIconMask = 0xF0;
constexpr const char* kProgramName = "Vevo";

TMessageBoxPresenter& Presenter() {
    static TMessageBoxPresenter presenter;
    return presenter;
}

QMessageBox::Icon IconOf(unsigned flags) {
    switch (flags & kIconMask) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONWARNING:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// A window without a title gets the program's file name from the platform; a blank is empty.
QString CaptionOf(const std::string& caption) {
    return caption.empty() ? QStringLiteral(" ") : QString::fromStdString(caption);
}

int ShowDialog(const TMessageBoxRequest& request) {
    QMessageBox box(IconOf(request.flags), CaptionOf(request.caption),
                    QString::fromStdString(request.text));
    box.setWindowModality(Qt::ApplicationModal);  // task-modal and owner-less alike
    // A text from outside (a published version, a file's line) is shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    const QAbstractButton* openFolder = nullptr;
    switch (request.flags & kButtonsMask) {
        case MB_YESNO:
            box.addButton(QMessageBox::Yes);
            box.setEscapeButton(box.addButton(QMessageBox::No));
            break;
        case MB_RETRYCANCEL:
            box.addButton(QMessageBox::Retry);
            box.setEscapeButton(box.addButton(QMessageBox::Cancel));
            break;
        case MB_OKOPENFOLDER:
            box.setDefaultButton(box.addButton(QMessageBox::Ok));
            openFolder = box.addButton("Відкрити папку", QMessageBox::ActionRole);
            break;
        default:
            box.addButton(QMessageBox::Ok);
    }
    box.exec();
    if (openFolder != nullptr && box.clickedButton() == openFolder) return IDOPENFOLDER;
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Retry:
            return IDRETRY;
        default:
            return IDCANCEL;
    }
}
}  // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    const TMessageBoxRequest request{text, caption, flags};
    int answer = IDCANCEL;
    RunOnUiThread([&] { answer = Presenter() ? Presenter()(request) : ShowDialog(request); });
    return answer;
}

void ShowMessage(const std::string& text) {
    ShowMessageBox(text, kProgramName, MB_OK);
}

void SetMessageBoxPresenter(TMessageBoxPresenter presenter) {
    RunOnUiThread([&] { Presenter() = std::move(presenter); });
}
