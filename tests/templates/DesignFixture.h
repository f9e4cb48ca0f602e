#pragma once

#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QVariant>

// One cheque template (id 1, paper 200 × 100 mm, picture 800 × 400 pixels) with items
// in its dictionary and layout rows as a test adds them.
class DesignFixture : public ::testing::Test {
protected:
    static constexpr int kTemplate = 1;

    struct Item {
        QString name;
        QString label;
        QString type = QStringLiteral("TEXT");
        int printItem = 1;
        int showOrd = 0;
        QString groups;
        QString sample;
    };
    struct Row {
        QString name;
        int x = 0, y = 0, w = 0, h = 0;
        int srcX = 10, srcY = 10, srcW = 100, srcH = 20;
        int needPrint = 1;
        QString initValue;
        QString breakNum;
        int breakFontSize = 0;
        int lineHeight = 0;
        QString fitParam;
        int fontSize = 9;
    };

    void SetUp() override
    {
        home.createDatabase();
        db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, TypeFirstName, TypeDescribe, Visiable, "
                                    "PWidth, PHeight, TWidth, THeight, ImgFile) values (1, '支票（测试）', '支票', '测试', "
                                    "'启用', 2000, 1000, 800, 400, '')"));
    }

    slipcraft::Database& db() { return context.db(); }

    void addItem(const Item& item)
    {
        db().execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, CtlType, PrintItem, ShowOrd, "
                                    "Groups, CtlData) values ('支票', :n, :l, :t, :p, :o, :g, :d)"),
                     {{QStringLiteral("n"), item.name},
                      {QStringLiteral("l"), item.label},
                      {QStringLiteral("t"), item.type},
                      {QStringLiteral("p"), item.printItem},
                      {QStringLiteral("o"), item.showOrd},
                      {QStringLiteral("g"), item.groups},
                      {QStringLiteral("d"), item.sample}});
    }

    void addRow(const Row& row)
    {
        db().execute(QStringLiteral("insert into CKControl (CheckTypeId, CtlName, CtlX, CtlY, CtlW, CtlH, SrcX, SrcY, SrcW, "
                                    "SrcH, NeedPrint, NeedShow, InitValue, BreakNum, BreakFontSize, CtlLH, FitParam, "
                                    "CtlFontSize, CtlFontName) values (1, :n, :x, :y, :w, :h, :sx, :sy, :sw, :sh, :np, :np, "
                                    ":iv, :bn, :bf, :lh, :fp, :fs, '宋体')"),
                     {{QStringLiteral("n"), row.name},
                      {QStringLiteral("x"), row.x},
                      {QStringLiteral("y"), row.y},
                      {QStringLiteral("w"), row.w},
                      {QStringLiteral("h"), row.h},
                      {QStringLiteral("sx"), row.srcX},
                      {QStringLiteral("sy"), row.srcY},
                      {QStringLiteral("sw"), row.srcW},
                      {QStringLiteral("sh"), row.srcH},
                      {QStringLiteral("np"), row.needPrint},
                      {QStringLiteral("iv"), row.initValue},
                      {QStringLiteral("bn"), row.breakNum},
                      {QStringLiteral("bf"), row.breakFontSize},
                      {QStringLiteral("lh"), row.lineHeight},
                      {QStringLiteral("fp"), row.fitParam},
                      {QStringLiteral("fs"), row.fontSize}});
    }

    // A column of the item's layout row as text; "missing" without a row.
    QString stored(const QString& item, const QString& column)
    {
        slipcraft::SqlQuery row = db().query(QStringLiteral("select %1 from CKControl where CheckTypeId=1 and CtlName=:n").arg(column),
                                             {{QStringLiteral("n"), item}});
        return row.next() ? row.value(0).toString() : QStringLiteral("missing");
    }

    TempHome home;
    RecordingMessages messages;
    slipcraft::AppContext context{home.runPath(), messages};
};
