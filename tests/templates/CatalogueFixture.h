#pragma once

#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "shell/AppContext.h"
#include "templates/Catalogue.h"

#include <gtest/gtest.h>

#include <QVariant>

// A freshly seeded database, which holds no templates or items; each test adds the few it needs.
class CatalogueTest : public ::testing::Test {
protected:
    struct Template {
        int id;
        QString billType;
        QString name;
        QString isDefault = QStringLiteral("0");
        QString isCommon = QStringLiteral("否");
        QString visible = QStringLiteral("启用");
        // Bill type + "（" + name + "）" when left null.
        QString fullName;
        int xMove = 0;
        int yMove = 0;
    };

    struct Layout {
        QString control;
        QVariant x, y, w, h, show, initialValue;
    };

    void SetUp() override { home.createDatabase(); }

    slipcraft::Database& db() { return context.db(); }

    void addTemplate(const Template& t)
    {
        const QString fullName =
            t.fullName.isNull() ? t.billType + QStringLiteral("（") + t.name + QStringLiteral("）") : t.fullName;
        db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, TypeFirstName, TypeDescribe,"
                                    " IsDefault, IsCommon, Visiable, XMove, YMove)"
                                    " values (:id, :full, :type, :name, :def, :common, :visible, :x, :y)"),
                     {{QStringLiteral("id"), t.id},
                      {QStringLiteral("full"), fullName},
                      {QStringLiteral("type"), t.billType},
                      {QStringLiteral("name"), t.name},
                      {QStringLiteral("def"), t.isDefault},
                      {QStringLiteral("common"), t.isCommon},
                      {QStringLiteral("visible"), t.visible},
                      {QStringLiteral("x"), t.xMove},
                      {QStringLiteral("y"), t.yMove}});
    }

    void addItem(const QString& billType, const QString& control)
    {
        db().execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName) values (:type, :name)"),
                     {{QStringLiteral("type"), billType}, {QStringLiteral("name"), control}});
    }

    void addLayout(int id, const Layout& l)
    {
        db().execute(QStringLiteral("insert into CKControl (CheckTypeId, CtlName, SrcX, SrcY, SrcW, SrcH, NeedShow,"
                                    " InitValue) values (:id, :name, :x, :y, :w, :h, :show, :init)"),
                     {{QStringLiteral("id"), id},
                      {QStringLiteral("name"), l.control},
                      {QStringLiteral("x"), l.x},
                      {QStringLiteral("y"), l.y},
                      {QStringLiteral("w"), l.w},
                      {QStringLiteral("h"), l.h},
                      {QStringLiteral("show"), l.show},
                      {QStringLiteral("init"), l.initialValue}});
    }

    void addOption(int id, const QString& name, const QString& value)
    {
        db().execute(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (:id, :name, :value)"),
                     {{QStringLiteral("id"), id}, {QStringLiteral("name"), name}, {QStringLiteral("value"), value}});
    }

    QStringList shownTexts() const { return messages.texts(); }

    TempHome home;
    RecordingMessages messages;
    slipcraft::AppContext context{home.runPath(), messages};
    slipcraft::Catalogue catalogue{context};
};
