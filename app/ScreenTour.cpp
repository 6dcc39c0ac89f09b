#include "app/ScreenTour.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QPixmap>
#include <QScreen>

#include "Utils/TextConversion.h"
#include "app/FormVeltara.h"
#include "app/ProgramObjects.h"

namespace {

// Bound meters of every kind with readings from the first of this month to today, so the
// archive's tabs show a consumption; beside them a heat meter whose counter went backwards and
// one that never reported.
void AddArchiveSamples(CSQLite3Controller& db, int aid) {
    const QDate today = QDate::currentDate();
    const std::string first =
        QDate(today.year(), today.month(), 1).toString("yyyy-MM-dd").toStdString();
    const std::string last = today.toString("yyyy-MM-dd").toStdString();
    CDeviceHeat meter;
    meter.aid = aid;
    meter.serial = 12340001;
    CDataHeat heat;
    heat.devid = db.DeviceHeatModel.InsertDevice(meter);
    heat.q_cooling = "12.5";
    heat.v = "48.125";
    heat.t1 = "71.5";
    heat.t2 = "48.25";
    heat.dt = "23.25";
    heat.date = first + " 00:00";
    heat.q = "1402.5";
    db.DeviceHeatModel.InsertReading(heat);
    heat.date = last + " 08:00";
    heat.q = "1523.75";
    db.DeviceHeatModel.InsertReading(heat);
    meter.serial = 12340002;
    heat.devid = db.DeviceHeatModel.InsertDevice(meter);
    heat.date = first + " 00:30";
    heat.q = "880";
    db.DeviceHeatModel.InsertReading(heat);
    heat.date = last + " 08:30";
    heat.q = "860.25";
    db.DeviceHeatModel.InsertReading(heat);
    meter.serial = 12340003;
    db.DeviceHeatModel.InsertDevice(meter);
    CDataWater water;
    water.v_flow = "0.75";
    water.bat = "3.6";
    water.v_reverse = "0.01";
    meter.serial = 87650001;
    const int cold = db.DeviceWaterColdModel.InsertDevice(meter);
    meter.serial = 87650002;
    const int hot = db.DeviceWaterHotModel.InsertDevice(meter);
    for (const auto& [model, devid] :
         {std::pair<CDeviceWaterModel*, int>{&db.DeviceWaterColdModel, cold},
          {&db.DeviceWaterHotModel, hot}}) {
        water.devid = devid;
        water.date = first + " 00:00:00";
        water.v = "118.5";
        water.running_time_minute = 4100;
        model->InsertReading(water);
        water.date = last + " 08:00:00";
        water.v = "123.456";
        water.running_time_minute = 4321;
        model->InsertReading(water);
    }
}

// A fresh working directory's directory gets two buildings with a few residents, one of them
// with a bound meter. Texts are written as the screens write them: Windows-1251.
void FillSamples(CSQLite3Controller& db) {
    const auto buildings = db.ObjectModel.GetObjects();
    if (buildings == nullptr || buildings->Count() > 0) return;
    struct {
        const char* street;
        const char* house;
    } const streets[] = {{"вул. Шевченка", "12"}, {"просп. Свободи", "7а"}};
    struct {
        int building;
        const char* no;
        const char* sname;
        const char* name;
        const char* fname;
        double area;
    } const residents[] = {
        {0, "1", "Ґудзь", "Мар'яна", "Іванівна", 54.3},
        {0, "2", "Коваленко", "В’ячеслав", "Петрович", 61.5},
        {0, "3", "Їжак", "Олена", "Ігорівна", 38},
        {1, "14", "Бондар", "Андрій", "Сергійович", 72.25},
    };
    int bids[2] = {};
    for (int i = 0; i < 2; ++i) {
        CDataObject building;
        building.street = Utf8ToCp1251(streets[i].street);
        building.no = Utf8ToCp1251(streets[i].house);
        building.index_ = "79000";
        bids[i] = db.ObjectModel.InsertObject(building);
    }
    int first = 0;
    for (const auto& resident : residents) {
        CDataSubscriber apartment;
        apartment.bid = bids[resident.building];
        apartment.no = resident.no;
        apartment.licno = Utf8ToCp1251(std::string("1000") + resident.no);
        apartment.sname = Utf8ToCp1251(resident.sname);
        apartment.name = Utf8ToCp1251(resident.name);
        apartment.fname = Utf8ToCp1251(resident.fname);
        apartment.total_floor_area = resident.area;
        apartment.heated_floor_area = resident.area;
        apartment.num_reg_peopl = 2;
        const int aid = db.SubscriberModel.InsertSubscriber(apartment);
        if (first == 0) first = aid;
    }
    CDeviceHeat meter;
    meter.serial = 12345678;
    meter.aid = first;
    meter.date_install = "2024-03-15";
    meter.date_initial_verification = "2024-03-01";
    meter.calibration_interval = 48;
    db.DeviceHeatModel.InsertDevice(meter);
    // Unbound meters of every kind, so that the meter list's tabs are not empty either.
    meter.aid = 0;
    for (int serial : {1234, 12345679}) {
        meter.serial = serial;
        db.DeviceHeatModel.InsertDevice(meter);
    }
    meter.serial = 87654321;
    db.DeviceWaterColdModel.InsertDevice(meter);
    meter.serial = 87654322;
    db.DeviceWaterHotModel.InsertDevice(meter);
    AddArchiveSamples(db, first);
}

bool SavePicture(TFormVeltara& window, const QString& folder, const QString& name) {
    QCoreApplication::processEvents();
    return window.grab().save(QDir(folder).filePath(name + ".png"));
}

}  // namespace

int SaveScreenshots(TFormVeltara& window, const QString& folder) {
    QDir().mkpath(folder);
    FillSamples(*DbController);
    const std::vector<QWidget*>& screens = window.Screens();
    int saved = 0;
    // At the smallest size the window takes, then over the whole screen, as maximised.
    const QRect whole = window.screen()->availableGeometry();
    for (const bool maximised : {false, true}) {
        if (maximised) {
            window.setGeometry(whole);
        } else {
            window.resize(window.minimumSize());
        }
        const QString suffix = maximised ? "-maximised" : "";
        for (std::size_t index = 0; index < screens.size(); ++index) {
            for (QWidget* screen : screens) screen->setVisible(screen == screens[index]);
            QString name = screens[index]->objectName();
            if (name.isEmpty()) name = QString("screen%1").arg(index + 1);
            saved += SavePicture(window, folder, name + suffix) ? 1 : 0;
            auto* stops = dynamic_cast<CTourStops*>(screens[index]);
            for (int stop = 0; stops != nullptr && stop < stops->TourStopCount(); ++stop) {
                const QString view = stops->ShowTourStop(stop);
                saved += SavePicture(window, folder, view + suffix) ? 1 : 0;
            }
        }
    }
    return saved;
}
