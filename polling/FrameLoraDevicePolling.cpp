#include "polling/FrameLoraDevicePolling.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ProgramObjects.h"
#include "app/ScreenHost.h"
#include "app/toolkit/ComboBox.h"
#include "app/toolkit/Keys.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "database/WriteCheck.h"
#include "polling/PollingTables.h"

TFrameLoraDevicePolling* FrameLoraDevicePolling = nullptr;

namespace {
constexpr int kMenuWidth = 150;
constexpr QSize kButtonSize{140, 41};
constexpr int kHeaderHeight = 40;
constexpr int kByNumberRowHeight = 24;
const std::vector<int> kHeatWidths = {60, 50, 95, 60, 60, 60, 40, 40, 40, 40, 70};
// The toolkit's default column width, but for the date's.
const std::vector<int> kWaterWidths = {64, 64, 95, 64, 64, 64, 64, 64, 64};
constexpr const char* kStop = "Зупинити";
constexpr const char* kStopping = "Зупинка…";
constexpr QRgb kReadingRow = 0xFFF2B3;
constexpr QRgb kFailedText = 0xD00000;

TPanelButton* NewMenuButton(const char* caption, QWidget* parent) {
    auto* button = new TPanelButton(caption, parent);
    button->setFixedSize(kButtonSize);
    return button;
}
}  // namespace

TFrameLoraDevicePolling::TFrameLoraDevicePolling(QWidget* parent, CScreenHost& host)
    : QWidget(parent), host_(host) {
    FrameLoraDevicePolling = this;
    setObjectName("FrameLoraDevicePolling");
    Background = NewPanel(this);
    auto* fill = new QGridLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Background, 0, 0);

    PageControl = new QTabWidget(Background);
    PageControl->addTab(BuildSavedTab(), "Збережені");
    PageControl->addTab(BuildByNumberTab(), "За номером");
    RightMenu = BuildRightMenu();
    // The tables leave the menu's width and 5 pixels at each side.
    auto* columns = new QHBoxLayout(Background);
    columns->setContentsMargins(5, 4, 5, 4);
    columns->addWidget(PageControl, 1);
    columns->addWidget(RightMenu);

    PanelButtonDevicePolling->OnClick = [this] { PanelButtonDevicePollingClick(); };
    PanelButtonDeviceStopPolling->OnClick = [this] { PanelButtonDeviceStopPollingClick(); };
    OnKey(this, Qt::Key_F5, [this] { PanelButtonDevicePollingClick(); });
    OnKey(this, Qt::Key_Escape, [this] { PanelButtonBack->Click(); });
    TimerRunning.OnTimer = [this] { TimerRunningTimer(); };
    QObject::connect(PageControl, &QTabWidget::currentChanged, this,
                     [this] { PageControlChange(); });
    QObject::connect(DeviceTypeComboBox, &QComboBox::currentIndexChanged, this,
                     [this] { DeviceTypeComboBoxChange(); });

    PanelButtonDevicePolling->show();
    PanelButtonDeviceStopPolling->hide();
    // "Додати" adds the meter typed for a read by number, so it shows on that tab only.
    PanelButonAdd->hide();
    PanelButonAdd->OnClick = [this] { PanelButonAddClick(); };
    RefillTables();
}

TFrameLoraDevicePolling::~TFrameLoraDevicePolling() {
    thread_.reset();  // waits for the run to end while the tables it fills still exist
    FrameLoraDevicePolling = nullptr;
}

QWidget* TFrameLoraDevicePolling::BuildRightMenu() {
    QWidget* menu = NewPanel(Background);
    menu->setFixedWidth(kMenuWidth);
    PanelButtonDevicePolling = NewMenuButton("Опитати", menu);
    PanelButtonDeviceStopPolling = NewMenuButton(kStop, menu);
    PanelButonAdd = NewMenuButton("Додати", menu);
    PanelButtonBack = NewMenuButton("Назад", menu);

    GroupBoxStatistics = new QGroupBox("Статистка", menu);
    auto* statistics = new QGridLayout(GroupBoxStatistics);
    statistics->setContentsMargins(6, 6, 6, 6);
    statistics->setHorizontalSpacing(2);
    statistics->addWidget(new QLabel("Кількість пристроїв:"), 0, 0, 1, 2);
    CountDeviceHeatValue = new QLabel("0");
    CountDeviceWaterColdValue = new QLabel("0");
    CountDeviceWaterHotValue = new QLabel("0");
    PollTimeValue = new QLabel("00:00:00");
    PollProgressValue = new QLabel;
    const std::pair<const char*, QLabel*> rows[] = {
        {"Тепло:", CountDeviceHeatValue},
        {"Холодна вода:", CountDeviceWaterColdValue},
        {"Гаряча вода:", CountDeviceWaterHotValue},
    };
    int row = 1;
    for (const auto& [caption, value] : rows) {
        statistics->addWidget(new QLabel(caption), row, 0);
        statistics->addWidget(value, row++, 1, Qt::AlignRight);
    }
    // The time goes under its label: side by side they do not fit the menu's width.
    statistics->addWidget(new QLabel("Час опитування:"), row++, 0, 1, 2);
    statistics->addWidget(PollProgressValue, row, 0);
    statistics->addWidget(PollTimeValue, row, 1, Qt::AlignRight);

    auto* layout = new QVBoxLayout(menu);
    layout->setContentsMargins(5, 0, 5, 0);
    for (TPanelButton* button :
         {PanelButtonDevicePolling, PanelButtonDeviceStopPolling, PanelButonAdd}) {
        layout->addWidget(button);
    }
    layout->addWidget(GroupBoxStatistics);
    layout->addStretch(1);
    layout->addWidget(PanelButtonBack);
    return menu;
}

