#include "app/ProgramObjects.h"

CSQLite3Controller* DbController = nullptr;
CIniFile* IniFile = nullptr;

CProgramObjects::CProgramObjects() {
    DbController = &dbController_;
    IniFile = &iniFile_;
}

CProgramObjects::~CProgramObjects() {
    IniFile = nullptr;
    DbController = nullptr;
}
