#include "app/FormVeltara.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>
#include <QShowEvent>
#include <charconv>
#include <string>

#include "Utils/Format.h"
#include "app/FrameLoraMain.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/Keys.h"
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

constexpr const char* kPlaceSection = "WINDOW";
// A remembered place is taken when this much of it lies on a screen there is now.
constexpr QSize kVisibleEnough{100, 50};

// The serial link's open and lost messages; a polling thread's call waits for the answer.
bool AskRetryLink(int /*kind*/, const char* text) {
    return ShowMessageBox(text, "Ошибка", MB_ICONERROR | MB_RETRYCANCEL) == IDRETRY;
}

// A whole number remembered in the window's section, or `fallback`.
int RememberedNumber(const char* key, int fallback) {
    CIniValue text;
    IniFile->GetValue(kPlaceSection, key, text);
    int value = fallback;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

void Remember(const char* key, int value) {
    IniFile->SetValue(kPlaceSection, key, Format("%i", value).c_str());
}

bool OnSomeScreen(const QRect& place) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shared = screen->availableGeometry().intersected(place);
        if (shared.width() >= kVisibleEnough.width() && shared.height() >= kVisibleEnough.height())
            return true;
    }
    return false;
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
    // A meter added from a read by number is listed at once, not at the next Connect.
    deviceList_->OnMeterAdded = [this] {
        if (polling_->isVisible()) polling_->RefillTables();
    };
    directory_ = new TFrameOrganization(background_);
    AddScreen(directory_, false);
    directory_->PanelButtonBack->OnClick = [this] { ShowMainScreen(); };
    archive_ = new TFrameHeatArchiveList(background_);
    AddScreen(archive_, false);
    archive_->PanelButtonBack->OnClick = [this] { ShowMainScreen(); };

    setMinimumSize(kMinimumOuterSize);
    resize(kClientSize);
    RestorePlace();
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
    // A running poll is ended first, so the link outlives the thread's use of it.
    polling_->EndPolling();
    link_.reset();
    main_->setEnabled(true);
    main_->show();
    // The screens made after the main one are those that "Назад" leaves.
    bool after = false;
    for (QWidget* screen : screens_) {
        if (after) screen->hide();
        after = after || screen == main_;
    }
    if (mainFocus_ != nullptr && mainFocus_->isVisible() && mainFocus_->isEnabled()) {
        mainFocus_->setFocus(Qt::OtherFocusReason);
    } else {
        FocusFirstIn(main_);
    }
}

void TFormVeltara::LeaveMainScreen() {
    QWidget* focused = QApplication::focusWidget();
    mainFocus_ = focused != nullptr && main_->isAncestorOf(focused) ? focused : nullptr;
    // Covered, it stays visible but out of Tab's way, so no key reaches a button unseen.
    main_->setEnabled(false);
}

void TFormVeltara::ShowPollingScreen() {
    LeaveMainScreen();
    main_->hide();
    polling_->show();
    polling_->RefillTables();
    FocusFirstIn(polling_);
}

void TFormVeltara::ShowDeviceListScreen() {
    LeaveMainScreen();
    deviceList_->show();
    deviceList_->ResetScreen();
    FocusFirstIn(deviceList_);
}

void TFormVeltara::ShowDeviceAddForm(const QString& number) {
    deviceList_->ShowAddFormOn(polling_, number);
}

void TFormVeltara::ShowDirectoryScreen() {
    LeaveMainScreen();
    directory_->show();
    directory_->ResetDirectory();
    FocusFirstIn(directory_);
}

void TFormVeltara::ShowArchiveScreen() {
    LeaveMainScreen();
    archive_->show();
    archive_->ResetArchive();
    FocusFirstIn(archive_);
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
    if (focusWidget() == nullptr && main_->isVisible()) FocusFirstIn(main_);
}

void TFormVeltara::closeEvent(QCloseEvent* event) {
    polling_->EndPolling();
    link_.reset();
    SavePlace();
    QWidget::closeEvent(event);
}

void TFormVeltara::RestorePlace() {
    const QRect place(RememberedNumber("LEFT", 0), RememberedNumber("TOP", 0),
                      RememberedNumber("WIDTH", 0), RememberedNumber("HEIGHT", 0));
    // A place on a screen that is gone, or none remembered, leaves the window to the system.
    if (!place.isEmpty() && OnSomeScreen(place)) setGeometry(place);
    if (RememberedNumber("MAXIMIZED", 0) != 0) setWindowState(windowState() | Qt::WindowMaximized);
}

void TFormVeltara::SavePlace() {
    const bool maximised = isMaximized();
    // Maximised, the size to come back to is the one before.
    const QRect place = maximised ? normalGeometry() : geometry();
    Remember("LEFT", place.x());
    Remember("TOP", place.y());
    Remember("WIDTH", place.width());
    Remember("HEIGHT", place.height());
    Remember("MAXIMIZED", maximised ? 1 : 0);
}
