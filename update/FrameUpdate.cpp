#include "update/FrameUpdate.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <future>

#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"

TFrameUpdate* FrameUpdate = nullptr;

namespace {

// The longest published version the question names; the question must stay readable.
constexpr std::size_t kShownVersion = 100;

// The start-up check off the user-interface thread, so the window can paint while it waits.
class ThreadVersionCheck : public TThread {
public:
    ThreadVersionCheck(const CRemoteService& service, std::chrono::milliseconds deadline)
        : service_(service), deadline_(deadline) {}

    // True when the check ended within `wait`.
    bool EndsWithin(std::chrono::milliseconds wait) {
        return ended_.wait_for(wait) == std::future_status::ready;
    }
    const CVersionCheck& Result() const { return result_; }

protected:
    void Execute() override {
        result_ = CheckPublishedVersions(service_, deadline_);
        done_.set_value();
    }

private:
    const CRemoteService& service_;
    std::chrono::milliseconds deadline_;
    CVersionCheck result_;
    std::promise<void> done_;
    std::future<void> ended_ = done_.get_future();
};

}  // namespace

TFrameUpdate::TFrameUpdate(QWidget* parent, const CProgramInfo& info, CGatewayAddress gateway,
                           CUpdateSettings settings)
    : QWidget(parent),
      Label1(new QLabel("Оновлення", this)),
      ProgressBar1(new QProgressBar(this)),
      Panel1(new TPanelButton("Перервати", this)),
      service_(info, std::move(gateway)),
      settings_(std::move(settings)) {
    FrameUpdate = this;
    setObjectName("FrameUpdate");
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    QFont big = Label1->font();
    big.setPixelSize(32);
    Label1->setFont(big);
    Label1->adjustSize();

    ProgressBar1->setFixedSize(785, 17);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setStyleSheet(
        "QProgressBar { border: 1px solid black; background: white; }"
        "QProgressBar::chunk { background: black; }");
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);

    Panel1->setFixedSize(120, 25);
    Panel1->SetColor(Qt::black);
    Panel1->SetFontColor(Qt::white);
    Panel1->SetHoverColor(QColor(0x40, 0x40, 0x40));
    Panel1->OnClick = [this] { Panel1Click(); };
    FrameResize();
}

TFrameUpdate::~TFrameUpdate() {
    // A running update is stopped and waited for while the screen it reports to is whole.
    thread_.reset();
    if (FrameUpdate == this) FrameUpdate = nullptr;
}

bool TFrameUpdate::CheckForUpdate(QWidget& window) {
    // An update replaces the working folder's files: a program started from elsewhere would
    // be offered the same update at every start and never get it.
    if (!RunsFromItsFolder(settings_)) {
        hide();
        return false;
    }
    auto check = TThread::StartThread<ThreadVersionCheck>(service_, checkDeadline_);
    // A gateway that answers or refuses at once shows nothing; one that keeps the start
    // waiting gets the window up with this screen, painting, until the deadline.
    if (!check->EndsWithin(std::chrono::milliseconds(150))) window.show();
    check->WaitFor();
    if (check->Result().outcome == CheckOutcome::NewVersion) {
        const COffer& offer = check->Result().offer;
        const std::string version = Cp1251ToUtf8(offer.version.substr(0, kShownVersion));
        const std::string question = Format(
            "Вышла новая версия программы %s. Сейчас вы пользуетесь устаревшей версией "
            "%s.\nВы желаете обновить программу?",
            version.c_str(), service_.Info().GetVersion());
        if (ShowMessageBox(question, "", MB_YESNO | MB_ICONWARNING | MB_TASKMODAL) == IDYES) {
            StartUpdate(offer);
            return true;
        }
    }
    hide();
    return false;
}

void TFrameUpdate::StartUpdate(const COffer& offer) {
    ProgressBar1->setMaximum(1);
    ProgressBar1->setValue(0);
    show();
    ended_ = false;
    thread_ = TThread::StartThread<ThreadProgramUpdate>(service_, offer, settings_, *this);
}

void TFrameUpdate::Panel1Click() {
    hide();
    if (thread_ == nullptr || thread_->Finished() || ended_) return;
    // The thread stops at its next file or chunk; the screen reaps it when it goes.
    thread_->Terminate();
    ShowMessageBox("Оновлення перервано.", "", MB_ICONERROR | MB_TASKMODAL);
}

void TFrameUpdate::SetProgressMaximum(std::uint64_t maximum) {
    // Pack totals are bounded well below the bar's range.
    ProgressBar1->setMaximum(static_cast<int>(std::max<std::uint64_t>(maximum, 1)));
    ProgressBar1->setValue(0);
}

void TFrameUpdate::StepProgress(std::uint64_t step) {
    const std::uint64_t value = static_cast<std::uint64_t>(ProgressBar1->value()) + step;
    const auto maximum = static_cast<std::uint64_t>(ProgressBar1->maximum());
    ProgressBar1->setValue(static_cast<int>(std::min(value, maximum)));
}

void TFrameUpdate::UpdateEnded(const CUpdateResult& result) {
    // The thread's last word: from here on it has nothing left to stop.
    ended_ = true;
    switch (result.outcome) {
        case UpdateOutcome::Started:
            // The script replaces the files once the program has gone.
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
            return;
        case UpdateOutcome::NothingToInstall:
            ShowMessageBox("Усі файли програми вже оновлені, встановлювати нічого.", "",
                           MB_ICONINFORMATION | MB_TASKMODAL);
            break;
        case UpdateOutcome::Failed:
            ShowMessageBox(FailureMessage(result), "Помилка", MB_ICONERROR | MB_TASKMODAL);
            break;
        case UpdateOutcome::Stopped:
            return;
    }
    CarryOn();
}

void TFrameUpdate::CarryOn() {
    hide();
    if (OnCarryOn) OnCarryOn();
}

QString TFrameUpdate::ShowTourStop(int /*stop*/) {
    ProgressBar1->setMaximum(100);
    ProgressBar1->setValue(40);
    return "FrameUpdateProgress";
}

void TFrameUpdate::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FrameResize();
}

void TFrameUpdate::FrameResize() {
    // Each control centred across; the three stacked about the middle.
    const int middle = height() / 2;
    Label1->move(width() / 2 - Label1->width() / 2, middle - 70);
    ProgressBar1->move(width() / 2 - ProgressBar1->width() / 2, middle - 8);
    Panel1->move(width() / 2 - Panel1->width() / 2, middle + 30);
}
