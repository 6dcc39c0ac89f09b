#include "database/SQLite3Controller.h"

CSQLite3Controller::CSQLite3Controller(const char* path) : Database(path) { Database.Open(); }

CSQLite3Controller::~CSQLite3Controller() { Database.Close(); }
