#include <cstdio>

#include "app/ProgramObjects.h"
#include "database/Schema.h"

int main() {
    CProgramObjects program;

    int tables = 0;
    for (const char* name : Schema::kTableNames) tables += DbController->Database.TableExists(name);
    std::printf("Opened ./local.db: %d of %zu tables present\n", tables, std::size(Schema::kTableNames));
    return 0;
}
