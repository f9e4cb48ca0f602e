#include "CatalogueFixture.h"
#include "PackageFixture.h"

#include "templates/CheckTypeMngLogic.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <vector>

using namespace slipcraft;

namespace {

const QString kDefault = QStringLiteral("默认");
const QString kCommon = QStringLiteral("是");
const QString kHidden = QStringLiteral("停用隐藏");

// Six templates: two cheque defaults (one named only by its full name), a hidden one, a
// deposit slip default.
class CheckTypeMngTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        seed();
    }

    void seed()
    {
        db().inTransaction([this] {
            for (const char* table : {"ckTypeTable", "CKControl", "DMTable"})
                db().execute(QStringLiteral("delete from ") + QString::fromLatin1(table));
            addTemplate({.id = 1, .billType = "支票", .name = "A", .isDefault = kDefault, .isCommon = kCommon});
            addTemplate({.id = 2, .billType = "支票", .name = "B", .isCommon = kCommon});
            addTemplate({.id = 3, .billType = "支票", .name = "C", .visible = kHidden});
            addTemplate({.id = 4, .billType = "进账单", .name = "D", .isDefault = kDefault, .isCommon = kCommon});
            addTemplate({.id = 5, .billType = "支票", .name = "E"});
            addTemplate({.id = 6, .billType = "", .name = "F", .isDefault = kDefault, .fullName = "支票（F）"});
        });
        messages.messages.clear();
    }

    ManagedTemplate row(int id)
    {
        for (TemplateTab tab : {TemplateTab::Usable, TemplateTab::Hidden})
            for (const ManagedTemplate& listed : loadManagedTemplates(db(), tab, {}, {}))
                if (listed.id == id)
                    return listed;
        ADD_FAILURE() << "no template " << id;
        return {};
    }
    QList<ManagedTemplate> rows(const QList<int>& ids)
    {
        QList<ManagedTemplate> chosen;
        for (int id : ids)
            chosen << row(id);
        return chosen;
    }

    // "id:default/common/visible" of every template.
    QStringList states()
    {
        QStringList all;
        SqlQuery query = db().query(QStringLiteral("select CheckTypeId, IsDefault, IsCommon, Visiable from ckTypeTable order by CheckTypeId"));
        while (query.next())
            all << QStringLiteral("%1:%2/%3/%4")
                       .arg(query.value(0).toInt())
                       .arg(query.value(1).toString(), query.value(2).toString(), query.value(3).toString());
        return all;
    }

    void addPicture(int id, const QString& file, const QByteArray& bytes)
    {
        db().execute(QStringLiteral("update ckTypeTable set ImgFile = :file where CheckTypeId = :id"),
                     {{"file", file}, {"id", id}});
        if (!bytes.isNull())
            writeFile(home.path(QStringLiteral("Image/") + file), bytes);
    }

    int count(const char* table) { return db().scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table)).toInt(); }

    CheckTypeMngLogic logic{context};
};

} // namespace

