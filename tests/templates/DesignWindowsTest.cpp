#include "DesignFixture.h"
#include "PdfReader.h"
#include "WindowProbe.h"

#include "entry/BillForm.h"
#include "entry/BillKind.h"
#include "entry/InputValue.h"
#include "platform/RegistryStore.h"
#include "shell/MainMDI.h"
#include "entry/TestPage.h"
#include "platform/IniFile.h"
#include "platform/printing/PdfPrinter.h"
#include "templates/Catalogue.h"
#include "templates/CheckDesign.h"
#include "templates/TemplateDesigner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

using namespace slipcraft;

namespace {

class DesignWindowsTest : public DesignFixture {
protected:
    void SetUp() override
    {
        DesignFixture::SetUp();
        addItem({QStringLiteral("ZDA"), QStringLiteral("收款人"), QStringLiteral("TEXT"), 1, 3, QStringLiteral("甲组")});
        addItem({QStringLiteral("ZDB"), QStringLiteral("金额"), QStringLiteral("TEXT"), 1, 2, QStringLiteral("甲组")});
        addItem({QStringLiteral("ZDC"), QStringLiteral("用途"), QStringLiteral("TEXT"), 1, 1});
    }

    // Makes every update of the layout rows fail, as a full disk would.
    void failWrites()
    {
        db().execute(QStringLiteral("create trigger no_writes before update on CKControl "
                                    "begin select raise(abort, 'disk is full'); end"));
    }

    std::unique_ptr<TfmTemplateDesigner> openDesigner()
    {
        auto designer = std::make_unique<TfmTemplateDesigner>(context);
        designer->setCheckTypeID(kTemplate);
        designer->show();
        return designer;
    }

    static DesignerPage* page(const QWidget& window) { return child<DesignerPage>(window, "imgPage"); }

    static QPoint labelCentre(const QWidget& window, const QString& item)
    {
        const QList<DesignLabel> labels = page(window)->itemLabels(item);
        EXPECT_FALSE(labels.isEmpty()) << item.toStdString();
        return labels.isEmpty() ? QPoint() : labels.first().rect.center();
    }
};

} // namespace

// The page shows each printable item at its print position; an item without a printed
// size is given the one it is drawn at.
TEST_F(DesignWindowsTest, DesignerPaintsTheItemsAtScale)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 0, 0, 10, 10, 120, 24});
    addRow({QStringLiteral("zdb"), 500, 300, 300, 60});
    Row hidden{QStringLiteral("ZDC"), 700, 700, 100, 50};
    hidden.needPrint = 0;
    addRow(hidden);
    auto designer = openDesigner();
    EXPECT_EQ(child<QLabel>(*designer, "lbTitle")->text(), QStringLiteral("【支票（测试）】打印设置"));
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(*designer, "edtPaperWidth")->value(), 20.0);

    // 200 mm at 96 dpi fill 756 pixels.
    EXPECT_EQ(page(*designer)->width(), 756);
    const QList<DesignLabel> labels = page(*designer)->labels();
    ASSERT_EQ(labels.size(), 2);
    const DesignLabel a = page(*designer)->itemLabels(QStringLiteral("ZDA")).value(0);
    EXPECT_EQ(a.text, QStringLiteral("收款人"));
    EXPECT_EQ(a.rect.topLeft(), QPoint(designer->GetPixByMMCent(100), designer->GetPixByMMCent(200)));
    EXPECT_EQ(a.rect.size(), QSize(120, 24));
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlW || 'x' || CtlH")),
              QStringLiteral("%1x%2").arg(designer->GetMMCentByPix(120)).arg(designer->GetMMCentByPix(24)));

    const QStringList entries = [&] {
        QStringList list;
        auto* items = child<QListWidget>(*designer, "lstItems");
        for (int i = 0; i < items->count(); ++i)
            list << items->item(i)->text();
        return list;
    }();
    EXPECT_EQ(entries.size(), 2);
    EXPECT_TRUE(entries.first().endsWith(QStringLiteral("=ZDA")));

    // Zooming keeps the scale rule.
    child<QComboBox>(*designer, "cbZoom")->setCurrentIndex(4); // 50%
    EXPECT_EQ(page(*designer)->width(), 378);
    EXPECT_EQ(page(*designer)->itemLabels(QStringLiteral("ZDA")).value(0).rect.topLeft(),
              QPoint(designer->GetPixByMMCent(100), designer->GetPixByMMCent(200)));
}

