#pragma once

#include "data/Database.h"
#include "dictionaries/Dictionaries.h"
#include "parties/DAOPerson.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QSqlQueryModel;

namespace slipcraft {

class AppContext;

// News about the address book that outlives any one manager window.
class PartyEvents : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // Another unit became the default drawer. Whoever keeps the default drawer loads it
    // again (TPerson::findDefaultDrawer) and has the open bill forms filled in afresh.
    void defaultDrawerChanged();
};

// The one PartyEvents of the context, created on first use and owned by the context.
PartyEvents& partyEvents(AppContext& context);

namespace personlist {

inline const QString kAllGroups = QStringLiteral("全部分组");
inline const QString kByRegion = QStringLiteral("[按地区分组]");
inline const QString kByOtherGroup = QStringLiteral("[按其他分组]");
inline const QString kContains = QStringLiteral("包含");
inline const QString kEquals = QStringLiteral("等于");
inline const QString kAscending = QStringLiteral("ASC");
inline const QString kDescending = QStringLiteral("DESC");

// The text columns a user may search one by one, in table order.
QStringList searchableColumns();
// Whether a column name is one of the table's own; only those reach a statement.
bool isTableColumn(const QString& column);

// The manager's filters and its sort order.
struct Filter {
    QString keyword;
    QString unitType;
    // Empty or "全部分组": no group condition.
    QString group;
    bool advanced = false;
    QString advancedColumn;
    QString advancedKey;
    QString advancedMode = kContains;
    QString sortColumn = QStringLiteral("全称");
    QString sortDirection = kDescending;
};

// A list statement ready to run, or the reason it cannot be.
struct Query {
    enum Outcome {
        List,
        Refused, // nothing runs; tell the user refusal
    };
    enum Focus { NoFocus, ColumnBox, KeyBox };

    Outcome outcome = List;
    QString refusal;
    Focus focus = NoFocus;
    // Unlike a filtered list, "show all" also resets the window's filters and tree.
    bool showAll = false;
    // " where …" (or empty) and " order by …", the values bound.
    QString condition;
    QString order;
    SqlParams params;

    QString statement() const;
    QString countStatement() const;
};

// The list the filters ask for. Normalises the filter as the window shows it afterwards:
// an empty group becomes "全部分组" and a keyword search empties the unit type.
Query build(Filter& filter);
// Every unit in the sort order; a blank sort column or direction falls back to
// "排序,全称" "DESC".
Query showAll(const Filter& filter);

// The direction a click on a column title switches to.
QString nextSortDirection(const QString& current);

// What a click on the node at path (texts from the top node down) does: the filters
// are set, and unless the node is a branch the list is queried with tabLine shown.
struct NodeChoice {
    bool query = false;
    QString tabLine;
};
NodeChoice chooseNode(Filter& filter, const QStringList& path);

// Runs the statement into the model, which fetches rows as the view needs them; returns
// the number of rows the whole list holds. Throws DatabaseError.
int load(Database& db, QSqlQueryModel& model, const Query& query);

} // namespace personlist

// The question before "删除所有" with this unit-type filter.
QString deleteAllQuestion(const QString& unitType);
// Deletes every unit of the trimmed type, every unit when it is blank; returns the count.
// Throws DatabaseError.
int deleteAllPersons(Database& db, const QString& unitType);

// Makes the unit the only default drawer, as an own unit, all or nothing. Throws DatabaseError.
void setDefaultDrawer(Database& db, int id);

// Saves what the editor holds; the message depends on whether the unit was stored
// before. On success the record carries its ID.
EditorReply savePersonRecord(Database& db, TPerson& person, bool wasStored);

// What the editor shows when a bill offers one of its parties to the address book: the
// unit it most likely is (ID above 0) or an empty one (ID -1), with every non-empty field
// of the party laid over it except identity, mnemonic code, group and remark, and the
// party's unit type ("往来单位" stays, anything else becomes "我方单位").
TPerson addressBookEntry(Database& db, const TPerson& party);

} // namespace slipcraft
