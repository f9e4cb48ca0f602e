#include "CatalogueFixture.h"

#include "platform/IniFile.h"
#include "templates/FormPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

using namespace slipcraft;

namespace {

// A cheque form whose controls start where placing must move them from.
class FormPlacementTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        addTemplate({.id = 1, .billType = "支票", .name = "工商银行"});
        for (const char* item : {"ZDOUTBANK", "CKTICK", "ZDBANK", "ZDBANK2", "ZDUSE", "LBNOTE", "ZDMEMO", "ZDHIDDEN",
                                 "ZDMISSING", "ZDABSENT"})
            addItem("支票", item);
        addLayout(1, {"zdoutbank", 10, 20, 100, 22, 1, "中国银行"});
        addLayout(1, {"CKTICK", 30, 40, 15, 16, 1, "0"});
        addLayout(1, {"ZDBANK", 1, 1, 80, 20, 1, "建设银行"});
        addLayout(1, {"ZDBANK2", 1, 1, 80, 20, 1, "农业银行"});
        addLayout(1, {"ZDUSE", 1, 1, 80, 20, 1, "工资"});
        addLayout(1, {"LBNOTE", 1, 1, 80, 20, 1, "备注"});
        addLayout(1, {"ZDMEMO", 1, 1, 80, 20, 1, "多行"});
        addLayout(1, {"ZDHIDDEN", 70, 80, 90, 10, 0, QVariant()});
        addLayout(1, {"ZDOUTSIDER", 70, 80, 90, 10, 1, "外"});
        addLayout(1, {"ZDABSENT", 70, 80, 90, 10, 1, "无"});

        outBank = add<QLineEdit>("zdOutBank");
        outBank->setGeometry(1, 1, 5, 5);
        outBank->hide();
        tick = add<QCheckBox>("ckTick");
        bank = add<QComboBox>("zdBank");
        bank->addItems({"工商银行", "建设银行"});
        bank2 = add<QComboBox>("zdBank2");
        bank2->addItems({"工商银行", "建设银行"});
        use = add<QComboBox>("zdUse");
        use->setEditable(true);
        use->addItem("货款");
        note = add<QLabel>("lbNote");
        memo = add<QPlainTextEdit>("zdMemo");
        hidden = add<QLineEdit>("ZDHidden");
        hidden->setGeometry(3, 4, 50, 20);
        missing = add<QLineEdit>("zdMissing");
        outsider = add<QLineEdit>("zdOutsider");
        outsider->setGeometry(3, 4, 50, 20);
    }

    template <class Control>
    Control* add(const char* name)
    {
        auto* control = new Control(&form);
        control->setObjectName(name);
        return control;
    }

    void place()
    {
        const auto cache = catalogue.OpenCheckInif(1);
        ASSERT_NE(cache, nullptr);
        setFormControlsPosition(catalogue, context, "支票", &form, cache.get());
    }

    bool shown(const QWidget* control) const { return control->isVisibleTo(&form); }

    QWidget form;
    QLineEdit* outBank;
    QCheckBox* tick;
    QComboBox* bank;
    QComboBox* bank2;
    QComboBox* use;
    QLabel* note;
    QPlainTextEdit* memo;
    QLineEdit* hidden;
    QLineEdit* missing;
    QLineEdit* outsider;
};

} // namespace

TEST_F(FormPlacementTest, ControlsTakeTheirCachedBoxesAndValues)
{
    place();

    EXPECT_TRUE(shown(outBank));
    EXPECT_EQ(outBank->geometry(), QRect(10, 20, 100, 22));
    EXPECT_EQ(outBank->text(), QStringLiteral("中国银行"));
    EXPECT_TRUE(shown(tick));
    EXPECT_EQ(tick->geometry(), QRect(30, 40, 15, 16));
    EXPECT_TRUE(tick->isChecked()) << "any initial value ticks, \"0\" too";
    EXPECT_EQ(bank->currentText(), QStringLiteral("建设银行"));
    EXPECT_EQ(bank2->currentIndex(), 0) << "no item matches";
    EXPECT_EQ(use->currentText(), QStringLiteral("工资"));
    EXPECT_EQ(note->text(), QStringLiteral("备注"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("多行"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(FormPlacementTest, HiddenOrUnknownControlsAreHiddenWhereTheyAre)
{
    place();

    EXPECT_FALSE(shown(hidden));
    EXPECT_EQ(hidden->geometry(), QRect(3, 4, 50, 20));
    EXPECT_FALSE(shown(missing));
    // Only the bill type's items are placed.
    EXPECT_TRUE(shown(outsider));
    EXPECT_EQ(outsider->geometry(), QRect(3, 4, 50, 20));
    EXPECT_TRUE(outsider->text().isEmpty());
}

TEST_F(FormPlacementTest, AGoneCacheFileHidesEveryItem)
{
    catalogue.buildCheckIniFile(1);
    ASSERT_TRUE(QDir(home.path("Temp")).removeRecursively());
    place();
    for (const QWidget* control : std::initializer_list<const QWidget*>{outBank, tick, bank, use, note, memo})
        EXPECT_FALSE(shown(control)) << control->objectName().toStdString();
    EXPECT_FALSE(tick->isChecked());
}

TEST_F(FormPlacementTest, NothingHappensWithoutCacheOrForm)
{
    const auto cache = catalogue.OpenCheckInif(1);
    setFormControlsPosition(catalogue, context, "支票", &form, nullptr);
    setFormControlsPosition(catalogue, context, "支票", nullptr, cache.get());
    setFormCtlPositionFromIni("zdOutBank", nullptr, &form);
    setFormCtlPositionFromIni("zdOutBank", cache.get(), nullptr);
    EXPECT_FALSE(shown(outBank));
    EXPECT_TRUE(shown(missing));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(FormPlacementTest, AFailingItemListIsToldAndPlacesNothing)
{
    const auto cache = catalogue.OpenCheckInif(1);
    db().execute(QStringLiteral("drop table NameDict"));
    setFormControlsPosition(catalogue, context, "支票", &form, cache.get());
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("调入项目参数失败!"))) << messages.messages[0].text.toStdString();
    EXPECT_TRUE(messages.messages[0].text.contains(QStringLiteral("NameDict")));
    EXPECT_FALSE(shown(outBank));
    EXPECT_TRUE(shown(missing));
}

TEST_F(FormPlacementTest, OneControlByNameInAnyCase)
{
    const auto cache = catalogue.OpenCheckInif(1);
    setFormCtlPositionFromIni("ZDOUTBANK", cache.get(), &form);
    EXPECT_TRUE(shown(outBank));
    EXPECT_EQ(outBank->geometry(), QRect(10, 20, 100, 22));
    setFormCtlPositionFromIni("zdmissing", cache.get(), &form);
    EXPECT_FALSE(shown(missing));
}
