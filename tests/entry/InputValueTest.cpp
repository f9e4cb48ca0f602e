#include "RecordingMessages.h"

#include "entry/InputValue.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace slipcraft;

namespace {

const QString kIntegerRefused = QStringLiteral("提示：只能输入数字,谢谢！");
const QString kDecimalRefused = QStringLiteral("提示:只能输入数字及点(如: 12.5 )！");

// keyClicks takes ASCII only.
void typeCharacter(QWidget* widget, const QString& character)
{
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
}

// A dialog shown (not run modally) so that the test can type into it.
class InputValueTest : public ::testing::Test {
public:
    void open(const QString& type, const QString& defaultValue = {})
    {
        dialog.setTitle(QStringLiteral("输入重复打印的张数"));
        dialog.setDefaultValue(defaultValue);
        dialog.setTypeReturn(type);
        dialog.show();
    }

    QComboBox* edtValue() const { return dialog.findChild<QComboBox*>(QStringLiteral("edtValue")); }
    QString message() const { return dialog.findChild<QLabel*>(QStringLiteral("lbMessage"))->text(); }
    void click(const char* button) { QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton); }

    RecordingMessages messages;
    TfrmInputValue dialog{nullptr, &messages};
};

// Runs the dialog modally the way callers do, acting on it once it is up.
QString runModally(const QString& type, const std::function<void(TfrmInputValue&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<TfrmInputValue*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
    return giveMeAnValue(nullptr, QStringLiteral("请输入"), QStringLiteral("1"), type);
}

} // namespace

TEST(InputValueTypes, CallerTypeNamesMapToThreeValueTypes)
{
    struct Case {
        const char* typeName;
        QString valueType;
    };
    const Case cases[] = {
        {"int", TfrmInputValue::kInteger},    {" int ", TfrmInputValue::kInteger}, {"Integer", TfrmInputValue::kInteger},
        {"float", TfrmInputValue::kDouble},   {"REAL", TfrmInputValue::kDouble},   {"double\t", TfrmInputValue::kDouble},
        {"text", TfrmInputValue::kString},    {"string", TfrmInputValue::kString}, {"", TfrmInputValue::kString},
        {"integers", TfrmInputValue::kString},
    };
    for (const Case& c : cases) {
        TfrmInputValue dialog;
        dialog.setTypeReturn(QString::fromUtf8(c.typeName));
        EXPECT_EQ(dialog.valueType(), c.valueType) << c.typeName;
    }
}