TEST_F(DesignWindowsTest, DesignerStoresEachFieldOfTheSelectedItem)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 300, 50});
    auto designer = openDesigner();
    QTest::mouseClick(page(*designer), Qt::LeftButton, {}, labelCentre(*designer, QStringLiteral("ZDA")));
    EXPECT_EQ(designer->selectedItems(), QStringList{QStringLiteral("ZDA")});
    auto* x = child<QSpinBox>(*designer, "edtCtlX");
    EXPECT_EQ(x->value(), 100);

    x->setValue(150);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")), QStringLiteral("150"));
    EXPECT_EQ(designer->statusText(), QStringLiteral("ZDA:CtlX=150属性保存成功~"));
    EXPECT_EQ(page(*designer)->itemLabels(QStringLiteral("ZDA")).value(0).rect.x(), designer->GetPixByMMCent(150));

    // The same value again stores nothing and leaves the status bar.
    designer->setProperty("probe", true);
    designer->ASaveCtlDataField(QStringLiteral("ZDA"), QStringLiteral("CtlX"), QStringLiteral("150"));
    EXPECT_EQ(designer->statusText(), QStringLiteral("ZDA:CtlX=150属性保存成功~"));

    struct Case {
        const char* check;
        const char* column;
        const char* stored;
    };
    child<QCheckBox>(*designer, "ckBold")->setChecked(true);
    child<QCheckBox>(*designer, "ckBreak")->setChecked(true);
    child<QSpinBox>(*designer, "edtBreakNum")->setValue(12);
    const Case cases[] = {{"bold", "Bold", "1"}, {"break count", "BreakNum", "12"}, {"line height", "CtlLH", "50"}};
    for (const Case& c : cases)
        EXPECT_EQ(stored(QStringLiteral("ZDA"), QString::fromLatin1(c.column)), QString::fromLatin1(c.stored)) << c.check;
    EXPECT_EQ(child<QCheckBox>(*designer, "ckBreak")->text(), QStringLiteral("需换行,超过     汉字换行打印."));
    child<QCheckBox>(*designer, "ckBreak")->setChecked(false);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("BreakNum")), QString());
    EXPECT_EQ(child<QCheckBox>(*designer, "ckBreak")->text(), QStringLiteral("无需换行打印."));

    // The sample text is the bill type's, for every template.
    child<QComboBox>(*designer, "cbTestData")->setEditText(QStringLiteral(" 样本 "));
    click(*designer, "btUpdateTest");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("更新成功！"));
    EXPECT_EQ(db().scalar(QStringLiteral("select CtlData from NameDict where CtlName='ZDA'")).toString(), QStringLiteral("样本"));
}

// A change that cannot be written is told, and the field shows what is stored.
TEST_F(DesignWindowsTest, DesignerNeverKeepsAChangeThatFailed)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 300, 50});
    addRow({QStringLiteral("ZDB"), 100, 300, 300, 50});
    addRow({QStringLiteral("zdb"), 100, 400, 300, 50});
    auto designer = openDesigner();
    designer->selectItem(QStringLiteral("ZDB"));
    auto* x = child<QSpinBox>(*designer, "edtCtlX");
    x->setValue(130);
    EXPECT_EQ(designer->statusText(), QStringLiteral("保存出错,同一个项目多条记录=！ZDB,1"));
    EXPECT_EQ(x->value(), 100);

    designer->selectItem(QStringLiteral("ZDA"));
    failWrites();
    x->setValue(170);
    ASSERT_FALSE(messages.texts().isEmpty());
    EXPECT_TRUE(messages.texts().last().startsWith(QStringLiteral("保存错误"))) << messages.texts().last().toStdString();
    EXPECT_EQ(x->value(), 100);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")), QStringLiteral("100"));
}

