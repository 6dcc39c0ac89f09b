#include "database/Statement.h"

#include <gtest/gtest.h>

#include "Utils/FixedText.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "support/TempWorkDir.h"

TEST(Statement, NumbersAndTextsTakeTheirPlaces) {
    EXPECT_EQ(FormatStatement("WHERE `aid` = '%i' AND `serial` = '%u' AND x = '%s';", -3, 4000000000u,
                              std::string("a")),
              "WHERE `aid` = '-3' AND `serial` = '4000000000' AND x = 'a';");
    EXPECT_EQ(FormatStatement("'%f'", 54.3), "'54.300000'");
    const CFixedText<10> text("Мар'я");
    EXPECT_EQ(FormatStatement("'%s' '%s'", text, static_cast<const char*>(nullptr)), "'Мар''я' ''");
}

TEST(Statement, QuotedTextsSurviveARealInsertAndSelect) {
    CTempWorkDir dir;
    CSQLite3Controller controller("./local.db");
    const std::string hostile[] = {"Мар'яна", "В'ячеслав", "'", "''", "x', index_ = 'evil", "a'); DROP TABLE app; --"};
    for (const std::string& value : hostile) {
        const int bid = controller.Database.ExecuteInsert(
            FormatStatement("INSERT INTO buildings(street, no, index_) VALUES ('%s', '%s', '%s');", value, "1", "idx")
                .c_str());
        ASSERT_GT(bid, 0) << value;
        CQueryRows rows(controller.Database,
                        FormatStatement("SELECT street, no, index_ FROM buildings WHERE street = '%s';", value));
        ASSERT_TRUE(rows.Next()) << value;
        EXPECT_EQ(rows.Text(0), value);
        EXPECT_EQ(rows.Text(1), "1");
        EXPECT_EQ(rows.Text(2), "idx");
        EXPECT_FALSE(rows.Next());
    }
    EXPECT_TRUE(controller.Database.TableExists("app"));
}
