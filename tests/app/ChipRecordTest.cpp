// The chip record of the operator's log, from the chip tool's report as the
// box prints it.
#include <QJsonDocument>
#include <gtest/gtest.h>

#include "link/ChipRecord.h"

namespace {

// As korvald-box's chip tool prints it, each line ending in CR CR LF on the
// way through adb.
const char kBoxReport[] =
    "eMMC information\r\r\n"
    "Partition #1 (BOOT1): 4 MB (4194304 Bytes)\r\r\n"
    "Partition #2 (BOOT2): 4 MB (4194304 Bytes)\r\r\n"
    "Partition #3 (RPMB): 512 KB (524288 Bytes)\r\r\n"
    "Partition #4 (USER): 7456 MB (7818182656 Bytes)\r\r\n"
    "Manufacturer ID: 0x15\r\r\n"
    "Card/BGA: BGA\r\r\n"
    "Product name: 8GTF4R\r\r\n"
    "Product revision: 0x0\r\r\n"
    "Boot Partition Enable: EXT_CSD[179] = 0x48 ==> Boot partition 1\r\r\n"
    "ACK: EXT_CSD[179] = 0x48 ==> On\r\r\n"
    "Boot mode: EXT_CSD[177] = 0x0A ==> single,high speed\r\r\n"
    "Bus width: EXT_CSD[177] = 0x0A ==> x8 (sdr)\r\r\n";

const char kBoxRecord[] = R"j({
    "partitions": [
        {"number": 1, "name": "BOOT1", "bytes": 4194304},
        {"number": 2, "name": "BOOT2", "bytes": 4194304},
        {"number": 3, "name": "RPMB", "bytes": 524288},
        {"number": 4, "name": "USER", "bytes": 7818182656}],
    "manufacturerId": "0x15", "manufacturer": "Samsung", "card": "BGA", "product": "8GTF4R", "revision": "0x0",
    "bootPartitionEnable": "Boot partition 1", "ack": "On", "bootMode": "single,high speed", "busWidth": "x8 (sdr)"})j";

QJsonObject Json(const char* text)
{
    return QJsonDocument::fromJson(text).object();
}

}  // namespace

TEST(ChipRecord, FromReports)
{
    struct Case {
        const char* name;
        const char* report;
        QJsonObject record;
    };
    const Case cases[] = {
        {"box report", kBoxReport, Json(kBoxRecord)},
        {"serial and date when printed, an unknown maker, plain line feeds",
         "Manufacturer ID: 0x13\nCard/BGA: BGA\nSerial number: 0x1a2b3c4d\nManufacturing date: 2019-07\n",
         Json(R"j({"manufacturerId": "0x13", "manufacturer": "unknown", "card": "BGA", "serial": "0x1a2b3c4d",
                  "date": "2019-07"})j")},
        {"a boot line without its decoding is left out",
         "ACK: EXT_CSD[179] = 0x48\nBus width: EXT_CSD[177] = 0x02 ==> x8 (sdr)\n",
         Json(R"j({"busWidth": "x8 (sdr)"})j")},
        {"a partition line without its byte count is no partition", "Partition #1 (BOOT1): 4 MB\n", {}},
        {"an error is no chip", "No eMMC inside\r\nerror: device not found\r\n", {}},
        {"nothing", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kz::ChipRecordOf(QString::fromUtf8(c.report)), c.record)
            << c.name << "\n"
            << QJsonDocument(kz::ChipRecordOf(QString::fromUtf8(c.report))).toJson().constData();
    }
}
