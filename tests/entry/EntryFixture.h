#pragma once

#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "platform/IniFile.h"
#include "platform/printing/PrintService.h"
#include "platform/printing/RecordingPrinter.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include <ostream>

namespace slipcraft {

inline void PrintTo(const PrintEvent& e, std::ostream* os)
{
    *os << "{kind " << int(e.kind) << ", text \"" << e.text.toStdString() << "\", font "
        << e.font.family.toStdString() << ' ' << e.font.pointSize << ", at (" << e.position.x() << ", "
        << e.position.y() << ")}";
}

} // namespace slipcraft

// Any printer behind a service of printer names; the setup dialog answers as told.
class OnePrinterService final : public slipcraft::PrintService {
public:
    explicit OnePrinterService(slipcraft::Printer& printer)
        : printer_(printer)
    {
    }

    QStringList printerNames() const override { return names; }
    QString currentPrinter() const override { return names.value(0); }
    bool selectPrinter(const QString& name) override { return names.contains(name); }
    SetupResult showSetupDialog(QWidget*) override
    {
        ++dialogs;
        return answer;
    }
    slipcraft::Printer& printer() override { return printer_; }

    QStringList names{QStringLiteral("Bills")};
    SetupResult answer = SetupResult::Confirmed;
    int dialogs = 0;

private:
    slipcraft::Printer& printer_;
};

// One item's layout on a template, in 0.1 mm; the columns a test does not set stay
// as a designer leaves them.
struct Layout {
    QString name;
    int x = 0;
    int y = 0;
    int size = 9;
    QString fontName = QStringLiteral("宋体");
    QString color;
    QString breakNum;
    int breakFontSize = 9;
    int lineHeight = 0;
    QString fitParam;
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int needPrint = 1;
    QString type;
    QString caption;
};

// A fresh run path with a seeded database, the messages the logic shows, and helpers
// that write template rows the way the template designer stores them.
class EntryFixture : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(productData()); }
    // The cheque's own tests start with its product data.
    virtual slipcraft::ProductData productData() const { return slipcraft::ProductData::Omit; }

    slipcraft::Database& db() { return context.db(); }

    void addTemplate(int id, const QString& billType, int xMove = 0, int yMove = 0, const QVariant& hvPrint = 0,
                     const QVariant& paperWidth = QVariant(), const QVariant& paperHeight = QVariant())
    {
        db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, TypeFirstName, XMove, YMove, "
                                    "HVPrint, PWidth, PHeight) values (:id, :name, :type, :x, :y, :hv, :pw, :ph)"),
                     {{QStringLiteral("id"), id},
                      {QStringLiteral("name"), billType + QStringLiteral("（测试）")},
                      {QStringLiteral("type"), billType},
                      {QStringLiteral("x"), xMove},
                      {QStringLiteral("y"), yMove},
                      {QStringLiteral("hv"), hvPrint},
                      {QStringLiteral("pw"), paperWidth},
                      {QStringLiteral("ph"), paperHeight}});
    }

    void addItem(const QString& billType, const QString& name, const QString& type, int showOrd, int printItem = 1,
                 const QString& label = {}, const QString& data = {})
    {
        db().execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, CtlType, PrintItem, "
                                    "ShowOrd, CtlData) values (:bill, :name, :label, :type, :print, :ord, :data)"),
                     {{QStringLiteral("bill"), billType},
                      {QStringLiteral("name"), name.toUpper()},
                      {QStringLiteral("label"), label},
                      {QStringLiteral("type"), type},
                      {QStringLiteral("print"), printItem},
                      {QStringLiteral("ord"), showOrd},
                      {QStringLiteral("data"), data}});
    }

    void addLayout(int templateId, const Layout& l)
    {
        db().execute(
            QStringLiteral("insert into CKControl (CheckTypeId, CtlName, CtlCName, CtlType, CtlX, CtlY, CtlLH, NeedPrint, "
                           "NeedShow, CtlFontName, CtlFontSize, CtlFontColor, Bold, Italic, UnderLine, BreakNum, "
                           "BreakFontSize, FitParam, ShowOrd) values (:id, :name, :caption, :type, :x, :y, :lh, :np, :np, "
                           ":font, :size, :color, :bold, :italic, :underline, :bn, :bfs, :fit, 0)"),
            {{QStringLiteral("id"), templateId},
             {QStringLiteral("name"), l.name.toUpper()},
             {QStringLiteral("caption"), l.caption},
             {QStringLiteral("type"), l.type},
             {QStringLiteral("x"), l.x},
             {QStringLiteral("y"), l.y},
             {QStringLiteral("lh"), l.lineHeight},
             {QStringLiteral("np"), l.needPrint},
             {QStringLiteral("font"), l.fontName},
             {QStringLiteral("size"), l.size},
             {QStringLiteral("color"), l.color},
             {QStringLiteral("bold"), l.bold},
             {QStringLiteral("italic"), l.italic},
             {QStringLiteral("underline"), l.underline},
             {QStringLiteral("bn"), l.breakNum},
             {QStringLiteral("bfs"), l.breakFontSize},
             {QStringLiteral("fit"), l.fitParam}});
    }

    QString debugEntry(const QString& key) const
    {
        return slipcraft::IniFile(home.path(QStringLiteral("Debug.ini"))).readString(QStringLiteral("debug"), key);
    }

    TempHome home;
    RecordingMessages messages;
    slipcraft::AppContext context{home.runPath(), messages};
};
