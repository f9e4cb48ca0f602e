#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

namespace slipcraft {

class AppContext;
class IniFile;

// Raised by the look-ups whose callers show the failure themselves: a fixed prefix
// followed by the engine's text.
class CatalogueError : public std::runtime_error {
public:
    explicit CatalogueError(const QString& text);
    QString text() const { return text_; }

private:
    QString text_;
};

// Where an entry form puts one input control, read from a template's screen-layout cache.
struct ControlPlacement {
    int x = 30;
    int y = 25;
    int w = 45;
    int h = 18;
    bool visible = false;
    QString initialValue;

    bool operator==(const ControlPlacement&) const = default;
};

// A value that is missing or not an integer reads as its default, so an item the cache
// does not know is hidden.
ControlPlacement readControlPlacement(const IniFile& cache, const QString& controlName);

// Bill types, their items and templates, template options and the screen-layout caches.
// Holds no state: every call reads the database afresh. Unless said otherwise, a
// failing query throws DatabaseError.
class Catalogue {
public:
    explicit Catalogue(AppContext& context);

    // Every bill type, ascending.
    QStringList loadCheckTypeFirstNameList();
    // Bill type of the item row with the lowest id; empty when there are no items.
    QString loadDefaultTypeFirstName();
    // Template names of the enabled templates of the bill type, ascending. An empty
    // bill type is told to the user and gives an empty list.
    QStringList loadCheckTypeLastNameList(const QString& billType);
    // Names of the enabled common templates, the default one first. Never throws.
    QStringList loadCommonTypeLastNameList(const QString& billType);
    // Full names of the enabled templates of the bill type (of all when empty), ascending.
    QStringList loadCheckTypeFullNameList(const QString& billType);
    // The bill type's default template (the lowest id among several, hidden or not);
    // without one, after telling the user, the lowest enabled id; else, told too, -1.
    int loadDefaultCheckTypeId(const QString& billType);
    // Hidden templates included; 0 when none.
    int loadCheckTypeIDByFirstAndLastName(const QString& billType, const QString& templateName);
    // 0 when none.
    int loadCheckTypeIDByTypeFullName(const QString& fullName);
    // Empty when there is no such template.
    QString loadCheckTypeFullNameByID(int id);
    // Derived from the full name when the bill type column is empty; empty when there
    // is no such template or the query fails. Adds a missing bill type column.
    QString loadCheckTypeFirstNameByID(int id);
    QString loadCheckTypeLastNameByID(int id);

    // These three throw CatalogueError.
    bool CheckTypeExists(const QString& billType, const QString& templateName);
    // One above the largest template id; 1 when there is none.
    int loadMaxNewCheckTypeId();
    // Offsets of the bill type's first template ordered by common, then default mark
    // (empty marks first); false when the bill type has no template.
    bool loadUserXYMoveByFirstName(const QString& billType, int& x, int& y);

    // Short code of a bill type; empty for names outside the fixed table.
    static QString getTypeCodeByTypeName(const QString& billType);

    // Distinct values of a column, ascending, restricted to one 票据状态 unless status
    // is empty. Table and column must be plain names (letters, digits, underscore);
    // anything else throws std::invalid_argument before a statement is made.
    QStringList loadCheckNOList(const QString& table, const QString& status, const QString& column);

    // Item control names of a bill type, as stored, in item order.
    QStringList loadItemControlNames(const QString& billType);

    // The file of the template's screen-layout cache, whether it exists or not.
    QString checkIniPath(int id) const;
    // The cache, built first when the template's IniFile is empty; null when it cannot
    // be opened.
    std::unique_ptr<IniFile> OpenCheckInif(int id);
    // Rewrites the cache's own sections from the database and records the file name
    // on the template. Never throws; a failure leaves IniFile as it was.
    void buildCheckIniFile(int id);
    // Empty when the option or the cache is missing.
    static QString getInifCheckConfigByName(const IniFile* cache, const QString& name);
    // Updates the template's option of that name (any case) or adds it; false after
    // telling the user. The cache follows only after buildCheckIniFile.
    bool setCheckConfigByName(int id, const QString& name, const QString& value);
    // Read straight from the database; empty when none or on any failure.
    QString getDMValueByName(const QString& name, int id);

private:
    bool repairBillTypeColumn();

    AppContext& context_;
};

} // namespace slipcraft