TEST_F(CheckTypeMngTest, StateChanges)
{
    const QStringList initial = {"1:默认/是/启用", "2:0/是/启用", "3:0/否/停用隐藏", "4:默认/是/启用", "5:0/否/启用", "6:默认/否/启用"};
    struct Case {
        const char* what;
        std::function<void()> act;
        QStringList changed; // the states that differ from the initial ones
        QStringList shown;
    };
    const std::vector<Case> cases = {
        {"a hidden template becomes the only default of its bill type, enabled and common",
         [&] {
             const ManagedTemplate chosen = row(3);
             EXPECT_TRUE(logic.setDefault(&chosen));
         },
         {"1:0/是/启用", "3:默认/是/启用", "6:0/否/启用"},
         {"默认【支票票据】模板设置成功！"}},
        {"no row chosen", [&] { EXPECT_FALSE(logic.setDefault(nullptr)); }, {}, {"没有选中要设置的票据模板！"}},
        {"two made common, the hidden one enabled",
         [&] { EXPECT_EQ(logic.makeCommon(rows({3, 5})), 2); },
         {"3:0/是/启用", "5:0/是/启用"},
         {"共添加 2 个模板为常用模板！\n\r\n\r新设置常用快递后，请重开快递单填开界面生效~"}},
        {"the default stays common, the other leaves",
         [&] { EXPECT_EQ(logic.removeFromCommon(rows({1, 2})), 1); },
         {"2:0/否/启用"},
         {"默认模板不能从常用模板移出！", "共从常用模板移出 1 个模板为普通模板！"}},
        {"hidden", [&] { EXPECT_TRUE(logic.setHidden(rows({1, 5}), true)); },
         {"1:默认/是/停用隐藏", "5:0/否/停用隐藏"},
         {"隐藏的模板，可在【隐藏的模板】中重新启用。"}},
        {"enabled", [&] { EXPECT_TRUE(logic.setHidden(rows({3}), false)); }, {"3:0/否/启用"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seed();
        ASSERT_EQ(states(), initial);
        c.act();
        QStringList expected = initial;
        for (const QString& state : c.changed)
            expected[state.section(QLatin1Char(':'), 0, 0).toInt() - 1] = state;
        EXPECT_EQ(states(), expected);
        EXPECT_EQ(shownTexts(), c.shown);
    }
}

TEST_F(CheckTypeMngTest, ListsByTabBillTypeAndKey)
{
    struct Case {
        TemplateTab tab;
        const char* billType;
        const char* key;
        QList<int> ids;
        TabButtons buttons;
    };
    const Case cases[] = {
        {TemplateTab::Usable, "", "", {1, 2, 5, 6, 4}, {true, true, true, false, false, true}},
        {TemplateTab::Common, "", "", {1, 2, 4}, {true, false, true, false, true, true}},
        {TemplateTab::Default, "", "", {1, 6, 4}, {}},
        {TemplateTab::Hidden, "", "", {3}, {true, true, false, true, false, true}},
        {TemplateTab::Usable, "进账单", "", {4}, {true, true, true, false, false, true}},
        {TemplateTab::Usable, "支票", "（b", {2}, {true, true, true, false, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.billType) + "/" + c.key + "/" + std::to_string(int(c.tab)));
        QList<int> ids;
        for (const ManagedTemplate& listed :
             loadManagedTemplates(db(), c.tab, QString::fromUtf8(c.billType), QString::fromUtf8(c.key)))
            ids << listed.id;
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(tabButtons(c.tab), c.buttons);
    }
}

TEST_F(CheckTypeMngTest, Renaming)
{
    struct Case {
        const char* answer;
        bool renamed;
        QString typeName;
        QStringList shown;
    };
    const Case cases[] = {
        {"B", false, "支票（B）", {}},
        {"", false, "支票（B）", {}},
        {" 新 名(1)'%*?（） ", true, "支票（新名1）", {"重名名成功~"}},
        {"()", false, "支票（B）", {"输入了无效的字符(引号\\?\\*\\(\\)\\%)!"}},
        {"C", false, "支票（B）", {"模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        seed();
        const ManagedTemplate chosen = row(2);
        EXPECT_EQ(renameDefault(chosen), QStringLiteral("B"));
        EXPECT_EQ(logic.rename(chosen, QString::fromUtf8(c.answer)), c.renamed);
        EXPECT_EQ(catalogue.loadCheckTypeFullNameByID(2), c.typeName);
        EXPECT_EQ(shownTexts(), c.shown);
    }
    // The bill type of a template named only by its full name is kept.
    seed();
    ASSERT_TRUE(logic.rename(row(6), QStringLiteral("G")));
    EXPECT_EQ(catalogue.loadCheckTypeIDByFirstAndLastName(QStringLiteral("支票"), QStringLiteral("G")), 6);
}

TEST_F(CheckTypeMngTest, CloneCopiesRowItemsOptionsAndPicture)
{
    db().execute(QStringLiteral("update ckTypeTable set XMove = 12, YMove = -3, TWidth = 800, PWidth = 2400, CheckBoxs = '加急'"
                                " where CheckTypeId = 1"));
    addLayout(1, {"zdA", 10, 20, 30, 40, 1, "x"});
    addLayout(1, {"zdB", 11, 21, 31, 41, 0, QVariant()});
    addOption(1, QStringLiteral("cfgDateChinese"), QStringLiteral("1"));
    addPicture(1, QStringLiteral("zp1.jpg"), QByteArray("picture of A"));

    const int id = logic.clone(row(1), QStringLiteral("新 (A)'"));
    ASSERT_EQ(id, 7) << shownTexts().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("克隆模板成功，已新增一个同类模板~"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("提示"));

    const auto columns = [this](int of) {
        QStringList values;
        SqlQuery query = db().query(QStringLiteral("select TypeName, TypeFirstName, TypeDescribe, IsDefault, IsCommon, Visiable,"
                                                   " XMove, YMove, TWidth, PWidth, CheckBoxs, ImgFile from ckTypeTable"
                                                   " where CheckTypeId = :id"),
                                    {{"id", of}});
        if (query.next())
            for (int i = 0; i < 12; ++i)
                values << query.value(i).toString();
        return values;
    };
    EXPECT_EQ(columns(7), (QStringList{"支票（新A）", "支票", "新A", "0", "是", "启用", "12", "-3", "800", "2400", "加急", "zp7.jpg"}));
    const auto layout = [this](int of) {
        QList<QVariantMap> all;
        SqlQuery query = db().query(QStringLiteral("select CtlName, SrcX, SrcY, SrcW, SrcH, NeedShow, InitValue from CKControl"
                                                   " where CheckTypeId = :id order by ID"),
                                    {{"id", of}});
        while (query.next()) {
            QVariantMap item;
            for (int i = 0; i < 7; ++i)
                item.insert(query.record().fieldName(i), query.value(i));
            all << item;
        }
        return all;
    };
    EXPECT_EQ(layout(7), layout(1));
    EXPECT_EQ(layout(7).size(), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("select DMValue from DMTable where CheckTypeId = 7 and DMName = 'cfgDateChinese'")).toString(),
              QStringLiteral("1"));
    EXPECT_EQ(fileBytes(home.path(QStringLiteral("Image/zp7.jpg"))), QByteArray("picture of A"));
}

// A clone that cannot be finished leaves no part of itself behind.
TEST_F(CheckTypeMngTest, CloneThatFailsLeavesNothing)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
        int source;
        QString shownStart;
    };
    const std::vector<Case> cases = {
        {"picture file missing", [&] { addPicture(1, QStringLiteral("gone.jpg"), QByteArray()); }, 1,
         QStringLiteral("修改失败，错误=模板图片复制失败：")},
        {"options cannot be written",
         [&] {
             db().execute(QStringLiteral("create trigger refuse before insert on DMTable begin select raise(abort, 'disk full'); end"));
         },
         1, QStringLiteral("修改失败，错误=disk full")},
        {"no items", [&] { db().execute(QStringLiteral("delete from CKControl where CheckTypeId = 2")); }, 2,
         QStringLiteral("修改失败，错误=找不到源模板细节数据，ID=2")},
        {"bill type without a code",
         [&] { addTemplate({.id = 8, .billType = "收据", .name = "R"}); }, 8,
         QStringLiteral("修改失败，错误=没有找到模板的主类型编码:收据")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seed();
        db().execute(QStringLiteral("drop trigger if exists refuse"));
        for (int id : {1, 2, 8})
            addLayout(id, {"zdA", 10, 20, 30, 40, 1, "x"});
        addOption(1, QStringLiteral("cfgDateChinese"), QStringLiteral("1"));
        addPicture(1, QStringLiteral("zp1.jpg"), QByteArray("picture of A"));
        c.arrange();
        const int templates = count("ckTypeTable"), items = count("CKControl"), options = count("DMTable");
        const QStringList pictures = QDir(home.path(QStringLiteral("Image"))).entryList(QDir::Files);

        EXPECT_EQ(logic.clone(row(c.source), QStringLiteral("新")), 0);
        EXPECT_EQ(count("ckTypeTable"), templates);
        EXPECT_EQ(count("CKControl"), items);
        EXPECT_EQ(count("DMTable"), options);
        EXPECT_EQ(QDir(home.path(QStringLiteral("Image"))).entryList(QDir::Files), pictures);
        ASSERT_EQ(shownTexts().size(), 1);
        EXPECT_TRUE(shownTexts()[0].startsWith(c.shownStart)) << shownTexts()[0].toStdString();
    }
}

TEST_F(CheckTypeMngTest, Deleting)
{
    addLayout(1, {"zdA", 10, 20, 30, 40, 1, "x"});
    addOption(1, QStringLiteral("cfgDateChinese"), QStringLiteral("1"));
    addPicture(1, QStringLiteral("zp1.jpg"), QByteArray("picture of A"));
    addPicture(2, QStringLiteral("shared.jpg"), QByteArray("shared"));
    addPicture(5, QStringLiteral("shared.jpg"), QByteArray("shared"));
    addTemplate({.id = 9, .billType = "", .name = "", .fullName = "无括号"});

    // Refused at the first question: nothing goes, and the count says so.
    messages.answer = false;
    EXPECT_EQ(logic.deleteTemplates(rows({1})), 0);
    EXPECT_EQ(shownTexts(), (QStringList{"确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置为隐藏。", "共删除 0 个模板！"}));
    EXPECT_EQ(count("ckTypeTable"), 7);

    messages.messages.clear();
    messages.answer = true;
    EXPECT_EQ(logic.deleteTemplates(rows({1, 2, 9})), 2);
    EXPECT_EQ(shownTexts(), (QStringList{"确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置为隐藏。",
                                         "确认删除票据模板【支票（A）】吗？", "确认删除票据模板【支票（B）】吗？",
                                         "获取单据类型失败：无括号", "共删除 2 个模板！"}));
    EXPECT_EQ(messages.messages[1].caption, QStringLiteral("警告"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from ckTypeTable where CheckTypeId in (1, 2)")).toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from CKControl where CheckTypeId = 1")).toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId = 1")).toInt(), 0);
    EXPECT_FALSE(QFile::exists(home.path(QStringLiteral("Image/zp1.jpg"))));
    // Template 5 still shows the picture it shared with 2.
    EXPECT_TRUE(QFile::exists(home.path(QStringLiteral("Image/shared.jpg"))));
    EXPECT_FALSE(catalogue.loadCheckTypeFullNameByID(9).isEmpty());
}
