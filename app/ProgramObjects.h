#pragma once

#include "app/IniFile.h"
#include "app/Log.h"
#include "database/SQLite3Controller.h"

// The program-wide objects. They are members of one object that main constructs, so they come
// up in this order and go down in reverse, whatever the link order of the files; screens and
// threads reach them through the names below while it lives. The log writer holds no state
// and is usable before them (app/Log.h).
class CProgramObjects {
public:
    CProgramObjects();
    ~CProgramObjects();
    CProgramObjects(const CProgramObjects&) = delete;
    CProgramObjects& operator=(const CProgramObjects&) = delete;

private:
    CSQLite3Controller dbController_{"./local.db"};
    CIniFile iniFile_;
};

extern CSQLite3Controller* DbController;
extern CIniFile* IniFile;
