#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>

#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "app/FormVeltara.h"
#include "app/FrameLoraMain.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "directory/FrameObjectAdd.h"
#include "directory/FrameObjectEdit.h"
#include "directory/FrameObjectList.h"
#include "directory/FrameOrganization.h"
#include "directory/ProgramSubscriberAdd.h"
#include "directory/ProgramSubscriberEdit.h"
#include "directory/ProgramSubscriberList.h"
#include "support/ScriptedDialogs.h"
#include "support/TempWorkDir.h"

// The whole window on a fresh working directory with its real local.db, the directory opened
// from the main screen's "Об'єкт".
class DirectoryTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;
    CProgramObjects program_;
    CScriptedDialogs dialogs_;
    std::unique_ptr<TFormVeltara> window_;

    void OpenDirectory() {
        window_ = std::make_unique<TFormVeltara>();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        FrameLoraMain->PanelButtonObject->Click();
    }

    static TFrameObjectList& Buildings() { return *FrameOrganization->FrameObjectList; }
    static TProgramSubscriberList& Apartments() {
        return *FrameOrganization->ProgramSubscriberList;
    }

    static int AddBuilding(const std::string& street, const std::string& house) {
        CDataObject building;
        building.street = Utf8ToCp1251(street);
        building.no = Utf8ToCp1251(house);
        building.index_ = "79000";
        return DbController->ObjectModel.InsertObject(building);
    }
    static int AddApartment(int bid, const std::string& no, const std::string& surname = "Шевчук") {
        CDataSubscriber apartment;
        apartment.bid = bid;
        apartment.no = no;
        apartment.licno = "L" + no;
        apartment.sname = Utf8ToCp1251(surname);
        apartment.name = Utf8ToCp1251("Олена");
        apartment.fname = Utf8ToCp1251("Петрівна");
        return DbController->SubscriberModel.InsertSubscriber(apartment);
    }
    static int BindHeatMeter(int serial, int aid) {
        CDeviceHeat meter;
        meter.serial = serial;
        meter.aid = aid;
        return DbController->DeviceHeatModel.InsertDevice(meter);
    }
    static int BoundMeters(int aid) {
        int count = 0;
        for (CDeviceBaseModel* model :
             {static_cast<CDeviceBaseModel*>(&DbController->DeviceHeatModel),
              static_cast<CDeviceBaseModel*>(&DbController->DeviceWaterColdModel),
              static_cast<CDeviceBaseModel*>(&DbController->DeviceWaterHotModel)}) {
            count += model->GetDevicesByApartment(aid)->Count();
        }
        return count;
    }
    static std::string Cell(TStringGrid* grid, int col, int row) {
        return grid->Cell(col, row).toStdString();
    }
    // Typed key by key, so the key filters see every character; Cyrillic included.
    static void Type(QLineEdit* edit, const QString& text) {
        edit->clear();
        for (QChar character : text) {
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
    std::string LastText() const {
        return dialogs_.Boxes().empty() ? std::string() : dialogs_.Boxes().back().text;
    }
};
