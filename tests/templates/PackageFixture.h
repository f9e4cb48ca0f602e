#pragma once

#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "shell/AppContext.h"
#include "templates/FormPicture.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlRecord>
#include <QVariantMap>

// One installation: its run path, database, recorded messages and context.
struct Home {
    explicit Home(slipcraft::ProductData data = slipcraft::ProductData::Include)
    {
        home.createDatabase(data);
        // The shipped templates' pictures, as the first start draws them.
        slipcraft::drawMissingFormPictures(context.db(), home.runPath());
    }

    slipcraft::Database& db() { return context.db(); }

    // Every row of a statement, each as column → value.
    QList<QVariantMap> rows(const QString& sql, const slipcraft::SqlParams& params = {}, const QStringList& leaveOut = {})
    {
        QList<QVariantMap> all;
        slipcraft::SqlQuery query = db().query(sql, params);
        while (query.next()) {
            const QSqlRecord record = query.record();
            QVariantMap row;
            for (int i = 0; i < record.count(); ++i)
                if (!leaveOut.contains(record.fieldName(i), Qt::CaseInsensitive))
                    row.insert(record.fieldName(i), record.value(i));
            all << row;
        }
        return all;
    }

    QVariantMap templateRow(int id, const QStringList& leaveOut = {})
    {
        return rows(QStringLiteral("select * from ckTypeTable where CheckTypeId = :id"), {{QStringLiteral("id"), id}}, leaveOut)
            .value(0);
    }
    QList<QVariantMap> items(int id)
    {
        return rows(QStringLiteral("select * from CKControl where CheckTypeId = :id order by ID"), {{QStringLiteral("id"), id}},
                    {QStringLiteral("ID"), QStringLiteral("CheckTypeId")});
    }
    QList<QVariantMap> options(int id)
    {
        return rows(QStringLiteral("select DMName, DMValue from DMTable where CheckTypeId = :id order by ID"),
                    {{QStringLiteral("id"), id}});
    }
    QByteArray picture(int id)
    {
        QFile file(home.path(QStringLiteral("Image/")
                             + db().scalar(QStringLiteral("select ImgFile from ckTypeTable where CheckTypeId = :id"),
                                           {{QStringLiteral("id"), id}})
                                   .toString()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Everything a template is made of, for comparing before and after.
    struct Snapshot {
        QVariantMap row;
        QList<QVariantMap> items;
        QList<QVariantMap> options;
        QByteArray picture;
        int templates;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot(int id)
    {
        return {templateRow(id), items(id), options(id), picture(id),
                db().scalar(QStringLiteral("select count(*) from ckTypeTable")).toInt()};
    }

    TempHome home;
    RecordingMessages messages;
    slipcraft::AppContext context{home.runPath(), messages};
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The shipped cheque template.
inline constexpr int kChequeId = 100;
inline const QString kCheque = QStringLiteral("支票（转账支票）");
