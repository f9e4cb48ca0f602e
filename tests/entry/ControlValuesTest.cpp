#include "EntryFixture.h"

#include "entry/ControlValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>

#include <functional>

using namespace slipcraft;

namespace {

class ControlValuesTest : public EntryFixture {
protected:
    template <class Control>
    Control* add(QWidget* parent, const QString& name)
    {
        auto* control = new Control(parent);
        control->setObjectName(name);
        return control;
    }

    QWidget form;
    QWidget* panel = add<QWidget>(&form, QStringLiteral("pnlCheck"));
};

} // namespace

TEST_F(ControlValuesTest, ReadsEachKindOfControl)
{
    struct Case {
        const char* label;
        std::function<QWidget*(QWidget*)> make;
        QString value;
        QString message;
    };
    const Case cases[] = {
        {"line edit", [](QWidget* p) { return new QLineEdit(QStringLiteral(" 收款人 "), p); }, QStringLiteral(" 收款人 "), {}},
        {"multi-line edit", [](QWidget* p) { return new QPlainTextEdit(QStringLiteral("第一行\n第二行"), p); },
         QStringLiteral("第一行\n第二行"), {}},
        {"rich edit as plain text", [](QWidget* p) { return new QTextEdit(QStringLiteral("<b>粗</b>体"), p); },
         QStringLiteral("粗体"), {}},
        {"drop-down",
         [](QWidget* p) {
             auto* combo = new QComboBox(p);
             combo->addItems({QStringLiteral("人民币"), QStringLiteral("美元")});
             combo->setCurrentIndex(1);
             return combo;
         },
         QStringLiteral("美元"), {}},
        {"label", [](QWidget* p) { return new QLabel(QStringLiteral("标签"), p); }, QStringLiteral("标签"), {}},
        {"picture",
         [](QWidget* p) {
             auto* label = new QLabel(p);
             QPixmap picture(4, 4);
             picture.fill(Qt::blue);
             label->setPixmap(picture);
             return label;
         },
         QStringLiteral("QPixmap"), {}},
        {"ticked",
         [](QWidget* p) {
             auto* box = new QCheckBox(QStringLiteral("现金"), p);
             box->setChecked(true);
             return box;
         },
         QStringLiteral("√"), {}},
        {"not ticked", [](QWidget* p) { return new QCheckBox(QStringLiteral("现金"), p); }, QString(), {}},
        {"unsupported", [](QWidget* p) { return new QSpinBox(p); }, QString(),
         QStringLiteral("QSpinBoxtype not suported(getControlValue)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        messages.messages.clear();
        QWidget* control = c.make(panel);
        control->setObjectName(QStringLiteral("zdValue"));
        EXPECT_EQ(getControlValue(context, panel, QStringLiteral("ZDVALUE")), c.value);
        EXPECT_EQ(messages.messages.isEmpty() ? QString() : messages.messages[0].text, c.message);
        delete control;
    }
}

// A form that was never shown still prints; what it hides does not.
TEST_F(ControlValuesTest, HiddenControlsGiveNothing)
{
    add<QLineEdit>(panel, QStringLiteral("zdShown"))->setText(QStringLiteral("显示"));
    add<QLineEdit>(panel, QStringLiteral("zdHidden"))->setText(QStringLiteral("隐藏"));
    panel->findChild<QWidget*>(QStringLiteral("zdHidden"))->hide();
    QWidget* group = add<QWidget>(panel, QStringLiteral("grpOuter"));
    add<QLineEdit>(group, QStringLiteral("zdInGroup"))->setText(QStringLiteral("组内"));
    group->hide();

    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(getControlValue(context, panel, QStringLiteral("zdShown")), QStringLiteral("显示"));
    EXPECT_EQ(getControlValue(context, panel, QStringLiteral("zdHidden")), QString());
    EXPECT_EQ(getControlValue(context, panel, QStringLiteral("zdInGroup")), QString());

    form.show();
    EXPECT_EQ(getControlValue(context, panel, QStringLiteral("zdShown")), QStringLiteral("显示"));
    EXPECT_EQ(getControlValue(context, panel, QStringLiteral("zdHidden")), QString());
    EXPECT_EQ(debugEntry(QStringLiteral("getControlValue-1")), QString());
}

// The panel first, then the form that owns it; never another window's controls.
TEST_F(ControlValuesTest, LooksInThePanelThenItsForm)
{
    QMdiArea area;
    auto* cheque = new QWidget;
    QWidget* chequePanel = add<QWidget>(cheque, QStringLiteral("pnlCheck"));
    add<QLineEdit>(chequePanel, QStringLiteral("zdInComp"))->setText(QStringLiteral("面板里"));
    add<QLineEdit>(cheque, QStringLiteral("zdInComp"))->setText(QStringLiteral("窗体上"));
    add<QLineEdit>(cheque, QStringLiteral("zdOnForm"))->setText(QStringLiteral("只在窗体上"));
    area.addSubWindow(cheque);
    auto* other = new QWidget;
    add<QLineEdit>(other, QStringLiteral("zdElsewhere"))->setText(QStringLiteral("别的窗口"));
    area.addSubWindow(other);

    EXPECT_EQ(getControlValue(context, chequePanel, QStringLiteral("ZDINCOMP")), QStringLiteral("面板里"));
    EXPECT_EQ(getControlValue(context, chequePanel, QStringLiteral("zdonform")), QStringLiteral("只在窗体上"));
    EXPECT_EQ(getControlValue(context, cheque, QStringLiteral("zdOnForm")), QStringLiteral("只在窗体上"));
    EXPECT_EQ(getControlValue(context, chequePanel, QStringLiteral("zdElsewhere")), QString());
    EXPECT_EQ(debugEntry(QStringLiteral("getControlValue-1")), QStringLiteral("zdElsewhere=nil  not found."));
}

TEST_F(ControlValuesTest, NothingToLookUp)
{
    EXPECT_EQ(getControlValue(context, panel, QString()), QString());
    EXPECT_EQ(getControlValue(context, nullptr, QStringLiteral("zdJE")), QString());
    EXPECT_EQ(getControlValue(context, panel, QStringLiteral("zdJE")), QString());
    EXPECT_EQ(getControlValue(context, panel, QStringLiteral("zdRQ")), QString());
    EXPECT_EQ(debugEntry(QStringLiteral("getControlValue-1")), QStringLiteral("zdJE=nil  not found."));
    EXPECT_EQ(debugEntry(QStringLiteral("getControlValue-2")), QStringLiteral("zdRQ=nil  not found."));
    EXPECT_EQ(debugEntry(QStringLiteral("getControlValue-3")), QString());
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(ControlValuesTest, WriteToJEGridFillsTheFormsBoxes)
{
    const QStringList positions = {QStringLiteral("YY"), QStringLiteral("QW"), QStringLiteral("BW"), QStringLiteral("SW"),
                                   QStringLiteral("WY"), QStringLiteral("QY"), QStringLiteral("BY"), QStringLiteral("SY"),
                                   QStringLiteral("Y"),  QStringLiteral("J"),  QStringLiteral("F")};
    for (const QString& row : {QStringLiteral("zd"), QStringLiteral("cg")})
        for (const QString& position : positions)
            add<QLineEdit>(panel, row + position);
    add<QLineEdit>(panel, QStringLiteral("zdJEXX"))->setText(QStringLiteral("1,234.50"));
    add<QLineEdit>(panel, QStringLiteral("cgJEXX"))->setText(QStringLiteral("1,234.50"));
    auto rowText = [&](const QString& row) {
        QString text;
        for (const QString& position : positions) {
            const QString value = panel->findChild<QLineEdit*>(row + position)->text();
            text += (value.isEmpty() ? QStringLiteral(".") : value) + QLatin1Char('|');
        }
        return text;
    };

    WriteToJEGrid(context, &form, QString(), QStringLiteral("1234.5"), QStringLiteral("￥"), false, true);
    EXPECT_EQ(rowText(QStringLiteral("zd")), QStringLiteral(".|.|.|.|￥|1|2|3|4|5|0|"));
    EXPECT_EQ(rowText(QStringLiteral("cg")), QStringLiteral(".|.|.|.|￥|1|2|3|4|5|0|"));
    EXPECT_TRUE(messages.messages.isEmpty());

    // Without the counterfoil row the "cg" boxes are left alone.
    WriteToJEGrid(context, &form, QStringLiteral("USD"), QStringLiteral("56"), QStringLiteral("￥"), true, false);
    EXPECT_EQ(rowText(QStringLiteral("zd")), QStringLiteral(".|.|.|.|.|.|.|5|6|0|0|"));
    EXPECT_EQ(rowText(QStringLiteral("cg")), QStringLiteral(".|.|.|.|￥|1|2|3|4|5|0|"));

    WriteToJEGrid(context, &form, QString(), QStringLiteral("12345678901"), QStringLiteral("￥"), false, true);
    EXPECT_EQ(rowText(QStringLiteral("zd")), QStringLiteral("3|4|5|6|7|8|9|0|1|0|0|"));
    ASSERT_EQ(messages.messages.size(), 2);
    for (const RecordingMessages::Message& m : messages.messages) {
        EXPECT_EQ(m.text, QStringLiteral("    溢出   "));
        EXPECT_EQ(m.caption, QStringLiteral("出错"));
    }
    EXPECT_EQ(panel->findChild<QLineEdit*>(QStringLiteral("zdJEXX"))->text(), QStringLiteral("1,234.50"));

    WriteToJEGrid(context, &form, QString(), QStringLiteral("0"), QStringLiteral("￥"), false, true);
    EXPECT_EQ(rowText(QStringLiteral("zd")), QStringLiteral(".|.|.|.|.|.|.|.|.|.|.|"));
    EXPECT_EQ(rowText(QStringLiteral("cg")), QStringLiteral(".|.|.|.|.|.|.|.|.|.|.|"));
    EXPECT_EQ(panel->findChild<QLineEdit*>(QStringLiteral("zdJEXX"))->text(), QString());
    EXPECT_EQ(panel->findChild<QLineEdit*>(QStringLiteral("cgJEXX"))->text(), QString());
}