TEST_F(InputValueTest, IntegerDialogRefusesLettersAndOffersCounts)
{
    open(QStringLiteral("integer"), QStringLiteral("1"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("用户输入"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("输入重复打印的张数"));
    EXPECT_EQ(edtValue()->currentText(), QStringLiteral("1")); // the list does not replace the default

    QStringList items;
    for (int i = 0; i < edtValue()->count(); ++i)
        items << edtValue()->itemText(i);
    EXPECT_EQ(items, QStringList({"2", "5", "10", "20", "25", "30", "50", "100", "200", "500", "1000"}));

    QTest::keyClicks(edtValue(), QStringLiteral("2a")); // the default is selected: typing replaces it
    EXPECT_EQ(edtValue()->currentText(), QStringLiteral("2"));
    EXPECT_EQ(message(), kIntegerRefused);
    QTest::keyClicks(edtValue(), QStringLiteral("3"));
    EXPECT_EQ(message(), QString());
    QTest::keyClicks(edtValue(), QStringLiteral(".x"));
    typeCharacter(edtValue(), QStringLiteral("１")); // a full-width digit is no digit here
    EXPECT_EQ(edtValue()->currentText(), QStringLiteral("23"));
    EXPECT_EQ(message(), kIntegerRefused);
    QTest::keyClick(edtValue(), Qt::Key_Backspace);
    EXPECT_EQ(message(), QString());
    QTest::keyClicks(edtValue(), QStringLiteral("456789"));
    EXPECT_EQ(edtValue()->currentText(), QStringLiteral("2456789"));
    QTest::keyClicks(edtValue(), QStringLiteral("0"));
    EXPECT_EQ(edtValue()->currentText(), QStringLiteral("2456789")); // at most 7 characters
}

TEST_F(InputValueTest, DecimalAndTextDialogs)
{
    open(QStringLiteral("real"));
    EXPECT_EQ(edtValue()->count(), 0);
    QTest::keyClicks(edtValue(), QStringLiteral("12.5.x"));
    EXPECT_EQ(edtValue()->currentText(), QStringLiteral("12.5."));
    EXPECT_EQ(message(), kDecimalRefused);
    dialog.hide();

    TfrmInputValue text(nullptr, &messages);
    text.setTypeReturn(QStringLiteral("text"));
    text.show();
    auto* box = text.findChild<QComboBox*>(QStringLiteral("edtValue"));
    QTest::keyClicks(box, QStringLiteral("ab 1.x' 12345678"));
    typeCharacter(box, QStringLiteral("甲"));
    EXPECT_EQ(box->currentText(), QStringLiteral("ab 1.x' 12345678甲"));
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(text.findChild<QLabel*>(QStringLiteral("lbMessage"))->text(), QString());
}

TEST_F(InputValueTest, EmptyValueIsRefusedAndTheDialogStays)
{
    open(QStringLiteral("string"));
    QTest::keyClicks(edtValue(), QStringLiteral("   "));
    click("btOK");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("请输入正确的值，不能为空"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.cancelled());

    QTest::keyClicks(edtValue(), QStringLiteral(" ab c "));
    QTest::keyClick(edtValue(), Qt::Key_Return); // Enter runs OK
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.cancelled());
    EXPECT_EQ(dialog.value(), QStringLiteral("ab c"));
}

TEST_F(InputValueTest, EveryOtherWayOutLeavesAnEmptyValue)
{
    struct Case {
        const char* label;
        std::function<void(InputValueTest&)> leave;
    };
    const Case cases[] = {
        {"cancel button", [](InputValueTest& t) { t.click("btCancel"); }},
        {"close box", [](InputValueTest& t) { t.dialog.close(); }},
        {"escape", [](InputValueTest& t) { QTest::keyClick(t.edtValue(), Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        open(QStringLiteral("int"), QStringLiteral("5"));
        QTest::keyClicks(edtValue(), QStringLiteral("0"));
        c.leave(*this);
        EXPECT_FALSE(dialog.isVisible()) << c.label;
        EXPECT_EQ(dialog.value(), QString()) << c.label;
        EXPECT_TRUE(dialog.cancelled()) << c.label;
    }
}

TEST_F(InputValueTest, DoubleClickSelectsTheWholeValue)
{
    open(QStringLiteral("string"), QStringLiteral("甲乙 丙"));
    QLineEdit* line = edtValue()->lineEdit();
    QTest::mouseDClick(line, Qt::LeftButton);
    EXPECT_EQ(line->selectedText(), QStringLiteral("甲乙 丙"));
}

TEST(GiveMeAnValue, ReturnsTheTypedValueOrEmptyWhenCancelled)
{
    EXPECT_EQ(runModally(QStringLiteral("integer"),
                         [](TfrmInputValue& dialog) {
                             auto* box = dialog.findChild<QComboBox*>(QStringLiteral("edtValue"));
                             QTest::keyClicks(box, QStringLiteral("0x"));
                             QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btOK")), Qt::LeftButton);
                         }),
              QStringLiteral("0"));
    EXPECT_EQ(runModally(QStringLiteral("string"), [](TfrmInputValue& dialog) { dialog.close(); }), QString());

    // A fresh dialog each time: a text dialog after an integer one has no list and no limit.
    EXPECT_EQ(runModally(QStringLiteral("string"),
                         [](TfrmInputValue& dialog) {
                             auto* box = dialog.findChild<QComboBox*>(QStringLiteral("edtValue"));
                             EXPECT_EQ(box->count(), 0);
                             QTest::keyClicks(box, QStringLiteral("x2345678"));
                             QTest::keyClick(box, Qt::Key_Enter);
                         }),
              QStringLiteral("x2345678"));
}