TEST_F(DesignWindowsTest, DesignerDragsMovesAndUndoes)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 300, 50});
    auto designer = openDesigner();
    DesignerPage* sheet = page(*designer);
    const QPoint from = labelCentre(*designer, QStringLiteral("ZDA"));
    QTest::mousePress(sheet, Qt::LeftButton, {}, from);
    QTest::mouseMove(sheet, from + QPoint(20, 10));
    QTest::mouseRelease(sheet, Qt::LeftButton, {}, from + QPoint(20, 10));
    const int x = 100 + designer->GetMMCentByPix(20);
    const int y = 200 + designer->GetMMCentByPix(10);
    EXPECT_NEAR(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")).toInt(), x, 3);
    EXPECT_NEAR(stored(QStringLiteral("ZDA"), QStringLiteral("CtlY")).toInt(), y, 3);
    const QString dragged = stored(QStringLiteral("ZDA"), QStringLiteral("CtlX || ',' || CtlY"));

    click(*designer, "btRight"); // one step: 0.5 mm
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")).toInt(), dragged.section(',', 0, 0).toInt() + 5);
    sheet->setFocus();
    QTest::keyClick(sheet, Qt::Key_Up, Qt::ShiftModifier); // 1 mm
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlY")).toInt(), dragged.section(',', 1, 1).toInt() - 10);

    designer->undo();
    designer->undo();
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX || ',' || CtlY")), dragged);
    EXPECT_EQ(child<QSpinBox>(*designer, "edtCtlX")->value(), dragged.section(',', 0, 0).toInt());
    designer->undo();
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX || ',' || CtlY")), QStringLiteral("100,200"));
    EXPECT_EQ(sheet->itemLabels(QStringLiteral("ZDA")).value(0).rect.x(), designer->GetPixByMMCent(100));
    designer->redo();
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX || ',' || CtlY")), dragged);
}

TEST_F(DesignWindowsTest, DesignerBatchToolsWorkOnSeveralItems)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 30, 50});
    addRow({QStringLiteral("ZDB"), 300, 260, 5, 50});
    addRow({QStringLiteral("ZDC"), 500, 330, 40, 50});
    auto designer = openDesigner();
    child<QRadioButton>(*designer, "rbMulti")->setChecked(true);
    child<QComboBox>(*designer, "cbGroup")->setCurrentText(QStringLiteral("甲组"));
    emit child<QComboBox>(*designer, "cbGroup")->textActivated(QStringLiteral("甲组"));
    EXPECT_EQ(designer->selectedItems(), (QStringList{QStringLiteral("ZDB"), QStringLiteral("ZDA")}));
    EXPECT_TRUE(child<QTabWidget>(*designer, "panelBatch")->isVisible());

    click(*designer, "btNarrower");
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlW")), QStringLiteral("25"));
    EXPECT_EQ(stored(QStringLiteral("ZDB"), QStringLiteral("CtlW")), QStringLiteral("5"));
    EXPECT_TRUE(designer->statusText().contains(QStringLiteral("ZDB的CtlW更新失败！")));
    EXPECT_TRUE(designer->statusText().endsWith(QStringLiteral("1个批量减宽成功！")));

    click(*designer, "btAlignTop");
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlY")), QStringLiteral("200"));
    EXPECT_EQ(stored(QStringLiteral("ZDB"), QStringLiteral("CtlY")), QStringLiteral("200"));
    EXPECT_EQ(stored(QStringLiteral("ZDC"), QStringLiteral("CtlY")), QStringLiteral("330"));

    // Clicking a third item on the page adds it; the distribution runs in selection order.
    QTest::mouseClick(page(*designer), Qt::LeftButton, {}, labelCentre(*designer, QStringLiteral("ZDC")));
    click(*designer, "btSpreadX");
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlX")), QStringLiteral("340"));
    EXPECT_EQ(stored(QStringLiteral("ZDC"), QStringLiteral("CtlX")), QStringLiteral("380"));
    EXPECT_EQ(designer->statusText(), QStringLiteral("2个等宽分布修改成功！"));
}

