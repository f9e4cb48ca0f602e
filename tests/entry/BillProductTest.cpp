#include "EntryFixture.h"

#include "entry/BillKind.h"
#include "platform/IniFile.h"
#include "templates/Catalogue.h"
#include "templates/FormPicture.h"

#include <QFileInfo>
#include <QImage>

using namespace slipcraft;

namespace slipcraft {

inline void PrintTo(const BillKind* kind, std::ostream* os)
{
    *os << kind->formName.toStdString();
}

} // namespace slipcraft

// What a fresh database holds for each bill kind: a usable default template whose items
// are the boxes of the kind's form, and a form picture the program draws itself.
class BillProductTest : public EntryFixture, public ::testing::WithParamInterface<const BillKind*> {
protected:
    slipcraft::ProductData productData() const override { return slipcraft::ProductData::Include; }
    const BillKind& kind() const { return *GetParam(); }
    int count(const QString& sql, int id)
    {
        return db().scalar(sql, {{QStringLiteral("id"), id}, {QStringLiteral("type"), kind().billType}}).toInt();
    }
};

TEST_P(BillProductTest, FreshDatabaseHasAUsableDefaultTemplate)
{
    Catalogue catalogue(context);
    const int id = catalogue.loadDefaultCheckTypeId(kind().billType);
    ASSERT_GT(id, 0);
    EXPECT_TRUE(messages.messages.isEmpty());
    const QStringList common = catalogue.loadCommonTypeLastNameList(kind().billType);
    ASSERT_EQ(common.size(), 1);
    EXPECT_EQ(catalogue.loadCheckTypeFullNameByID(id), kind().billType + QStringLiteral("（") + common[0] + QStringLiteral("）"));

    // Every layout row names an item, and every item has a layout.
    EXPECT_EQ(count(QStringLiteral("select count(*) from CKControl c where CheckTypeId=:id and not exists "
                                   "(select 1 from NameDict n where n.CheckTypeName=:type and n.CtlName=c.CtlName)"),
                    id),
              0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from NameDict n where CheckTypeName=:type and not exists "
                                   "(select 1 from CKControl c where c.CheckTypeId=:id and c.CtlName=n.CtlName)"),
                    id),
              0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from NameDict where CheckTypeName=:type and CtlName<>upper(CtlName)"), id),
              0);
    // Screen boxes lie inside the picture, print boxes inside the paper.
    EXPECT_EQ(count(QStringLiteral("select count(*) from CKControl c join ckTypeTable t using (CheckTypeId) where "
                                   "c.CheckTypeId=:id and (SrcX<0 or SrcY<0 or SrcX+SrcW>TWidth or SrcY+SrcH>THeight "
                                   "or CtlX<0 or CtlY<0 or CtlX+CtlW>PWidth or CtlY+CtlH>PHeight)"),
                    id),
              0);
    // The template's stored options reach the form through its layout cache.
    for (const OptionSpec& option : kind().options)
        if (option.stored)
            EXPECT_FALSE(Catalogue::getInifCheckConfigByName(catalogue.OpenCheckInif(id).get(), option.name).isEmpty())
                << option.name.toStdString();
}

// Each printable item is a box of the form (or a free tick item), so it can print; each
// box of the form is an item, so a template can place it.
TEST_P(BillProductTest, ItemsAreTheBoxesOfTheForm)
{
    const QStringList items = db().textColumn(
        QStringLiteral("select CtlName from NameDict where CheckTypeName=:type and CtlType<>'SHAPE' order by ShowOrd"),
        {{QStringLiteral("type"), kind().billType}});
    for (const QString& item : items)
        if (!item.startsWith(QLatin1String("DEFCHECK")))
            EXPECT_TRUE(kind().hasBox(item)) << item.toStdString();
    for (const BoxSpec& box : kind().boxes)
        EXPECT_TRUE(items.contains(box.name.toUpper())) << box.name.toStdString();
}

TEST_P(BillProductTest, MissingPictureIsDrawnOnceAtTheTemplateSize)
{
    const QStringList written = drawMissingFormPictures(db(), home.runPath());
    EXPECT_EQ(written.size(), billKinds().size());
    SqlQuery row = db().query(QStringLiteral("select ImgFile, TWidth, THeight from ckTypeTable where TypeFirstName=:type"),
                              {{QStringLiteral("type"), kind().billType}});
    ASSERT_TRUE(row.next());
    const QString file = home.path(QStringLiteral("Image/") + row.value(0).toString());
    EXPECT_TRUE(written.contains(file)) << file.toStdString();
    const QImage picture(file);
    EXPECT_EQ(picture.size(), QSize(row.value(1).toInt(), row.value(2).toInt()));
    // Not a blank page: the printed lines are there.
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    int dark = 0;
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x)
            dark += qGray(gray.pixel(x, y)) < 128;
    EXPECT_GT(dark, 2000);
    EXPECT_TRUE(drawMissingFormPictures(db(), home.runPath()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BillProductTest, ::testing::ValuesIn(billKinds()),
                         [](const ::testing::TestParamInfo<const BillKind*>& info) {
                             return info.param->formName.toStdString();
                         });
