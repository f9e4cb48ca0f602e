#include "WindowProbe.h"
#include "CalibrationFixture.h"

#include "platform/IniFile.h"
#include "templates/LockPrinter.h"
#include "templates/PrintOffset.h"
#include "templates/PrinterParam.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace slipcraft;

namespace {

class OffsetWindowTest : public CalibrationTest {
protected:
    void SetUp() override
    {
        CalibrationTest::SetUp();
        addTemplate({5, QStringLiteral("支票（工行）"), QStringLiteral("启用"), -25, 40, 0});
        addTemplate({6, QStringLiteral("进账单（建行）"), QStringLiteral("启用"), 100, -200, 1, 2400, 1100, 900, 500});
        addTemplate({7, QStringLiteral("支票（隐藏）"), QStringLiteral("停用隐藏"), 1, 2, 0});
    }
};

} // namespace

TEST_F(OffsetWindowTest, OpensOnTheTemplateOrSaysItIsNotListed)
{
    struct Case {
        int openedWith;
        QString message;
        QString caption;
        int xMove;
        bool landscape;
    };
    const Case cases[] = {
        {6, QString(), QStringLiteral("进账单（建行）-6"), 100, true},
        {7, QStringLiteral("没有找到编号为7的票据，请查看是否存在或被隐藏。"), QStringLiteral("支票（工行）-5"), -25, false},
        {0, QString(), QStringLiteral("支票（工行）-5"), -25, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.openedWith);
        messages.messages.clear();
        TfrmPrintOffset window(context, c.openedWith);
        EXPECT_EQ(shownTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(window.windowTitle(), c.caption);
        EXPECT_EQ(child<QLabel>(window, "lbCurrent")->text(), QStringLiteral("当前调整：") + c.caption.section(QLatin1Char('-'), 0, 0));
        EXPECT_EQ(child<QSpinBox>(window, "edtXMove")->value(), c.xMove);
        EXPECT_EQ(child<QRadioButton>(window, "rbLandscape")->isChecked(), c.landscape);
        EXPECT_EQ(child<QListWidget>(window, "lstTemplates")->count(), 2);
    }
}

TEST_F(OffsetWindowTest, ShowsOffsetsAndPaperInCentimetres)
{
    TfrmPrintOffset window(context, 5);
    EXPECT_EQ(child<QLabel>(window, "lbXMoveCm")->text(), QStringLiteral("=0.25厘米"));
    EXPECT_EQ(child<QLabel>(window, "lbYMoveCm")->text(), QStringLiteral("=0.4厘米"));
    EXPECT_EQ(child<QLabel>(window, "lbPWidthCm")->text(), QStringLiteral("=20厘米"));
    child<QListWidget>(window, "lstTemplates")->setCurrentRow(1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("进账单（建行）-6"));
    EXPECT_EQ(child<QLabel>(window, "lbYMoveCm")->text(), QStringLiteral("=2厘米"));
    EXPECT_EQ(child<QLabel>(window, "lbPHeightCm")->text(), QStringLiteral("=11厘米"));
}

TEST_F(OffsetWindowTest, EachNudgeIsStoredAtOnce)
{
    struct Case {
        const char* button;
        QString stored;
    };
    // From -25, 40 on template 5.
    const Case cases[] = {
        {"btDown", QStringLiteral("-25,50,0")},
        {"btUp", QStringLiteral("-25,30,0")},
        {"btRight", QStringLiteral("-15,40,0")},
        {"btLeft", QStringLiteral("-35,40,0")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        db().execute(QStringLiteral("update ckTypeTable set XMove=-25, YMove=40 where CheckTypeId=5"));
        TfrmPrintOffset window(context, 5);
        click(window, c.button);
        EXPECT_EQ(stored(5), c.stored);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("票据整体属性修改成功！"));
        EXPECT_EQ(stored(6), QStringLiteral("100,-200,1"));
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(OffsetWindowTest, LeavingAnOffsetFieldStoresIt)
{
    TfrmPrintOffset window(context, 5);
    auto* field = child<QSpinBox>(window, "edtYMove");
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("-75"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(stored(5), QStringLiteral("-25,-75,0"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("票据整体属性修改成功！"));
}

TEST_F(OffsetWindowTest, TheSaveButtonReportsInABox)
{
    TfrmPrintOffset window(context, 5);
    child<QSpinBox>(window, "edtPWidth")->setValue(2450);
    child<QRadioButton>(window, "rbLandscape")->setChecked(true);
    click(window, "btSave");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("票据整体属性修改成功！"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("当前调整：支票（工行）"));
    EXPECT_EQ(stored(5), QStringLiteral("-25,40,1"));
    EXPECT_EQ(db().scalar(QStringLiteral("select PWidth from ckTypeTable where CheckTypeId=5")).toInt(), 2450);

    // Gone meanwhile: nothing changed, and that is what the user hears.
    db().execute(QStringLiteral("delete from ckTypeTable where CheckTypeId=5"));
    click(window, "btSave");
    EXPECT_EQ(messages.messages.last().text, QStringLiteral("票据整体属性没有变动！"));
}

TEST_F(OffsetWindowTest, AFailedSaveIsToldAndClosesTheWindow)
{
    for (const char* action : {"btSave", "btDown"}) {
        SCOPED_TRACE(action);
        messages.messages.clear();
        TfrmPrintOffset window(context, 5);
        window.show();
        db().execute(QStringLiteral("alter table ckTypeTable rename to Moved"));
        click(window, action);
        EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("票据整体属性量修改出错！")});
        EXPECT_NE(window.windowTitle(), QStringLiteral("票据整体属性修改成功！"));
        EXPECT_FALSE(window.isVisible());
        db().execute(QStringLiteral("alter table Moved rename to ckTypeTable"));
    }
    EXPECT_EQ(stored(5), QStringLiteral("-25,40,0"));
}

TEST_F(CalibrationTest, WithoutATemplateNothingIsNudgedOrSaved)
{
    TfrmPrintOffset window(context, 0);
    click(window, "btDown");
    click(window, "btSave");
    EXPECT_EQ(shownTexts(), (QStringList{QStringLiteral("请在左侧选择要设置的快递单据！"), QStringLiteral("请选择要设置的票据类型！")}));
    EXPECT_EQ(child<QSpinBox>(window, "edtYMove")->value(), 0);
}

TEST_F(CalibrationTest, TheLockWindowPreselectsOnlyTheExactStoredName)
{
    struct Case {
        QString stored;
        int index;
    };
    const Case cases[] = {{QStringLiteral("Epson LQ-630K"), 1}, {QStringLiteral("epson lq-630k"), -1}, {QString(), -1}};
    for (const Case& c : cases) {
        context.settings().setConfigByname(QStringLiteral("DefaultPrinter"), c.stored);
        TfmLockPrinter window(context);
        EXPECT_EQ(child<QComboBox>(window, "cbPrinters")->currentIndex(), c.index) << c.stored.toStdString();
        EXPECT_EQ(child<QPushButton>(window, "btLock")->isEnabled(), c.index >= 0);
    }
    EXPECT_TRUE(messages.messages.isEmpty());

    TfmLockPrinter window(context);
    child<QComboBox>(window, "cbPrinters")->setCurrentIndex(2);
    click(window, "btLock");
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("默认票据打印机设置成功！")});
    EXPECT_EQ(context.settings().getConfigByname(QStringLiteral("DefaultPrinter")), QStringLiteral("PDF文件"));
    EXPECT_EQ(printers.currentPrinter(), QStringLiteral("PDF文件"));
}

TEST_F(CalibrationTest, TheLockWindowSaysWhenThereIsNoPrinter)
{
    printers.names.clear();
    TfmLockPrinter window(context);
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！")});
    EXPECT_FALSE(child<QPushButton>(window, "btAdapt")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(window, "btLock")->isEnabled());
}

TEST_F(CalibrationTest, PickingAPresetFillsTheChoiceForTheChosenPrinter)
{
    IniFile& ini = context.userIniFile();
    ini.writeString(QStringLiteral("PrinterWeKnow"), QStringLiteral("printers"), QStringLiteral("OKI 5860SP,Epson LQ-630K"));
    ini.writeString(QStringLiteral("PrinterWeKnow"), QStringLiteral("default.OKI 5860SP.x"), QStringLiteral("12"));
    ini.writeString(QStringLiteral("PrinterWeKnow"), QStringLiteral("default.Epson LQ-630K.x"), QStringLiteral("-25"));
    ini.writeString(QStringLiteral("PrinterWeKnow"), QStringLiteral("default.Epson LQ-630K.y"), QStringLiteral("40"));
    ini.writeString(QStringLiteral("PrinterWeKnow"), QStringLiteral("default.Epson LQ-630K.d"), QStringLiteral("横向"));
    ini.writeString(QStringLiteral("PrinterWeKnow"), QStringLiteral("default.Epson LQ-630K.board"), QStringLiteral("靠左"));
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("printers"), QStringLiteral("我的打印机"));
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("我的打印机.y"), QStringLiteral("-15"));
    ini.writeString(QStringLiteral("printeruse"), QStringLiteral("我的打印机.d"), QStringLiteral("纵向"));

    TfrmPrinterParam window(context, QStringLiteral("Epson LQ-630K"));
    auto* printer = child<QComboBox>(window, "cbPrinter");
    EXPECT_EQ(printer->currentText(), QStringLiteral("Epson LQ-630K"));
    EXPECT_FALSE(printer->isEnabled());
    // The first preset is shown, the last choice is offered.
    EXPECT_EQ(child<QLineEdit>(window, "edtPresetX")->text(), QStringLiteral("12"));
    EXPECT_EQ(child<QLineEdit>(window, "edtModel")->text(), QStringLiteral("我的打印机"));
    EXPECT_EQ(child<QSpinBox>(window, "edtX")->value(), 0);
    EXPECT_EQ(child<QSpinBox>(window, "edtY")->value(), -15);
    EXPECT_EQ(child<QComboBox>(window, "cbDirection")->currentText(), QStringLiteral("纵向"));

    window.pickPreset(1);
    EXPECT_EQ(child<QLineEdit>(window, "edtPresetX")->text(), QStringLiteral("-25"));
    EXPECT_EQ(child<QLineEdit>(window, "edtModel")->text(), QStringLiteral("Epson LQ-630K"));
    EXPECT_EQ(child<QSpinBox>(window, "edtX")->value(), -25);
    EXPECT_EQ(child<QSpinBox>(window, "edtY")->value(), 40);
    EXPECT_EQ(child<QComboBox>(window, "cbDirection")->currentText(), QStringLiteral("横向"));
    EXPECT_EQ(child<QPlainTextEdit>(window, "memBoard")->toPlainText(), QStringLiteral("靠左"));

    addTemplate({1, QStringLiteral("支票（工行）")});
    messages.answer = true;
    EXPECT_EQ(window.apply(), PresetApplied::Done);
    EXPECT_EQ(stored(1), QStringLiteral("-25,40,1"));
}
