#pragma once

#include "data/Database.h"

#include <QString>
#include <QTemporaryDir>

// A fresh run path for one test, removed afterwards. Nothing in it until asked.
class TempHome {
public:
    TempHome();
    // With a trailing "/".
    QString runPath() const;
    QString path(const QString& relative) const;
    QString databasePath() const;
    // Creates Data/EPData.ini with the schema and seed data, by default without the
    // product data of the bill types; fails the test on error.
    void createDatabase(slipcraft::ProductData productData = slipcraft::ProductData::Omit) const;

private:
    QTemporaryDir dir_;
};

// A path that can never be written, even by root: it lies below a plain file in dir.
QString unwritablePath(const QTemporaryDir& dir, const QString& below);