QWidget* TFrameLoraDevicePolling::BuildSavedTab() {
    PageControlSaveDevice = new QTabWidget;
    const char* captions[] = {"Тепло", "Холодна вода", "Гаряча вода"};
    for (int kind = 0; kind < PollKindCount; ++kind) {
        auto* table = new TStringGrid(nullptr);
        table->SetColCount(ColumnCountOf(kind));
        table->SetRowCount(1);
        table->SetRowHeight(0, kHeaderHeight);
        const auto& headers = MeterHeadersOf(kind);
        for (int col = 0; col < table->ColCount(); ++col) table->SetCell(col, 0, headers[col]);
        // The serial and the status stay in sight at any width; the readings share the rest.
        table->FitColumns(kind == PollKindHeat ? kHeatWidths : kWaterWidths,
                          {0, StatusColumnOf(kind)});
        table->OnDrawCell = [this, table](QPainter& painter, int col, int row, const QRect& rect,
                                          bool selected) {
            TableDeviceHeatListDrawCell(*table, painter, col, row, rect, selected);
        };
        meterTables_[kind] = table;
        PageControlSaveDevice->addTab(table, captions[kind]);
    }
    TableDeviceHeatList = meterTables_[PollKindHeat];
    TableDeviceWaterColdList = meterTables_[PollKindWaterCold];
    TableDeviceWaterHotList = meterTables_[PollKindWaterHot];
    return PageControlSaveDevice;
}

QWidget* TFrameLoraDevicePolling::BuildByNumberTab() {
    QWidget* tab = NewPanel(nullptr);
    DeviceNumberEdit = new QLineEdit;
    DeviceNumberEdit->setMaxLength(8);
    DeviceNumberEdit->setFixedWidth(100);
    DeviceTypeComboBox = new TComboBox;
    DeviceTypeComboBox->addItems({"Тепло", "Вода"});
    DeviceTypeComboBox->setCurrentIndex(0);
    LabelNoAnswer = new QLabel("Немає відповіді");
    QPalette red = LabelNoAnswer->palette();
    red.setColor(QPalette::WindowText, QColor(kFailedText));
    LabelNoAnswer->setPalette(red);
    LabelNoAnswer->hide();
    TableDeviceData = new TStringGrid(nullptr);
    TableDeviceData->SetFixedRows(0);
    TableDeviceData->SetColCount(2);
    TableDeviceData->SetDefaultRowHeight(kByNumberRowHeight);
    TableDeviceData->SetColWidth(0, 100);
    TableDeviceData->SetColWidth(1, 150);
    TableDeviceData->setFixedWidth(100 + 150 + 4);
    TableDeviceData->OnDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect,
                                         bool) {
        TableDeviceDataDrawCell(painter, col, row, rect);
    };
    SetByNumberLabels(0);

    auto* layout = new QGridLayout(tab);
    layout->addWidget(new QLabel("Номер пристрою:"), 0, 0);
    layout->addWidget(DeviceNumberEdit, 0, 1);
    layout->addWidget(new QLabel("Тип пристрою:"), 1, 0);
    layout->addWidget(DeviceTypeComboBox, 1, 1);
    layout->addWidget(LabelNoAnswer, 1, 2);
    layout->addWidget(TableDeviceData, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);
    return tab;
}

