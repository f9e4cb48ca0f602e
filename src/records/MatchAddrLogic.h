#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace slipcraft {

class Database;

// The clipboard text the address window recognises: empty or under 20 bytes, and over
// 2048 bytes, it says so instead.
QString addressInputFromClipboard(const QString& clipboard);

// The address box with or without the region in front: with "含省市" the province, city
// and town it lacks are put before it, in that order; without, each is removed from it
// (with the commas it leaves at its start).
QString completeAddress(const QString& address, const QString& province, const QString& city, const QString& town,
                        bool withRegion);

// The user's character pairs (DMTable2 rows of type "其他字符"), in the order stored.
QList<std::pair<QString, QString>> loadCharacterPairs(Database& db);

// The lists the window offers for its remark box, 200 values at most each.
enum class RemarkList { Dictionary, HistoryGoods, HistoryRemarks };
QStringList loadRemarkList(Database& db, RemarkList list);

// Stores a remark as a shared dictionary value "附注内容". Throws DatabaseError.
enum class RemarkSaved { Empty, Exists, Added };
RemarkSaved saveRemark(Database& db, const QString& remark);

} // namespace slipcraft
