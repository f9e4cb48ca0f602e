#include "RecordingMessages.h"
#include "TempHome.h"

#include "data/Database.h"
#include "entry/BillForm.h"
#include "entry/bills/BillForms.h"
#include "records/MatchAddr.h"
#include "records/MatchAddrLogic.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

using namespace slipcraft;

TEST(MatchAddrLogicTest, AddressWithOrWithoutItsRegion)
{
    struct Case {
        const char* address;
        bool withRegion;
        const char* result;
    };
    const Case cases[] = {
        {"文三路100号", true, "浙江省杭州市西湖区文三路100号"},
        {"杭州市文三路100号", true, "浙江省西湖区杭州市文三路100号"},
        {"浙江省杭州市西湖区文三路100号", true, "浙江省杭州市西湖区文三路100号"},
        {"浙江省杭州市西湖区文三路100号", false, "文三路100号"},
        {"浙江省,杭州市,西湖区,文三路100号", false, "文三路100号"},
        {"文三路100号", false, "文三路100号"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(completeAddress(QString::fromUtf8(c.address), QStringLiteral("浙江省"), QStringLiteral("杭州市"),
                                  QStringLiteral("西湖区"), c.withRegion),
                  QString::fromUtf8(c.result))
            << c.address << ' ' << c.withRegion;

    EXPECT_EQ(addressInputFromClipboard(QStringLiteral("张三")), QStringLiteral("剪切板中没有复制地址内容~"));
    EXPECT_EQ(addressInputFromClipboard(QString(1100, QChar(0x4E00))), QStringLiteral("剪切板数据过长，Marrowind处理不了！"));
    const QString text = QStringLiteral("张三 13812345678 浙江省杭州市西湖区文三路100号");
    EXPECT_EQ(addressInputFromClipboard(text), text);
}

class MatchAddrWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase(ProductData::Include);
        context.today = QDate(2026, 3, 10);
        waybill.reset(newBillForm(context, waybillKind()));
        waybill->setAttribute(Qt::WA_DeleteOnClose, false);
        window.setWaybill(waybill.get());
    }
    void recognise(const QString& text)
    {
        window.setInput(text);
        window.recognise();
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
    std::unique_ptr<TfmBillForm> waybill;
    TfrmMatchAddr window{context};
};

TEST_F(MatchAddrWindowTest, PastesTheRecognisedReceiverIntoTheWaybill)
{
    window.findChild<QCheckBox*>(QStringLiteral("ckWPNR"))->setChecked(true);
    recognise(QStringLiteral("收货人：张三\n手机：13812345678\n所在地区：浙江省杭州市西湖区\n详细地址：文三路100号\n邮编：310012"));
    EXPECT_EQ(window.resultText(QStringLiteral("edtName")), QStringLiteral("张三"));
    EXPECT_EQ(window.resultText(QStringLiteral("edtHandset")), QStringLiteral("13812345678"));
    EXPECT_EQ(window.resultText(QStringLiteral("edtZipcode")), QStringLiteral("310012"));
    window.findChild<QLineEdit*>(QStringLiteral("edtRemark"))->setText(QStringLiteral("文件"));
    ASSERT_TRUE(window.pasteAsReceiver());
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdSKRLXR")), QStringLiteral("张三"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("skrHandset")), QStringLiteral("13812345678"));
    EXPECT_TRUE(waybill->boxText(QStringLiteral("zdSKRS")).startsWith(QStringLiteral("浙江")));
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdSKRYB")), QStringLiteral("310012"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdSkrDZ")), QStringLiteral("文三路100号"));
    EXPECT_EQ(waybill->boxText(QStringLiteral("zdWPNR")), QStringLiteral("文件"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(MatchAddrWindowTest, NothingIsPastedWithoutAContact)
{
    recognise(QStringLiteral("13812345678"));
    window.findChild<QComboBox*>(QStringLiteral("edtName"))->setEditText(QString());
    EXPECT_FALSE(window.pasteAsSender());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！")});
    EXPECT_EQ(waybill->boxText(QStringLiteral("hkrHandset")), QString());
}

// Each text starts afresh: what an earlier one held never stays in the boxes.
TEST_F(MatchAddrWindowTest, EachRecognitionStartsAfresh)
{
    recognise(QStringLiteral("张三，13812345678，0571-88886666，浙江省杭州市西湖区文三路100号，310012"));
    EXPECT_FALSE(window.resultText(QStringLiteral("edtPhone")).isEmpty());
    recognise(QStringLiteral("李四 13912345678 广东省深圳市南山区科技园南路18号"));
    EXPECT_EQ(window.resultText(QStringLiteral("edtName")), QStringLiteral("李四"));
    EXPECT_EQ(window.resultText(QStringLiteral("edtPhone")), QString());
    EXPECT_EQ(window.resultText(QStringLiteral("edtZipcode")), QString());
    EXPECT_FALSE(window.resultText(QStringLiteral("edtAddress")).contains(QStringLiteral("文三路")));
}

// The user's character pairs apply before recognition.
TEST_F(MatchAddrWindowTest, CharacterPairsApplyFirst)
{
    context.db().execute(QStringLiteral("insert into DMTable2 (类型, 一级代码, 二级代码) values ('其他字符', '＃', '号')"));
    recognise(QStringLiteral("王五 13712345678 江苏省南京市鼓楼区中山路8＃"));
    EXPECT_TRUE(window.resultText(QStringLiteral("edtAddress")).endsWith(QStringLiteral("中山路8号")))
        << window.resultText(QStringLiteral("edtAddress")).toStdString();
}

TEST_F(MatchAddrWindowTest, RemarksAreStoredOnceAndBound)
{
    const QString remark = QStringLiteral("易碎'; drop table DMTable; --");
    EXPECT_EQ(saveRemark(context.db(), QStringLiteral("  ")), RemarkSaved::Empty);
    EXPECT_EQ(saveRemark(context.db(), remark), RemarkSaved::Added);
    EXPECT_EQ(saveRemark(context.db(), remark), RemarkSaved::Exists);
    EXPECT_TRUE(loadRemarkList(context.db(), RemarkList::Dictionary).contains(remark));
}
