#pragma once

#include "database/SQLite3.h"

// Owner of the one connection and the table models that the screens and threads call.
class CSQLite3Controller {
public:
    explicit CSQLite3Controller(const char* path);
    ~CSQLite3Controller();
    CSQLite3Controller(const CSQLite3Controller&) = delete;
    CSQLite3Controller& operator=(const CSQLite3Controller&) = delete;

    CSQLite3 Database;
};