void TFrameLoraDevicePolling::RefillTables() {
    int counts[PollKindCount] = {};
    CReadFailure failure;
    for (int kind = 0; kind < PollKindCount; ++kind) {
        TStringGrid* table = meterTables_[kind];
        const auto heads = MeterRowHeads(*DbController, kind, &failure);
        table->setUpdatesEnabled(false);
        table->SetRowCount(1);
        table->SetRowCount(1 + static_cast<int>(heads.size()));
        for (int i = 0; i < static_cast<int>(heads.size()); ++i) {
            table->SetCell(0, i + 1, QString::fromStdString(heads[i].serial));
            table->SetCell(1, i + 1, QString::fromStdString(heads[i].apartment));
        }
        table->setUpdatesEnabled(true);
        counts[kind] = static_cast<int>(heads.size());
    }
    ShowCounts(counts[0], counts[1], counts[2]);
    // One box for the three lists: a file that fails one mostly fails them all. The screen is
    // filled while hidden at start-up too: the box waits for it to be shown, and filled again.
    if (failure.Happened() && isVisible())
        ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
}

void TFrameLoraDevicePolling::ShowCounts(int heat, int cold, int hot) {
    CountDeviceHeatValue->setNum(heat);
    CountDeviceWaterColdValue->setNum(cold);
    CountDeviceWaterHotValue->setNum(hot);
}

void TFrameLoraDevicePolling::PanelButtonDevicePollingClick() {
    if (Polling() || host_.Link() == nullptr) return;
    // A walk may store into any readings table: a switched tab adds its kind's walk. Readings
    // taken by number are never stored.
    if (!ByNumberTabShown()) {
        std::vector<const char*> tables;
        for (int kind = 0; kind < PollKindCount; ++kind) {
            for (const char* table : TablesWrittenByWalk(kind)) tables.push_back(table);
        }
        if (const auto refusal = CheckBeforeWriting(DbController->Database, tables)) {
            ShowMessageBox(RefusalMessage(*refusal), "Помилка", MB_ICONERROR);
            return;
        }
    }
    const bool focused = PanelButtonDevicePolling->hasFocus();
    PanelButtonDevicePolling->hide();
    PanelButtonDeviceStopPolling->show();
    if (focused) PanelButtonDeviceStopPolling->setFocus();
    PollProgressValue->clear();
    if (ByNumberTabShown()) ClearByNumberValues();
    state_ = PollState::Polling;
    thread_.reset();  // the run before, finished by itself
    thread_ = TThread::StartThread<ThreadLoraDevicePolling>(*host_.Link(), *DbController, *this);
    started_ = std::chrono::steady_clock::now();
    PollTimeValue->setText("00:00:00");
    TimerRunning.SetEnabled(true);
}

void TFrameLoraDevicePolling::PanelButtonDeviceStopPollingClick() {
    if (state_ != PollState::Polling) return;
    // The run ends with its last synchronised call, which stops the timer and shows Start.
    state_ = PollState::Stopping;
    PanelButtonDeviceStopPolling->SetCaption(kStopping);
    thread_->Terminate();
}

void TFrameLoraDevicePolling::EndPolling() {
    PanelButtonDeviceStopPollingClick();
    thread_.reset();  // serves the run's last calls while it waits
}

void TFrameLoraDevicePolling::TimerRunningTimer() {
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    PollTimeValue->setText(QString::fromStdString(
        ElapsedText(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count())));
}

void TFrameLoraDevicePolling::PageControlChange() {
    PanelButonAdd->setVisible(PageControl->currentIndex() == 1);
    if (PageControl->currentIndex() == 1) {
        ShowCounts(1, 1, 1);
        return;
    }
    ShowCounts(MeterCountOf(*DbController, PollKindHeat),
               MeterCountOf(*DbController, PollKindWaterCold),
               MeterCountOf(*DbController, PollKindWaterHot));
}

void TFrameLoraDevicePolling::PanelButonAddClick() {
    host_.ShowDeviceAddForm(DeviceNumberEdit->text());
}

void TFrameLoraDevicePolling::ClearByNumberValues() {
    LabelNoAnswer->hide();
    for (int row = 0; row < TableDeviceData->RowCount(); ++row)
        TableDeviceData->SetCell(1, row, {});
}

void TFrameLoraDevicePolling::DeviceTypeComboBoxChange() {
    SetByNumberLabels(DeviceTypeComboBox->currentIndex() == 0 ? 0 : 1);
}

void TFrameLoraDevicePolling::SetByNumberLabels(int family) {
    const auto& labels = ByNumberLabelsOf(family);
    TableDeviceData->SetRowCount(static_cast<int>(labels.size()));
    for (int row = 0; row < TableDeviceData->RowCount(); ++row)
        TableDeviceData->SetCell(0, row, labels[row]);
}

bool TFrameLoraDevicePolling::ByNumberTabShown() {
    return PageControl->currentIndex() == 1;
}

