#pragma once

#include "data/Database.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

namespace slipcraft {

class AppContext;

// A package that cannot be read or written, or an entry that cannot be moved: the text
// names the file or the template and says what is wrong.
class PackageError : public std::runtime_error {
public:
    explicit PackageError(const QString& text);
    QString text() const { return text_; }

private:
    QString text_;
};

// One template as a package carries it: its row, its items, its options and
// dictionary rows, and the bytes of its form picture.
struct PackagedTemplate {
    int packageId = 0; // the id in the installation it came from
    QString typeName;
    QString billType; // empty when the package gives none
    QString describe;
    QVariant xMove, yMove;           // 0.1 mm
    QVariant height, width;          // the picture on screen, pixels
    QVariant hvPrint;                // 1 = landscape
    QVariant paperWidth, paperHeight; // 0.1 mm
    QVariant inputBgColor, inputFtColor;
    QString imgFile;
    QString checkBoxs;
    QString preImgUrl;
    QByteArray picture; // the encoded JPEG; empty when there is none
    QList<SqlParams> items; // CKControl columns by name, without ID and CheckTypeId
    QList<std::pair<QString, QString>> options; // DMName, DMValue
};

inline const QString kPackageSuffix = QStringLiteral(".bpk");

// The bill type of a full name: the text before the first full-width parenthesis, else
// before the first ASCII one; empty when there is neither.
QString billTypeOfFullName(const QString& typeName);

// A package opened for reading. It reads a private copy, so the file itself is never
// changed, whatever it turns out to be.
class TemplatePackage {
public:
    // Throws PackageError naming the file when it is not one of our packages: another
    // format, a damaged or truncated database, or a database without our tables.
    explicit TemplatePackage(const QString& path);
    ~TemplatePackage();
    TemplatePackage(const TemplatePackage&) = delete;
    TemplatePackage& operator=(const TemplatePackage&) = delete;

    // Packages of older programs carry template rows and pictures, no items or options.
    bool currentFormat() const { return currentFormat_; }
    // The full names of the packaged templates in package order.
    QStringList entryNames();
    // The first entry of that full name; throws PackageError when there is none or it
    // is damaged (a number column that holds no whole number, a picture that is not a JPEG).
    PackagedTemplate readEntry(const QString& typeName);

private:
    QString path_;
    QTemporaryDir copyFolder_;
    std::unique_ptr<Database> db_;
    bool currentFormat_ = true;
};

// The installed template of that full name, ready to be packaged. Throws PackageError
// when there is none or its items cannot be read; a picture that cannot be read is
// left out and reported through pictureProblem.
PackagedTemplate loadInstalledTemplate(AppContext& context, const QString& typeName, QString* pictureProblem);

struct ExportResult {
    QStringList exported;
    QStringList failed;
};

// Writes the installed templates of those full names into a new package at target,
// each template whole or not at all. The file appears only when the run is over and at
// least one template is in it, replacing a file of that name. Tells the user of every
// template that fails or lacks its picture. Throws PackageError when no package can be
// written there.
ExportResult exportTemplates(AppContext& context, const QStringList& typeNames, const QString& target,
                             const std::function<void(int done)>& progress = {});

enum class ImportStatus { Imported, Kept, Failed };

struct ImportOutcome {
    ImportStatus status = ImportStatus::Failed;
    int id = 0;      // the template's id in this installation
    QString problem; // why it failed
};

// Why the entry cannot be imported into this installation (no bill type, or a new
// template of a bill type without a code); empty when it can.
QString importProblem(AppContext& context, const PackagedTemplate& entry);

// Imports one packaged template in one transaction: a new id, or the id of the
// installed template of the same full name when replace agrees (else it is kept);
// offsets of the bill type's first template; the picture under Image/. Items and
// options only from a package of the current format. On failure nothing has changed.
ImportOutcome importPackagedTemplate(AppContext& context, const PackagedTemplate& entry, bool currentFormat,
                                     const std::function<bool(const QString& typeName)>& replace);

// The file name the export proposes for the selected templates (sorted).
QString proposedPackageName(const QStringList& selected);
// What the user is told at the end of a run; kept counts the installed templates the
// user chose not to replace.
QString importReport(int imported, int failed, int kept);
QString exportReport(int exported, int failed);

// Config.ini, section "ERROR", key "LASTERROR".
void recordLastError(AppContext& context, const QString& text);

} // namespace slipcraft
