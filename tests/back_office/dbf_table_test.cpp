#include "dbf_table.h"

#include "test_environment.h"

#include <fstream>

namespace {

class DbfTableTest : public testsupport::TestEnvironment {};

struct Field {
    const char* name;
    char type;
    int width;
    int decimals;
};

// A dBase III table written byte by byte, as the exchange programs write them.
void writeDbf(const std::filesystem::path& file, const std::vector<Field>& fields, const std::vector<std::string>& records) {
    int recordLength = 1;
    for (const Field& f : fields) recordLength += f.width;
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    std::string bytes(32, '\0');
    bytes[0] = 0x03;
    bytes[1] = 124;  // 2024
    bytes[2] = 5;
    bytes[3] = 17;
    bytes[4] = char(records.size());
    bytes[8] = char(headerLength & 0xFF);
    bytes[9] = char(headerLength >> 8);
    bytes[10] = char(recordLength & 0xFF);
    bytes[11] = char(recordLength >> 8);
    for (const Field& f : fields) {
        std::string descriptor(32, '\0');
        descriptor.replace(0, std::strlen(f.name), f.name);
        descriptor[11] = f.type;
        descriptor[16] = char(f.width);
        descriptor[17] = char(f.decimals);
        bytes += descriptor;
    }
    bytes += '\x0D';
    for (const std::string& record : records) {
        EXPECT_EQ(int(record.size()), recordLength) << record;
        bytes += record;
    }
    bytes += '\x1A';
    std::ofstream(file, std::ios::binary) << bytes;
}

const std::vector<Field> kFields = {{"ARTIKULS", 'C', 8, 0}, {"CENA", 'N', 8, 2}, {"IZP_SAK_D", 'D', 8, 0}};

TEST_F(DbfTableTest, ReadsTheRecordsAsStored) {
    writeDbf(dir() / "items.dbf", kFields,
             {// flag, ARTIKULS (8), CENA (8), IZP_SAK_D (8)
              std::string(" ") + "1001    " + "    1.20" + "20150201",
              std::string("*") + " 1002   " + "    9.99" + "20150202",
              std::string(" ") + "  1003 A" + "   12.5 " + "        ",
              std::string(" ") + "        " + "   -0.50" + "2015xx01"});
    // The exchange programs' upper-case name finds the lower-case file.
    const DbfTable table = DbfTable::open(FindFileAnyCase(dir(), "ITEMS.DBF"));
    ASSERT_EQ(table.recordCount(), 4);
    const int code = table.column("artikuls"), price = table.column("CENA"), from = table.column("IZP_SAK_D");
    EXPECT_FALSE(table.deleted(0));
    EXPECT_TRUE(table.deleted(1));

    struct Row {
        int record;
        std::string code;
        double price;
        QDate from;
    };
    const Row rows[] = {
        {0, "1001", 1.20, QDate(2015, 2, 1)},
        // Trailing blanks go, leading blanks stay: they are part of what was written.
        {2, "  1003 A", 12.5, ZeroDate()},
        {3, "", -0.5, ZeroDate()},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(table.text(r.record, code), r.code) << r.record;
        EXPECT_DOUBLE_EQ(table.number(r.record, price), r.price) << r.record;
        EXPECT_EQ(table.date(r.record, from), r.from) << r.record;
    }
    EXPECT_EQ(ZeroDate(), QDate(1899, 12, 30));
}

TEST_F(DbfTableTest, AMissingColumnOrFileIsAnError) {
    writeDbf(dir() / "ITEMS.DBF", kFields, {});
    const DbfTable table = DbfTable::open(dir() / "ITEMS.DBF");
    EXPECT_EQ(table.recordCount(), 0);
    try {
        table.column("WARNING");
        FAIL() << "no error";
    } catch (const DbfError& e) {
        EXPECT_STREQ(e.what(), "Field 'WARNING' not found");
    }
    EXPECT_THROW(DbfTable::open(dir() / "NONE.DBF"), DbfError);
}

TEST_F(DbfTableTest, MadeTablesTakeAppendedRecordsUnderTheirOwnName) {
    {
        DbfTable table = DbfTable::create(dir() / "R_ARTIK.DBF", {{"KASE", 'C', 10, 0}, {"SUMMA", 'F', 19, 4}, {"DATUMS", 'D', 8, 0}});
        const int record = table.append();
        table.setText(record, 0, "KASE1 and more than ten");
        table.setNumber(record, 1, -12.345);
        table.setDate(record, 2, QDate(2015, 2, 28));
        table.append();
    }
    EXPECT_TRUE(std::filesystem::exists(dir() / "R_ARTIK.DBF"));
    {
        DbfTable table = DbfTable::open(dir() / "R_ARTIK.DBF");
        const int record = table.append();
        table.setNumber(record, 1, 1e6);
    }
    const std::string bytes = testsupport::readFile(dir() / "R_ARTIK.DBF");
    // Numbers right-aligned with the column's decimals, dates YYYYMMDD, language driver 1257.
    EXPECT_NE(bytes.find(" KASE1 and " + std::string(11, ' ') + "-12.3450" + "20150228"), std::string::npos);
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0xCC);
    const DbfTable table = DbfTable::open(dir() / "R_ARTIK.DBF");
    ASSERT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.text(0, 0), "KASE1 and");
    EXPECT_DOUBLE_EQ(table.number(0, 1), -12.345);
    EXPECT_EQ(table.date(0, 2), QDate(2015, 2, 28));
    EXPECT_EQ(table.text(1, 0), "");
    EXPECT_EQ(table.date(1, 2), ZeroDate());
    EXPECT_DOUBLE_EQ(table.number(2, 1), 1e6);
}

// A record rewritten in place keeps its place and its neighbours' bytes; a deleted one keeps its
// place with the flag '*', as another program's reader expects.
TEST_F(DbfTableTest, RecordsAreRewrittenInPlaceAndFlaggedDeleted) {
    writeDbf(dir() / "KASES.DBF", kFields,
             {std::string(" ") + "1001    " + "    1.20" + "20150201", std::string(" ") + "1002    " + "    2.00" + "20150202",
              std::string(" ") + "1003    " + "    3.00" + "20150203"});
    {
        DbfTable table = DbfTable::open(dir() / "KASES.DBF");
        table.setText(0, 0, "9001");
        table.setNumber(0, 1, 7.5);
        table.markDeleted(1);
    }
    const std::string bytes = testsupport::readFile(dir() / "KASES.DBF");
    EXPECT_NE(bytes.find(std::string(" ") + "9001    " + "    7.50" + "20150201" + "*" + "1002    "), std::string::npos);
    const DbfTable table = DbfTable::open(dir() / "KASES.DBF");
    ASSERT_EQ(table.recordCount(), 3);
    EXPECT_FALSE(table.deleted(0));
    EXPECT_TRUE(table.deleted(1));
    EXPECT_EQ(table.text(2, 0), "1003");
}

}  // namespace
