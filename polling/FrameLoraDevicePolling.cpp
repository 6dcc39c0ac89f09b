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
const int kHeatWidths[] = {60, 50, 95, 60, 60, 60, 40, 40, 40, 40, 70};
constexpr int kWaterDateWidth = 95;

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
    PanelButtonDeviceStopPolling = NewMenuButton("Зупинити", menu);
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
    statistics->addWidget(PollTimeValue, row, 0, 1, 2, Qt::AlignRight);

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
        if (kind == PollKindHeat) {
            for (int col = 0; col < table->ColCount(); ++col)
                table->SetColWidth(col, kHeatWidths[col]);
        } else {
            table->SetColWidth(WaterDate, kWaterDateWidth);
        }
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
    DeviceTypeComboBox = new QComboBox;
    DeviceTypeComboBox->addItems({"Тепло", "Вода"});
    DeviceTypeComboBox->setCurrentIndex(0);
    TableDeviceData = new TStringGrid(nullptr);
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
        table->SetRowCount(1 + static_cast<int>(heads.size()));
        for (int i = 0; i < static_cast<int>(heads.size()); ++i) {
            for (int col = 0; col < table->ColCount(); ++col) table->SetCell(col, i + 1, "");
            table->SetCell(0, i + 1, QString::fromStdString(heads[i].serial));
            table->SetCell(1, i + 1, QString::fromStdString(heads[i].apartment));
        }
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
    PanelButtonDevicePolling->hide();
    PanelButtonDeviceStopPolling->show();
    thread_.reset();  // the run before, finished by itself
    thread_ = TThread::StartThread<ThreadLoraDevicePolling>(*host_.Link(), *DbController, *this);
    started_ = std::chrono::steady_clock::now();
    PollTimeValue->setText("00:00:00");
    TimerRunning.SetEnabled(true);
}

void TFrameLoraDevicePolling::PanelButtonDeviceStopPollingClick() {
    PanelButtonDevicePolling->show();
    PanelButtonDeviceStopPolling->hide();
    // The run's last synchronised call stops the timer, so the time stays as last shown.
    thread_.reset();
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

void TFrameLoraDevicePolling::PollingFinished(const CPollFailures& failures) {
    PanelButtonDevicePolling->show();
    PanelButtonDeviceStopPolling->hide();
    TimerRunning.SetEnabled(false);
    // The rows of readings not stored show "Ошибка" as silent meters' do: only this says why.
    if (failures.Any()) ShowMessageBox(PollFailureMessage(failures), "Помилка", MB_ICONERROR);
}

void TFrameLoraDevicePolling::TableDeviceHeatListDrawCell(TStringGrid& table, QPainter& painter,
                                                          int col, int row, const QRect& rect,
                                                          bool selected) {
    const QString text = table.Cell(col, row);
    if (row != 0 && selected) {
        DrawGridCell(painter, rect, text, table.palette().color(QPalette::Base),
                     table.palette().color(QPalette::Text));
    } else {
        DrawStripedCell(painter, rect, text, row);
    }
}

void TFrameLoraDevicePolling::TableDeviceDataDrawCell(QPainter& painter, int col, int row,
                                                      const QRect& rect) {
    DrawGridCell(painter, rect, TableDeviceData->Cell(col, row),
                 TableDeviceData->palette().color(QPalette::Base),
                 TableDeviceData->palette().color(QPalette::Text));
}