TEST_F(DesignWindowsTest, DesignerSavesThePaperSizeWithinItsLimits)
{
    auto designer = openDesigner();
    auto* width = child<QDoubleSpinBox>(*designer, "edtPaperWidth");
    auto* height = child<QDoubleSpinBox>(*designer, "edtPaperHeight");
    width->setValue(21.5);
    height->setValue(32.1);
    click(*designer, "btSavePaper");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("失败，票据最高不能大于32厘米。"));
    height->setValue(32.0);
    click(*designer, "btSavePaper");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("底图实际长和宽保存成功！"));
    EXPECT_EQ(db().scalar(QStringLiteral("select PWidth || 'x' || PHeight from ckTypeTable")).toString(), QStringLiteral("2150x3200"));
    EXPECT_EQ(page(*designer)->width(), pageAreaWidth(2150, 96, 100));
}

// A template changed in the designer prints with the new position, to a tenth of a millimetre.
TEST_F(DesignWindowsTest, DesignerChangesReachThePrintedPage)
{
    addRow({QStringLiteral("ZDA"), 300, 200, 300, 50});
    QTemporaryDir dir;
    const auto printedAt = [&](const QString& name) {
        PdfPrinter printer(dir.path());
        printer.setOutputFile(dir.filePath(name));
        EXPECT_EQ(printTestPage(context, kTemplate, printer), QString());
        for (const pdfreader::Word& word : pdfreader::words(dir.filePath(name)))
            if (word.text == QStringLiteral("收款人"))
                return QPointF(word.xMin, word.yMin) / pdfreader::kPointsPerMm;
        ADD_FAILURE() << "item not printed";
        return QPointF();
    };
    const QPointF before = printedAt(QStringLiteral("before.pdf"));
    auto designer = openDesigner();
    designer->selectItem(QStringLiteral("ZDA"));
    child<QSpinBox>(*designer, "edtCtlX")->setValue(345);
    child<QSpinBox>(*designer, "edtCtlY")->setValue(180);
    const QPointF after = printedAt(QStringLiteral("after.pdf"));
    EXPECT_NEAR(after.x() - before.x(), 4.5, 0.1);
    EXPECT_NEAR(after.y() - before.y(), -2.0, 0.1);
}

// ---- The fill-form layout adjustment ----------------------------------------------

namespace {

class CheckDesignTest : public DesignWindowsTest {
protected:
    void SetUp() override
    {
        DesignWindowsTest::SetUp();
        addItem({QStringLiteral("ZDBOX"), QStringLiteral("方框"), QStringLiteral("SHAPE")});
        addItem({QStringLiteral("DEFCHECK0"), QStringLiteral("勾选1"), QStringLiteral("CHECKBOX")});
        addItem({QStringLiteral("ZDPIC"), QStringLiteral("图片"), QStringLiteral("IMAGE")});
    }

    std::unique_ptr<TfmCheckDesign> openAdjustment()
    {
        auto window = std::make_unique<TfmCheckDesign>(context, kTemplate);
        window->show();
        return window;
    }
};

} // namespace

