#include "EntryFixture.h"

#include "templates/Catalogue.h"
#include "templates/FormPicture.h"

#include <QImage>

using namespace slipcraft;

class ChequeSeedTest : public EntryFixture {
protected:
    slipcraft::ProductData productData() const override { return slipcraft::ProductData::Include; }
};

TEST_F(ChequeSeedTest, FreshDatabaseHasAUsableDefaultChequeTemplate)
{
    Catalogue catalogue(context);
    const int id = catalogue.loadDefaultCheckTypeId(QStringLiteral("支票"));
    ASSERT_GT(id, 0);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(catalogue.loadCommonTypeLastNameList(QStringLiteral("支票")), QStringList{QStringLiteral("转账支票")});
    EXPECT_EQ(catalogue.loadCheckTypeFullNameByID(id), QStringLiteral("支票（转账支票）"));

    // Every layout row names an item, and every printing item on the face has a layout.
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from CKControl c where CheckTypeId=:id and not exists "
                                         "(select 1 from NameDict n where n.CheckTypeName='支票' and n.CtlName=c.CtlName)"),
                          {{QStringLiteral("id"), id}})
                  .toInt(),
              0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from NameDict n where CheckTypeName='支票' and not exists "
                                         "(select 1 from CKControl c where c.CheckTypeId=:id and c.CtlName=n.CtlName)"),
                          {{QStringLiteral("id"), id}})
                  .toInt(),
              0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName='支票' and CtlName<>upper(CtlName)"))
                  .toInt(),
              0);
    // Screen boxes lie inside the picture, print boxes inside the paper.
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from CKControl c join ckTypeTable t using (CheckTypeId) where "
                                         "c.CheckTypeId=:id and (SrcX<0 or SrcY<0 or SrcX+SrcW>TWidth or SrcY+SrcH>THeight "
                                         "or CtlX+CtlW>PWidth or CtlY+CtlH>PHeight)"),
                          {{QStringLiteral("id"), id}})
                  .toInt(),
              0);
    EXPECT_EQ(Catalogue::getInifCheckConfigByName(catalogue.OpenCheckInif(id).get(), QStringLiteral("cfgDateChinese")),
              QStringLiteral("1"));
}

TEST_F(ChequeSeedTest, MissingPictureIsDrawnOnceAtTheTemplateSize)
{
    const QStringList written = drawMissingFormPictures(db(), home.runPath());
    ASSERT_EQ(written.size(), 1);
    EXPECT_TRUE(written[0].endsWith(QStringLiteral("Image/zp100.jpg")));
    const QImage picture(written[0]);
    EXPECT_EQ(picture.size(), QSize(960, 320));
    // Not a blank page: the printed lines are there.
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    int dark = 0;
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x)
            dark += qGray(gray.pixel(x, y)) < 128;
    EXPECT_GT(dark, 2000);
    EXPECT_TRUE(drawMissingFormPictures(db(), home.runPath()).isEmpty());
}
