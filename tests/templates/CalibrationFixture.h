#pragma once

#include "FakePrintService.h"
#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QVariant>

// A seeded database without templates, the messages the logic shows, and a printer list.
class CalibrationTest : public ::testing::Test {
protected:
    struct Template {
        int id;
        QString name;
        QString visible = QStringLiteral("启用");
        int xMove = 0;
        int yMove = 0;
        QVariant orientation = 0;
        QVariant paperWidth = 2000;
        QVariant paperHeight = 1000;
        QVariant pictureWidth = 800;
        QVariant pictureHeight = 400;
    };

    void SetUp() override
    {
        home.createDatabase();
        db().execute(QStringLiteral("delete from ckTypeTable"));
        context.setPrintService(&printers);
    }

    slipcraft::Database& db() { return context.db(); }

    void addTemplate(const Template& t)
    {
        db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, Visiable, XMove, YMove, HVPrint,"
                                    " PWidth, PHeight, TWidth, THeight)"
                                    " values (:id, :name, :visible, :x, :y, :hv, :pw, :ph, :tw, :th)"),
                     {{QStringLiteral("id"), t.id},
                      {QStringLiteral("name"), t.name},
                      {QStringLiteral("visible"), t.visible},
                      {QStringLiteral("x"), t.xMove},
                      {QStringLiteral("y"), t.yMove},
                      {QStringLiteral("hv"), t.orientation},
                      {QStringLiteral("pw"), t.paperWidth},
                      {QStringLiteral("ph"), t.paperHeight},
                      {QStringLiteral("tw"), t.pictureWidth},
                      {QStringLiteral("th"), t.pictureHeight}});
    }

    // XMove, YMove and HVPrint of a template, as text: "x,y,hv".
    QString stored(int id)
    {
        slipcraft::SqlQuery row = db().query(
            QStringLiteral("select XMove, YMove, HVPrint from ckTypeTable where CheckTypeId=:id"), {{QStringLiteral("id"), id}});
        if (!row.next())
            return QStringLiteral("missing");
        return row.value(0).toString() + QLatin1Char(',') + row.value(1).toString() + QLatin1Char(',')
            + row.value(2).toString();
    }

    QStringList shownTexts() const { return messages.texts(); }

    TempHome home;
    RecordingMessages messages;
    FakePrintService printers{{QStringLiteral("Office"), QStringLiteral("Epson LQ-630K"), QStringLiteral("PDF文件")}};
    slipcraft::AppContext context{home.runPath(), messages};
};