TEST_F(CheckDesignTest, OneControlPerItemAtItsScreenBox)
{
    addRow({QStringLiteral("zda"), 100, 200, 0, 0, 40, 60, 120, 22});
    Row hidden{QStringLiteral("ZDB"), 0, 0, 0, 0, 200, 60, 80, 20};
    hidden.needPrint = 0;
    addRow(hidden);
    addRow({QStringLiteral("DEFCHECK0"), 0, 0, 0, 0, 300, 100, 70, 20});
    db().execute(QStringLiteral("update ckTypeTable set CheckBoxs='现金,转账'"));
    auto window = openAdjustment();
    ASSERT_TRUE(window->hasTemplate());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("票据设计调整（支票-测试）,ID=1"));

    QWidget* a = window->designControl(QStringLiteral("ZDA"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->objectName(), QStringLiteral("ZDA"));
    EXPECT_EQ(a->geometry(), QRect(40, 60, 120, 22));
    EXPECT_TRUE(a->isVisible());
    EXPECT_TRUE(window->designControl(QStringLiteral("ZDB"))->isHidden());
    EXPECT_TRUE(window->designControl(QStringLiteral("ZDC"))->isHidden()); // no layout row
    EXPECT_NE(dynamic_cast<QWidget*>(window->designControl(QStringLiteral("ZDBOX"))), nullptr);
    EXPECT_EQ(window->designControl(QStringLiteral("ZDPIC")), nullptr);
    auto* tick = qobject_cast<QCheckBox*>(window->designControl(QStringLiteral("DEFCHECK0")));
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(tick->text(), QStringLiteral("现金"));
    EXPECT_EQ(child<QLabel>(*window, "imgForm")->size(), QSize(800, 400));
}

TEST_F(CheckDesignTest, SelectingAnItemWithoutALayoutRowCreatesIt)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 0, 0, 40, 60, 120, 22});
    auto window = openAdjustment();
    window->selectLabel(QStringLiteral("收款人"));
    EXPECT_EQ(child<QSpinBox>(*window, "edtCtlX")->value(), 100);
    EXPECT_EQ(window->statusText(), QStringLiteral("当前调整:收款人  ZDA"));

    window->selectLabel(QStringLiteral("用途"));
    EXPECT_EQ(stored(QStringLiteral("ZDC"), QStringLiteral("CtlX || '/' || SrcW || 'x' || SrcH || '/' || NeedPrint")),
              QStringLiteral("100/100x20/0"));
    EXPECT_EQ(window->selectedItem(), QStringLiteral("ZDC"));
}

TEST_F(CheckDesignTest, FieldsAndKeysMoveTheScreenBoxAndThePrintPosition)
{
    addRow({QStringLiteral("ZDA"), 100, 9, 0, 0, 40, 385, 120, 22});
    auto window = openAdjustment();
    window->selectLabel(QStringLiteral("收款人"));
    QWidget* a = window->designControl(QStringLiteral("ZDA"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    // Ctrl+Shift+Down 5 pixels above the limit stops at the picture's height − 10.
    QTest::keyClick(window.get(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(a->y(), 390);
    EXPECT_EQ(child<QSpinBox>(*window, "edtSrcY")->value(), 390);
    QTest::keyClick(window.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(a->width(), 121);
    window->saveItem(true);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("SrcY || ',' || SrcW")), QStringLiteral("390,121"));

    // "↑" needs more than 0.9 mm to move.
    click(*window, "btPrintUp");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("测量数值不可能小于0，请查看打印参数示意图原理~"));
    child<QSpinBox>(*window, "edtCtlY")->setValue(10);
    click(*window, "btPrintUp");
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("CtlY")), QStringLiteral("0"));
    EXPECT_EQ(window->messageText(), QStringLiteral("【收款人】项目打印位置上移了1毫米!"));

    // Hidden items print nothing and show nothing.
    child<QCheckBox>(*window, "ckHidden")->setChecked(true);
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("NeedPrint || NeedShow")), QStringLiteral("00"));
    EXPECT_TRUE(a->isHidden());

    click(*window, "btSave");
    EXPECT_EQ(messages.texts().last(), QStringLiteral("' 收款人' 打印细节没有变动！"));
}

TEST_F(CheckDesignTest, DraggingSavesAndUndoPutsTheBoxBack)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 0, 0, 40, 60, 120, 22});
    auto window = openAdjustment();
    QWidget* a = window->designControl(QStringLiteral("ZDA"));
    QTest::mousePress(a, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(35, 25), a->mapToGlobal(QPointF(35, 25)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(a, &move);
    QTest::mouseRelease(a, Qt::LeftButton, {}, QPoint(35, 25));
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("SrcX || ',' || SrcY")), QStringLiteral("70,80"));
    EXPECT_TRUE(window->messageText().startsWith(QStringLiteral("拖动了【收款人】")));

    window->undo();
    EXPECT_EQ(stored(QStringLiteral("ZDA"), QStringLiteral("SrcX || ',' || SrcY")), QStringLiteral("40,60"));
    EXPECT_EQ(window->designControl(QStringLiteral("ZDA"))->pos(), QPoint(40, 60));
    EXPECT_EQ(child<QSpinBox>(*window, "edtSrcX")->value(), 40);
    window->redo();
    EXPECT_EQ(window->designControl(QStringLiteral("ZDA"))->pos(), QPoint(70, 80));
}

