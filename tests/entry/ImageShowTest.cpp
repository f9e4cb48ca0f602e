#include "RecordingMessages.h"
#include "TempHome.h"

#include "entry/ImageShow.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTest>

using namespace slipcraft;

namespace {

class ImageShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.createDatabase();
        ASSERT_TRUE(QDir(home.runPath()).mkpath(QStringLiteral("image")));
    }

    void addTemplate(int id, const QString& name, const QString& imageFile)
    {
        context.db().execute(QStringLiteral("insert into ckTypeTable (CheckTypeId, TypeName, ImgFile) values (:id, :name, :file)"),
                             {{QStringLiteral("id"), id}, {QStringLiteral("name"), name}, {QStringLiteral("file"), imageFile}});
    }

    void writePicture(const QString& relative, QSize size)
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::white);
        ASSERT_TRUE(picture.save(home.path(relative), "JPG"));
    }

    QSize shownSize() const
    {
        const QPixmap picture = window.image()->pixmap();
        return picture.isNull() ? QSize() : picture.size();
    }

    TempHome home;
    RecordingMessages messages;
    AppContext context{home.runPath(), messages};
    TfrmImageShow window{context};
};

const QString kTemplate = QStringLiteral("支票（工行'新版）");

} // namespace

TEST_F(ImageShowTest, ShowsTheTemplatePictureFoundWithoutRegardToCase)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Marrowind图示"));
    EXPECT_EQ(window.size(), QSize(870, 640));
    addTemplate(1, kTemplate, QStringLiteral("ZP1.jpg"));
    writePicture(QStringLiteral("image/zp1.JPG"), QSize(120, 80));

    window.loadPictureByFullName(kTemplate);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Marrowind软件-模板图片查看【") + kTemplate + QStringLiteral("】"));
    EXPECT_EQ(shownSize(), QSize(120, 80));
    EXPECT_EQ(window.image()->size(), QSize(120, 80));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(ImageShowTest, EachLoadReplacesThePicture)
{
    addTemplate(1, kTemplate, QStringLiteral("zp1.jpg"));
    writePicture(QStringLiteral("image/zp1.jpg"), QSize(50, 40));
    addTemplate(2, QStringLiteral("无图"), QString());
    addTemplate(3, QStringLiteral("缺图"), QStringLiteral("zp3.jpg"));

    struct Case {
        QString name;
        QString message; // empty: none; "*": any
    };
    const Case cases[] = {
        {QStringLiteral("无图"), QStringLiteral("没有有效的图片文件~")},
        {QStringLiteral("缺图"), QStringLiteral("*")},
        {QStringLiteral("没有这个模板"), QString()},
        {QString(), QString()},
        {QStringLiteral("支票（工行_新版）"), QString()}, // names are matched exactly
    };
    for (const Case& c : cases) {
        window.loadPictureByFullName(kTemplate);
        ASSERT_EQ(shownSize(), QSize(50, 40));
        messages.messages.clear();

        window.loadPictureByFullName(c.name);
        EXPECT_EQ(shownSize(), QSize()) << c.name.toStdString();
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Marrowind软件-模板图片查看【") + c.name + QStringLiteral("】"));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.messages.isEmpty()) << c.name.toStdString();
        } else {
            ASSERT_EQ(messages.messages.size(), 1) << c.name.toStdString();
            if (c.message != QLatin1String("*"))
                EXPECT_EQ(messages.messages[0].text, c.message);
        }
    }
}

TEST_F(ImageShowTest, AClickOnThePictureClosesTheWindow)
{
    window.setPicture(QPixmap(30, 30));
    window.show();
    ASSERT_TRUE(window.isVisible());
    QTest::mouseClick(window.image(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window.isVisible());
}
