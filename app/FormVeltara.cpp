#include "app/FormVeltara.h"

#include <QGridLayout>
#include <QShowEvent>

#include "app/FrameLoraMain.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "archive/FrameHeatArchiveList.h"
#include "directory/FrameDeviceList.h"
#include "directory/FrameOrganization.h"
#include "polling/FrameLoraDevicePolling.h"
#include "serial/LinkErrors.h"
#include "serial/LinkSettings.h"
#include "serial/ProcessComPort.h"
#include "update/FrameUpdate.h"

TFormVeltara* FormVeltara = nullptr;

namespace {
constexpr QSize kClientSize{800, 450};
constexpr QSize kMinimumOuterSize{900, 500};

// The serial link's open and lost messages; a polling thread's call waits for the answer.
bool AskRetryLink(int /*kind*/, const char* text) {
    return ShowMessageBox(text, "Ошибка", MB_ICONERROR | MB_RETRYCANCEL) == IDRETRY;
}
}  // namespace

TFormVeltara::TFormVeltara()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      background_(NewPanel(this)) {
    FormVeltara = this;
    setWindowTitle(kProgramName);
    SetLinkErrorHandler(AskRetryLink);

    auto* fill = new QGridLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(background_, 0, 0);
    auto* screens = new QGridLayout(background_);
    screens->setContentsMargins(0, 0, 0, 0);

    // Lowest, and left visible: it shows while the start-up check runs.
    update_ = new TFrameUpdate(background_, programInfo_, {programInfo_.GetGatewayHost(), 80});
    AddScreen(update_, true);
    update_->OnCarryOn = [this] { ShowMainScreen(); };
    main_ = new TFrameLoraMain(background_, *this);
    AddScreen(main_, false);
    polling_ = new TFrameLoraDevicePolling(background_, *this);
    AddScreen(polling_, false);
    polling_->PanelButtonBack->OnClick = [this] { ShowMainScreen(); };
    deviceList_ = new TFrameDeviceList(background_);
    AddScreen(deviceList_, false);
    deviceList_->PanelButtonBack->OnClick = [this] { ShowMainScreen(); };
    directory_ = new TFrameOrganization(background_);
    AddScreen(directory_, false);
    directory_->PanelButtonBack->OnClick = [this] { ShowMainScreen(); };
    archive_ = new TFrameHeatArchiveList(background_);
    AddScreen(archive_, false);
    archive_->PanelButtonBack->OnClick = [this] { ShowMainScreen(); };

    setMinimumSize(kMinimumOuterSize);
    resize(kClientSize);
    if (!CheckForUpdate()) main_->show();
    setWindowTitle(windowTitle() + " " + programInfo_.GetVersion());
}

TFormVeltara::~TFormVeltara() {
    // The screens go first: a polling screen may still have a thread on the link.
    for (auto screen = screens_.rbegin(); screen != screens_.rend(); ++screen) delete *screen;
    link_.reset();
    SetLinkErrorHandler({});
    FormVeltara = nullptr;
}

void TFormVeltara::AddScreen(QWidget* screen, bool visible) {
    // Every screen lies in the same cell; a later one covers the earlier ones while visible.
    static_cast<QGridLayout*>(background_->layout())->addWidget(screen, 0, 0);
    screen->setVisible(visible);
    screens_.push_back(screen);
}

bool TFormVeltara::CheckForUpdate() { return update_->CheckForUpdate(*this); }

void TFormVeltara::ShowMainScreen() {
    // A running poll is stopped first, as Stop does, so the link outlives the thread's use of it.
    polling_->PanelButtonDeviceStopPollingClick();
    link_.reset();
    main_->show();
    // The screens made after the main one are those that "Назад" leaves.
    bool after = false;
    for (QWidget* screen : screens_) {
        if (after) screen->hide();
        after = after || screen == main_;
    }
}

void TFormVeltara::ShowPollingScreen() {
    main_->hide();
    polling_->show();
    polling_->RefillTables();
}

void TFormVeltara::ShowDeviceListScreen() {
    deviceList_->show();
    deviceList_->ResetScreen();
}

void TFormVeltara::ShowDeviceAddForm(const QString& number) {
    deviceList_->ShowAddFormOn(polling_, number);
}

void TFormVeltara::ShowDirectoryScreen() {
    directory_->show();
    directory_->ResetDirectory();
}

void TFormVeltara::ShowArchiveScreen() {
    archive_->show();
    archive_->ResetArchive();
}

void TFormVeltara::OpenLink(const char* name, unsigned speed) {
    link_.reset();
    link_ = std::make_unique<CProcessComPort>(name, speed, LinkSettingsFrom(*IniFile));
}

void TFormVeltara::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormVeltara::FormShow() {
    // The minimum is an outer size: the frame, once known, comes off the client's share.
    const QSize frame = frameGeometry().size() - geometry().size();
    setMinimumSize(kMinimumOuterSize - frame);
    main_->LayoutButtons();
}
