#pragma once

#include <QList>
#include <QString>

namespace slipcraft {

class AppContext;
class Database;

// The four lists of the template manager.
enum class TemplateTab { Usable, Common, Default, Hidden };

// Which of the manager's commands a list allows.
struct TabButtons {
    bool setDefault = false;
    bool makeCommon = false;
    bool hide = false;
    bool show = false;
    bool removeCommon = false;
    bool remove = false;

    bool operator==(const TabButtons&) const = default;
};
TabButtons tabButtons(TemplateTab tab);

// One row of the manager's list.
struct ManagedTemplate {
    int id = 0;
    QString typeName;
    QString isDefault;
    QString isCommon;
    QString visible;
    QString billType;
    QString imgFile;
};

// The templates of a list, ascending by full name; billType (empty: all) keeps those
// whose full name begins with it, key (empty: all) those whose full name contains it
// without regard to case. Throws DatabaseError.
QList<ManagedTemplate> loadManagedTemplates(Database& db, TemplateTab tab, const QString& billType, const QString& key);

// What a typed template name keeps after trimming and losing every "(", ")", "（", "）",
// "'", "%", "*", "?" and space.
QString cleanTemplateName(const QString& typed);

// The name the rename question offers: the full name without its bill type and parentheses.
QString renameDefault(const ManagedTemplate& row);

// The changes of the template manager. Each writes all or nothing and tells the user
// the outcome.
class CheckTypeMngLogic {
public:
    explicit CheckTypeMngLogic(AppContext& context);

    // Makes the template the only default of its bill type, enabled and common; false
    // when nothing changed.
    bool setDefault(const ManagedTemplate* row);
    // Enables the templates and makes them common; the number changed.
    int makeCommon(const QList<ManagedTemplate>& rows);
    // The default ones are refused one by one; the others become plain templates.
    // The number changed, -1 after a failure.
    int removeFromCommon(const QList<ManagedTemplate>& rows);
    // Hides or enables the templates; false after a failure.
    bool setHidden(const QList<ManagedTemplate>& rows, bool hidden);
    // True when the template has the new name.
    bool rename(const ManagedTemplate& row, const QString& answer);
    // A copy of the template under the new name with its picture, items and options;
    // the new id, 0 when nothing was made.
    int clone(const ManagedTemplate& row, const QString& answer);
    // After the user confirms the whole selection and each template; the number deleted.
    int deleteTemplates(const QList<ManagedTemplate>& rows);

private:
    // The cleaned name when it is usable and free in the bill type; else empty, told.
    QString checkedNewName(const QString& billType, const QString& answer, const QString& existsMessage);
    QString pictureFolder() const;

    AppContext& context_;
};

} // namespace slipcraft
