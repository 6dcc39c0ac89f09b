// Any texts formatted into statements run on a real database: each comes back byte for byte in
// its own column, and an insert adds exactly one row.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "database/QueryRows.h"
#include "database/SQLite3.h"
#include "database/Statement.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzWorkDir.h"

namespace {
CSQLite3* Database() {
    static CSQLite3 database(":memory:");
    return &database;
}

int RowCount(CSQLite3& database) {
    int count = -1;
    CQueryRows rows(database, "SELECT count(*) FROM fuzz_text;");
    while (rows.Next()) count = rows.Int(0);
    return count;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const CScratchWorkDir workDir;  // a failing statement is logged to console.log
    if (!Database()->Execute("CREATE TABLE fuzz_text(a TEXT, b TEXT);")) std::abort();
    return 0;
}

// Two texts, the halves of the input; the program's texts are C strings, so a zero byte ends
// the input as it would end a field.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CScratchWorkDir workDir;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    input = input.substr(0, input.find('\0'));
    const std::string a(input.substr(0, input.size() / 2));
    const std::string b(input.substr(input.size() / 2));
    CSQLite3& database = *Database();
    FUZZ_CHECK(database.Execute("DELETE FROM fuzz_text;"));

    const CExecuteResult inserted = database.Run(
        FormatStatement("INSERT INTO fuzz_text(a, b) VALUES('%s', '%s');", a, b).c_str());
    FUZZ_CHECK(inserted.Ok());
    FUZZ_CHECK(inserted.changes == 1);
    FUZZ_CHECK(RowCount(database) == 1);

    bool found = false;
    CQueryRows rows(
        database, FormatStatement("SELECT a, b FROM fuzz_text WHERE a = '%s' AND b = '%s';", a, b));
    while (rows.Next()) {
        FUZZ_CHECK(!found);
        found = true;
        FUZZ_CHECK(rows.Text(0) == a);
        FUZZ_CHECK(rows.Text(1) == b);
    }
    FUZZ_CHECK(found && !rows.Failed());
    return 0;
}
