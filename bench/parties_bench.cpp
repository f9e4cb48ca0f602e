// Fills an address book with 50,000 units and times what the counterparty manager does
// with it: the first list, searches, a filter, and fetching the list to its last row.

#include "data/Database.h"
#include "parties/PersonManageLogic.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQueryModel>
#include <QTemporaryDir>

#include <cstdio>

using namespace slipcraft;

namespace {

constexpr int kUnits = 50000;

double elapsedMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void fill(Database& db)
{
    const QStringList provinces = {QStringLiteral("广东省"), QStringLiteral("浙江省"), QStringLiteral("江苏省"),
                                   QStringLiteral("四川省"), QStringLiteral("北京市")};
    db.inTransaction([&] {
        for (int i = 0; i < kUnits; ++i) {
            db.execute(QStringLiteral("insert into CKPersonalInfoTable (全称, 助记码, 联系人, 电话, 手机, 开户行账号, 省, 地址, "
                                      "分组, 单位类型, 排序) values (:name, :code, :contact, :phone, :mobile, :account, "
                                      ":province, :address, :group, :type, 0)"),
                       {{QStringLiteral("name"), QStringLiteral("测试单位%1有限公司").arg(i)},
                        {QStringLiteral("code"), QStringLiteral("cs%1").arg(i)},
                        {QStringLiteral("contact"), QStringLiteral("联系人%1").arg(i % 997)},
                        {QStringLiteral("phone"), QStringLiteral("0755-%1").arg(20000000 + i)},
                        {QStringLiteral("mobile"), QStringLiteral("138%1").arg(10000000 + i * 7)},
                        {QStringLiteral("account"), QStringLiteral("6222%1").arg(qint64(1000000000) + i)},
                        {QStringLiteral("province"), provinces[i % provinces.size()]},
                        {QStringLiteral("address"), QStringLiteral("科技园%1栋").arg(i % 300)},
                        {QStringLiteral("group"), QStringLiteral("分组%1").arg(i % 20)},
                        {QStringLiteral("type"), i % 3 == 0 ? TPerson::kOwnUnit : TPerson::kCounterpartUnit}});
        }
    });
}

// One list as the window runs it: the count and the first batch of rows.
void timeList(Database& db, const char* what, const personlist::Query& query)
{
    QSqlQueryModel model;
    QElapsedTimer timer;
    timer.start();
    const int rows = personlist::load(db, model, query);
    const double loaded = elapsedMs(timer);
    std::printf("%s %.1f ms (%d rows listed, %d fetched)\n", what, loaded, rows, int(model.rowCount()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("EPData.ini"));
    const QString problem = prepareDatabaseFile(path);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    Database db(path, QStringLiteral("parties-bench"));

    QElapsedTimer timer;
    timer.start();
    fill(db);
    std::printf("insert %d units: %.1f ms\n", kUnits, elapsedMs(timer));

    personlist::Filter filter;
    timeList(db, "first list (全称 DESC):", personlist::build(filter));
    filter.sortColumn.clear();
    timeList(db, "show all (排序,全称 DESC):", personlist::showAll(filter));

    filter = {};
    filter.keyword = QStringLiteral("49999");
    timeList(db, "keyword search, one unit:", personlist::build(filter));
    filter = {};
    filter.keyword = QStringLiteral("广东");
    timeList(db, "keyword search, a fifth:", personlist::build(filter));
    filter = {};
    filter.unitType = TPerson::kOwnUnit;
    timeList(db, "unit type filter, a third:", personlist::build(filter));
    filter = {};
    filter.advanced = true;
    filter.advancedColumn = QStringLiteral("助记码");
    filter.advancedMode = personlist::kEquals;
    filter.advancedKey = QStringLiteral("cs25000");
    timeList(db, "advanced, code equals:", personlist::build(filter));

    // ">|": the whole list fetched, then a row near the end read.
    QSqlQueryModel model;
    filter = {};
    timer.restart();
    personlist::load(db, model, personlist::build(filter));
    while (model.canFetchMore())
        model.fetchMore();
    const QString last = model.index(model.rowCount() - 1, 1).data().toString();
    std::printf("fetch to the last row: %.1f ms (%d rows, last %s)\n", elapsedMs(timer),
                int(model.rowCount()), qPrintable(last));
    return 0;
}
