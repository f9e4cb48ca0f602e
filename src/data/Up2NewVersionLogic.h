#pragma once

#include <QString>

#include <functional>

namespace slipcraft {

class Database;
class Settings;
class UserMessages;

// Replaces every rule of MatchColumn by the default rules, creating the table when it is
// missing; all or nothing. Throws DatabaseError.
void resetMatchColumn(Database& db);

// Brings a database file of an older release up to date: the tables, columns, items and
// marks the current release needs are added where they are missing; what is there stays.
// Every step runs in a transaction of its own, and a run on an upgraded file changes nothing.
class DatabaseUpgrade {
public:
    static constexpr int kMaximum = 150;
    // How far the progress advances, and the step's text (empty for none).
    using Progress = std::function<void(int advance, const QString& text)>;

    DatabaseUpgrade(Database& db, Settings& settings, UserMessages& messages, Progress progress);

    enum class Outcome {
        Upgraded,
        AlreadyCurrent, // the file says it was upgraded to this version; nothing ran
        Failed,         // failure() says why; the steps before it stay done
    };
    Outcome run(const QString& versionText);
    const QString& failure() const { return failure_; }

private:
    // Runs work in a transaction of its own.
    void step(const QString& text, const std::function<void()>& work);
    // A column that cannot be added is told to the user and the run goes on.
    void addColumnIfMissing(const QString& table, const QString& column, const QString& type,
                            const QString& size = {});
    void insertItemIfMissing(const QString& billType, const QString& label, const QString& kind, int printOrder,
                             int printFlag, const QString& controlName);
    // Templates without a bill type name take it from their full name: the text before
    // the first "（", else before the first "("; names without either stay empty.
    void fillBillTypeNames();
    void addMissingTables();
    void addMissingColumns();
    void addWaybillItems();
    void repairItemKinds();
    void markCommonTemplates();

    Database& db_;
    Settings& settings_;
    UserMessages& messages_;
    Progress progress_;
    QString failure_;
};

// Takes over the data of an older installation's database file: the current database's
// content is first copied to backupFile, then replaced by the old file's content in one
// step; the old file is only read. The old file's screen-layout cache marks are dropped,
// so that every template's cache is built afresh here. Throws DatabaseError (the current
// content stays as it was).
void takeOverDatabase(Database& db, const QString& oldFile, const QString& backupFile);

} // namespace slipcraft