int TFrameLoraDevicePolling::SavedKindTab() {
    return PageControlSaveDevice->currentIndex();
}

int TFrameLoraDevicePolling::ByNumberFamily() {
    return DeviceTypeComboBox->currentIndex();
}

std::string TFrameLoraDevicePolling::TypedNumber() {
    return DeviceNumberEdit->text().toStdString();
}

void TFrameLoraDevicePolling::ShowReadingRow(int kind, int row, int count) {
    TStringGrid* table = meterTables_[kind];
    const int before = readingKind_ >= 0 ? readingRow_ : -1;
    TStringGrid* previous = readingKind_ >= 0 ? meterTables_[readingKind_] : nullptr;
    readingKind_ = kind;
    readingRow_ = row;
    if (previous != nullptr && before >= 0) previous->viewport()->update();
    table->ScrollToRow(row);
    table->viewport()->update();
    PollProgressValue->setText(QString("%1 з %2").arg(row).arg(count));
}

void TFrameLoraDevicePolling::ShowMeterRow(int kind, int row,
                                           const std::vector<CMeterCell>& cells) {
    TStringGrid* table = meterTables_[kind];
    if (row >= table->RowCount()) return;
    for (const CMeterCell& cell : cells)
        table->SetCell(cell.column, row, QString::fromStdString(cell.text));
}

void TFrameLoraDevicePolling::ShowByNumberValues(const std::vector<std::string>& values) {
    const int rows = std::min(static_cast<int>(values.size()), TableDeviceData->RowCount());
    for (int row = 0; row < rows; ++row)
        TableDeviceData->SetCell(1, row, QString::fromStdString(values[row]));
}

void TFrameLoraDevicePolling::ShowNoAnswer() {
    LabelNoAnswer->show();
}

void TFrameLoraDevicePolling::PollingFinished(const CPollFailures& failures) {
    const bool focused = PanelButtonDeviceStopPolling->hasFocus();
    PanelButtonDevicePolling->show();
    PanelButtonDeviceStopPolling->hide();
    PanelButtonDeviceStopPolling->SetCaption(kStop);
    if (focused) PanelButtonDevicePolling->setFocus();
    TimerRunning.SetEnabled(false);
    state_ = PollState::Idle;
    if (readingKind_ >= 0) meterTables_[readingKind_]->viewport()->update();
    readingKind_ = -1;
    readingRow_ = -1;
    // The rows of readings not stored show "Ошибка" as silent meters' do: only this says why.
    if (failures.Any()) ShowMessageBox(PollFailureMessage(failures), "Помилка", MB_ICONERROR);
}

void TFrameLoraDevicePolling::TableDeviceHeatListDrawCell(TStringGrid& table, QPainter& painter,
                                                          int col, int row, const QRect& rect,
                                                          bool selected) {
    const QString text = table.Cell(col, row);
    if (row == 0) {
        DrawStripedCell(painter, rect, text, row);
        return;
    }
    const bool reading =
        &table == (readingKind_ >= 0 ? meterTables_[readingKind_] : nullptr) && row == readingRow_;
    QColor background = selected ? table.palette().color(QPalette::Base) : RowColor(row);
    if (reading) background = QColor(kReadingRow);
    const bool failed = text == kStatusFailed;
    DrawGridCell(painter, rect, text, background,
                 failed ? QColor(kFailedText) : table.palette().color(QPalette::Text));
}

void TFrameLoraDevicePolling::TableDeviceDataDrawCell(QPainter& painter, int col, int row,
                                                      const QRect& rect) {
    DrawGridCell(painter, rect, TableDeviceData->Cell(col, row),
                 TableDeviceData->palette().color(QPalette::Base),
                 TableDeviceData->palette().color(QPalette::Text));
}

int TFrameLoraDevicePolling::TourStopCount() const {
    return 3;
}

QString TFrameLoraDevicePolling::ShowTourStop(int stop) {
    RefillTables();
    PollingFinished({});
    PageControl->setCurrentIndex(stop == 2 ? 1 : 0);
    if (stop == 2) {
        ClearByNumberValues();
        ShowNoAnswer();
        return "FrameLoraDevicePolling-by_number";
    }
    // The first meter failed, the second is being read.
    const int kind = stop == 0 ? PollKindHeat : PollKindWaterCold;
    PageControlSaveDevice->setCurrentIndex(kind);
    const int count = meterTables_[kind]->RowCount() - 1;
    if (count > 0) ShowMeterRow(kind, 1, {ErrorCell(kind)});
    if (count > 1) ShowReadingRow(kind, 2, count);
    return stop == 0 ? "FrameLoraDevicePolling-heat" : "FrameLoraDevicePolling-water_cold";
}
