#include "app/toolkit/FileDialogs.h"

#include <QFileDialog>

namespace {
TFileDialogPresenter& Presenter() {
    static TFileDialogPresenter presenter;
    return presenter;
}

std::string Present(const TFileDialogRequest& request) {
    if (Presenter()) return Presenter()(request);
    const QString filter = QString::fromStdString(request.filter);
    const QString name =
        request.save ? QFileDialog::getSaveFileName(
                           nullptr, {}, QString::fromStdString(request.proposedName), filter)
                     : QFileDialog::getOpenFileName(nullptr, {}, {}, filter);
    return name.toStdString();
}
}  // namespace

std::string OpenFileDialog() {
    return Present({false, {}, {}});
}

std::string SaveFileDialog(const std::string& proposedName, const std::string& filter) {
    return Present({true, proposedName, filter});
}

void SetFileDialogPresenter(TFileDialogPresenter presenter) {
    Presenter() = std::move(presenter);
}