TEST_F(CheckDesignTest, AFailedSaveIsToldAndTheFieldsShowTheStoredRow)
{
    addRow({QStringLiteral("ZDA"), 100, 200, 0, 0, 40, 60, 120, 22});
    auto window = openAdjustment();
    window->selectLabel(QStringLiteral("收款人"));
    failWrites();
    child<QSpinBox>(*window, "edtSrcX")->setValue(90);
    window->saveItem(true);
    EXPECT_EQ(messages.texts().last(), QStringLiteral("保存设置失败！"));
    EXPECT_EQ(child<QSpinBox>(*window, "edtSrcX")->value(), 40);
    EXPECT_EQ(window->designControl(QStringLiteral("ZDA"))->x(), 40);
}

TEST_F(CheckDesignTest, FreeTickTitlesAndTheCacheOnClosing)
{
    addRow({QStringLiteral("DEFCHECK0"), 0, 0, 0, 0, 300, 100, 70, 20});
    addRow({QStringLiteral("ZDA"), 100, 200, 0, 0, 40, 60, 120, 22});
    auto window = openAdjustment();
    answerNextInput(QStringLiteral(" 现金， 转账（支票） "));
    window->defineTickItems();
    EXPECT_EQ(db().scalar(QStringLiteral("select CheckBoxs from ckTypeTable")).toString(), QStringLiteral("现金,转账支票"));
    EXPECT_EQ(qobject_cast<QCheckBox*>(window->designControl(QStringLiteral("DEFCHECK0")))->text(), QStringLiteral("现金"));

    window->selectLabel(QStringLiteral("收款人"));
    child<QSpinBox>(*window, "edtSrcX")->setValue(88);
    window->close();
    std::unique_ptr<IniFile> cache = context.catalogue().OpenCheckInif(kTemplate);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(readControlPlacement(*cache, QStringLiteral("ZDA")).x, 88);
}

namespace {

// The main window with the product's bill types and templates.
class DesignFromMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { home.createDatabase(ProductData::Include); }

    TempHome home;
    RecordingMessages messages;
    QTemporaryDir config;
    AppContext context{home.runPath(), messages};
    RegistryStore registry{config.filePath(QStringLiteral("record.conf"))};
};

} // namespace

// The entry form's "设计模式" opens the adjustment on the form's template; the form shows
// the boxes as they were left there.
TEST_F(DesignFromMainWindowTest, AnEntryFormFollowsItsAdjustment)
{
    Tfm_Main window(context, registry);
    TfmBillForm* cheque = window.openBillForm(chequeKind(), true);
    ASSERT_NE(cheque, nullptr);
    auto* payee = cheque->findChild<QWidget*>(QStringLiteral("zdInComp"));
    ASSERT_NE(payee, nullptr);
    const QPoint before = payee->pos();
    int seenTemplate = 0;
    QTimer::singleShot(0, [&] {
        auto* design = qobject_cast<TfmCheckDesign*>(QApplication::activeModalWidget());
        ASSERT_NE(design, nullptr);
        seenTemplate = design->templateId();
        design->selectLabel(QStringLiteral("收款人全称"));
        design->findChild<QSpinBox*>(QStringLiteral("edtSrcX"))->setValue(before.x() + 25);
        design->close();
    });
    QTest::mouseClick(cheque->findChild<QToolButton*>(QStringLiteral("btDesign")), Qt::LeftButton);
    EXPECT_EQ(seenTemplate, cheque->templateId());
    EXPECT_EQ(payee->pos(), before + QPoint(25, 0));
}
