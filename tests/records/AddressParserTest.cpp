#include "records/AddressParser.h"

#include <gtest/gtest.h>

using namespace slipcraft;

namespace {

// Every scalar field; "" where the text holds nothing for it.
struct Fields {
    const char* company = "";
    const char* name = "";
    const char* phone = "";
    const char* mobile = "";
    const char* country = "";
    const char* province = "";
    const char* city = "";
    const char* district = "";
    const char* detail = "";
    const char* postcode = "";
    const char* remark = "";
};

struct PasteCase {
    const char* label; // names the case in the test list
    const char* text;
    Fields want;
};

void PrintTo(const PasteCase& c, std::ostream* out)
{
    *out << c.label;
}

void expectFields(const ParsedAddress& got, const Fields& want)
{
    const std::pair<const char*, std::pair<QString, const char*>> fields[] = {
        {"company", {got.company, want.company}},    {"name", {got.name, want.name}},
        {"phone", {got.phone, want.phone}},          {"mobile", {got.mobile, want.mobile}},
        {"country", {got.country, want.country}},    {"province", {got.province, want.province}},
        {"city", {got.city, want.city}},             {"district", {got.district, want.district}},
        {"detail", {got.detail, want.detail}},       {"postcode", {got.postcode, want.postcode}},
        {"remark", {got.remark, want.remark}},
    };
    for (const auto& [field, values] : fields)
        EXPECT_EQ(values.first, QString::fromUtf8(values.second)) << field;
}

} // namespace

class PastedTextTest : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PastedTextTest, ReadsEveryField)
{
    SCOPED_TRACE(GetParam().text);
    expectFields(parseAddress(QString::fromUtf8(GetParam().text)), GetParam().want);
}

// Labelled blocks as web shops and chat templates write them.
INSTANTIATE_TEST_SUITE_P(
    Labelled, PastedTextTest,
    ::testing::Values(
        PasteCase{"WebShopBlock",
                  "收货人：张伟\n手机号码：13812345678\n所在地区：广东省深圳市南山区\n详细地址：粤海街道科技园路18号创业大厦1203室\n"
                  "邮编：518000\n备注：工作日送货",
                  {.name = "张伟", .mobile = "13812345678", .province = "广东省", .city = "深圳市", .district = "南山区",
                   .detail = "粤海街道科技园路18号创业大厦1203室", .postcode = "518000", .remark = "工作日送货"}},
        PasteCase{"AsciiColonsAndTheRegionRepeatedInTheDetail",
                  "收件人: 李娜\r\n联系电话: 0755-8888 6666\r\n所在地区: 广东省 深圳市 福田区\r\n"
                  "详细地址: 广东省深圳市福田区深南大道1001号",
                  {.name = "李娜", .phone = "0755-88886666", .province = "广东省", .city = "深圳市", .district = "福田区",
                   .detail = "深南大道1001号"}},
        PasteCase{"TownWrittenWithTheRegion",
                  "收货人：王强\n手机：15912345678\n所在地区：湖北省武汉市洪山区珞南街道\n详细地址：珞喻路1037号",
                  {.name = "王强", .mobile = "15912345678", .province = "湖北省", .city = "武汉市", .district = "洪山区",
                   .detail = "珞南街道珞喻路1037号"}},
        PasteCase{"BracketedLabels",
                  "【收货人】王芳\n【手机号】+86 139 1234 5678\n【收货地址】浙江省杭州市西湖区文三路90号\n【留言】请放门卫室",
                  {.name = "王芳", .mobile = "13912345678", .province = "浙江省", .city = "杭州市", .district = "西湖区",
                   .detail = "文三路90号", .remark = "请放门卫室"}},
        PasteCase{"SeveralLabelsOnOneLine",
                  "收件人：欧阳娜娜 电话：15012345678 地址：江苏省南京市鼓楼区中山路1号 邮编：210008",
                  {.name = "欧阳娜娜", .mobile = "15012345678", .province = "江苏省", .city = "南京市", .district = "鼓楼区",
                   .detail = "中山路1号", .postcode = "210008"}},
        PasteCase{"CopiedWebShopAddress",
                  "收货地址：刘洋，86-13712345678，广西壮族自治区 柳州市 融水苗族自治县 融水镇寿星路8号，000000",
                  {.name = "刘洋", .mobile = "13712345678", .province = "广西壮族自治区", .city = "柳州市",
                   .district = "融水苗族自治县", .detail = "融水镇寿星路8号"}},
        PasteCase{"LabelledCompanyCountryAndRemark",
                  "公司：深圳市腾飞科技有限公司\n联系人：陈晨\n固话：021-12345678转8001\n国家：中国\n"
                  "地址：上海市徐汇区漕溪北路88号\n留言：易碎品，轻拿轻放",
                  {.company = "深圳市腾飞科技有限公司", .name = "陈晨", .phone = "021-12345678-8001", .country = "中国",
                   .province = "上海市", .city = "上海市", .district = "徐汇区", .detail = "漕溪北路88号",
                   .remark = "易碎品，轻拿轻放"}},
        PasteCase{"LabelsWithABlankInsteadOfAColon",
                  "收货人 黄敏\n手机 13612345678\n地址 福建省厦门市思明区鹭江道8号",
                  {.name = "黄敏", .mobile = "13612345678", .province = "福建省", .city = "厦门市", .district = "思明区",
                   .detail = "鹭江道8号"}}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.label); });

// Unlabelled fields in any order, with whatever separates them.
INSTANTIATE_TEST_SUITE_P(
    Separated, PastedTextTest,
    ::testing::Values(
        PasteCase{"Commas", "陈静,13598765432,四川省成都市武侯区人民南路四段12号",
                  {.name = "陈静", .mobile = "13598765432", .province = "四川省", .city = "成都市", .district = "武侯区",
                   .detail = "人民南路四段12号"}},
        PasteCase{"FullWidthCommasAddressBeforeThePhone", "赵磊，湖北省武汉市洪山区珞喻路1037号，18912345678，430074",
                  {.name = "赵磊", .mobile = "18912345678", .province = "湖北省", .city = "武汉市", .district = "洪山区",
                   .detail = "珞喻路1037号", .postcode = "430074"}},
        PasteCase{"SpreadsheetRow", "孙丽\t13312345678\t内蒙古自治区\t呼和浩特市\t新城区\t兴安北路3号\t010010",
                  {.name = "孙丽", .mobile = "13312345678", .province = "内蒙古自治区", .city = "呼和浩特市",
                   .district = "新城区", .detail = "兴安北路3号", .postcode = "010010"}},
        PasteCase{"Blanks", "周杰 176 1234 5678 新疆乌鲁木齐市天山区解放北路88号 碧水花园3栋2单元501",
                  {.name = "周杰", .mobile = "17612345678", .province = "新疆维吾尔自治区", .city = "乌鲁木齐市",
                   .district = "天山区", .detail = "解放北路88号 碧水花园3栋2单元501"}},
        PasteCase{"Semicolons", "吴敏；0371 6789 1234；河南省郑州市金水区花园路66号",
                  {.name = "吴敏", .phone = "0371-67891234", .province = "河南省", .city = "郑州市", .district = "金水区",
                   .detail = "花园路66号"}},
        PasteCase{"OneFieldALineRegionApartFromStreet", "黄海\n138-1234-5678\n福建省厦门市思明区\n鹭江道8号\n361001",
                  {.name = "黄海", .mobile = "13812345678", .province = "福建省", .city = "厦门市", .district = "思明区",
                   .detail = "鹭江道8号", .postcode = "361001"}},
        PasteCase{"NameAfterTheAddress", "上海市浦东新区张江路100弄5号301室 郑强 +8613912345678",
                  {.name = "郑强", .mobile = "13912345678", .province = "上海市", .city = "上海市", .district = "浦东新区",
                   .detail = "张江路100弄5号301室"}},
        PasteCase{"ReceiptMarkAfterTheName", "北京市朝阳区建国路88号SOHO现代城5号楼1201 赵六收 (010)12345678",
                  {.name = "赵六", .phone = "010-12345678", .province = "北京市", .city = "北京市", .district = "朝阳区",
                   .detail = "建国路88号SOHO现代城5号楼1201"}},
        PasteCase{"BracketedReceiptMarkAndBracketedPostcode", "钱芳（收） 13812345678 天津市和平区南京路219号（300051）",
                  {.name = "钱芳", .mobile = "13812345678", .province = "天津市", .city = "天津市", .district = "和平区",
                   .detail = "南京路219号", .postcode = "300051"}},
        PasteCase{"SurnameWithFormOfAddress", "李女士 186 0000 1234 重庆市渝中区民族路188号",
                  {.name = "李女士", .mobile = "18600001234", .province = "重庆市", .city = "重庆市", .district = "渝中区",
                   .detail = "民族路188号"}},
        PasteCase{"CompanyLineAboveTheReceiver", "深圳市腾飞科技有限公司\n吴十 021-12345678转8001\n上海市徐汇区漕溪北路88号",
                  {.company = "深圳市腾飞科技有限公司", .name = "吴十", .phone = "021-12345678-8001", .province = "上海市",
                   .city = "上海市", .district = "徐汇区", .detail = "漕溪北路88号"}},
        PasteCase{"ChatMessage", "你好，麻烦寄到广东省广州市天河区天河路385号，张三收，电话13800000000，谢谢",
                  {.name = "张三", .mobile = "13800000000", .province = "广东省", .city = "广州市", .district = "天河区",
                   .detail = "天河路385号"}},
        PasteCase{"NothingBetweenTheParts", "张三13812345678广东省深圳市南山区科技园路18号",
                  {.name = "张三", .mobile = "13812345678", .province = "广东省", .city = "深圳市", .district = "南山区",
                   .detail = "科技园路18号"}},
        PasteCase{"NameGluedToTheStreet", "广东省深圳市南山区科技园路18号张三 13812345678",
                  {.name = "张三", .mobile = "13812345678", .province = "广东省", .city = "深圳市", .district = "南山区",
                   .detail = "科技园路18号"}},
        PasteCase{"UncommonSurnameAfterTheAddress", "海南省定安县定城镇见龙大道1号 禤健 13700000000 邮编571200",
                  {.name = "禤健", .mobile = "13700000000", .province = "海南省", .city = "定安县",
                   .detail = "定城镇见龙大道1号", .postcode = "571200"}}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.label); });

// Mobiles and landlines however they are typed.
INSTANTIATE_TEST_SUITE_P(
    Numbers, PastedTextTest,
    ::testing::Values(
        PasteCase{"MobileWithSpacedCountryCode", "张三 +86 138 1234 5678 北京市海淀区中关村大街1号",
                  {.name = "张三", .mobile = "13812345678", .province = "北京市", .city = "北京市", .district = "海淀区",
                   .detail = "中关村大街1号"}},
        PasteCase{"MobileWithCountryCodeAndDash", "张三 86-13812345678 北京市海淀区中关村大街1号",
                  {.name = "张三", .mobile = "13812345678", .province = "北京市", .city = "北京市", .district = "海淀区",
                   .detail = "中关村大街1号"}},
        PasteCase{"FullWidthDigits", "张三 １３８１２３４５６７８ 北京市海淀区中关村大街1号",
                  {.name = "张三", .mobile = "13812345678", .province = "北京市", .city = "北京市", .district = "海淀区",
                   .detail = "中关村大街1号"}},
        PasteCase{"LandlineWithExtensionAfterADash", "张三 021-12345678-8001 上海市黄浦区南京东路100号",
                  {.name = "张三", .phone = "021-12345678-8001", .province = "上海市", .city = "上海市",
                   .district = "黄浦区", .detail = "南京东路100号"}},
        PasteCase{"HouseNumberBeforeTheMobile", "王五 广东省深圳市南山区科技园路86 13812345678",
                  {.name = "王五", .mobile = "13812345678", .province = "广东省", .city = "深圳市", .district = "南山区",
                   .detail = "科技园路86"}},
        PasteCase{"MobileAndLandlineTogether", "张三 13812345678 0755-88886666 广东省深圳市福田区深南大道1001号",
                  {.name = "张三", .phone = "0755-88886666", .mobile = "13812345678", .province = "广东省", .city = "深圳市",
                   .district = "福田区", .detail = "深南大道1001号"}}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.label); });

// Regions typed in full, short, spaced or not; autonomous units; municipalities; Hong Kong and Macau.
INSTANTIATE_TEST_SUITE_P(
    Regions, PastedTextTest,
    ::testing::Values(
        PasteCase{"SpacedFullNames", "张三 13812345678 广东省 深圳市 南山区 科技园路18号",
                  {.name = "张三", .mobile = "13812345678", .province = "广东省", .city = "深圳市", .district = "南山区",
                   .detail = "科技园路18号"}},
        PasteCase{"ShortNames", "张三 13812345678 广东深圳南山区科技园路18号",
                  {.name = "张三", .mobile = "13812345678", .province = "广东省", .city = "深圳市", .district = "南山区",
                   .detail = "科技园路18号"}},
        PasteCase{"AutonomousPrefectureInFull", "扎西 13812345678 四川省阿坝藏族羌族自治州马尔康市达萨街12号",
                  {.name = "扎西", .mobile = "13812345678", .province = "四川省", .city = "阿坝藏族羌族自治州",
                   .district = "马尔康市", .detail = "达萨街12号"}},
        PasteCase{"AutonomousUnitsShort", "张三 13812345678 四川阿坝州马尔康市达萨街12号",
                  {.name = "张三", .mobile = "13812345678", .province = "四川省", .city = "阿坝藏族羌族自治州",
                   .district = "马尔康市", .detail = "达萨街12号"}},
        PasteCase{"AutonomousCountyShort", "张三 13812345678 广西柳州融水县寿星路8号",
                  {.name = "张三", .mobile = "13812345678", .province = "广西壮族自治区", .city = "柳州市",
                   .district = "融水苗族自治县", .detail = "寿星路8号"}},
        PasteCase{"MunicipalityTypedTwice", "张三 13812345678 北京 北京市 朝阳区 建国路88号",
                  {.name = "张三", .mobile = "13812345678", .province = "北京市", .city = "北京市", .district = "朝阳区",
                   .detail = "建国路88号"}},
        PasteCase{"CountyOfChongqing", "张三 13812345678 重庆市城口县葛城街道北大街1号",
                  {.name = "张三", .mobile = "13812345678", .province = "重庆市", .city = "重庆市", .district = "城口县",
                   .detail = "葛城街道北大街1号"}},
        PasteCase{"HongKong", "陈大文 13812345678 香港特别行政区九龙油尖旺区弥敦道188号",
                  {.name = "陈大文", .mobile = "13812345678", .province = "香港特别行政区", .city = "九龙",
                   .district = "油尖旺区", .detail = "弥敦道188号"}},
        PasteCase{"MacauByItsIslandName", "林女士 13612345678 澳门氹仔 嘉模斜巷5号",
                  {.name = "林女士", .mobile = "13612345678", .province = "澳门特别行政区", .city = "澳门外岛",
                   .district = "嘉模堂区（氹仔）", .detail = "嘉模斜巷5号"}},
        PasteCase{"CityAloneTellsTheProvince", "张三 13812345678 苏州市吴中区东吴北路1号",
                  {.name = "张三", .mobile = "13812345678", .province = "江苏省", .city = "苏州市", .district = "吴中区",
                   .detail = "东吴北路1号"}},
        PasteCase{"UniqueDistrictAloneTellsItsParents", "王五 13800000000 浦东新区张江路100号",
                  {.name = "王五", .mobile = "13800000000", .province = "上海市", .city = "上海市", .district = "浦东新区",
                   .detail = "张江路100号"}},
        PasteCase{"DistrictOfTwoCitiesLeavesThemOpen", "王五 13800000000 朝阳区建国路88号",
                  {.name = "王五", .mobile = "13800000000", .district = "朝阳区", .detail = "建国路88号"}},
        PasteCase{"StreetNamedAfterTheDistrictIsNoDistrict", "黄三 13800000000 广东省广州市天河路385号",
                  {.name = "黄三", .mobile = "13800000000", .province = "广东省", .city = "广州市", .detail = "天河路385号"}},
        PasteCase{"ShortCityFollowedByADistrictOfStreetLikeName", "贾俊杰, 18007133446, 浙江台州路桥区 曙光一路827号",
                  {.name = "贾俊杰", .mobile = "18007133446", .province = "浙江省", .city = "台州市", .district = "路桥区",
                   .detail = "曙光一路827号"}},
        PasteCase{"ProvinceNameAsProvinceAndCity", "何四 13900000000 吉林船营区解放东路5号",
                  {.name = "何四", .mobile = "13900000000", .province = "吉林省", .city = "吉林市", .district = "船营区",
                   .detail = "解放东路5号"}}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.label); });

TEST(AddressParserTest, EachListStartsWithTheChosenValueAndKeepsTheOthers)
{
    const ParsedAddress a = parseAddress(QStringLiteral("王五 13800000000 15900000000 朝阳区建国路88号"));
    EXPECT_EQ(a.mobiles, QStringList({QStringLiteral("13800000000"), QStringLiteral("15900000000")}));
    EXPECT_EQ(a.districts.value(0), QStringLiteral("朝阳区"));
    // Both cities with a 朝阳区 are offered, since the text tells neither.
    EXPECT_TRUE(a.provinces.contains(QStringLiteral("北京市"))) << a.provinces.join(u' ').toStdString();
    EXPECT_TRUE(a.cities.contains(QStringLiteral("长春市"))) << a.cities.join(u' ').toStdString();
}

TEST(AddressParserTest, NothingOfOneTextReachesTheNext)
{
    const QString full = QStringLiteral(
        "公司：华信贸易有限公司\n收货人：李娜\n电话：0755-88886666\n手机：13812345678\n国家：中国\n"
        "地址：广东省深圳市福田区深南大道1001号\n邮编：518000\n备注：工作日送货");
    const QString sparse = QStringLiteral("张三 海淀区中关村大街1号");
    const ParsedAddress alone = parseAddress(sparse);
    parseAddress(full);
    EXPECT_EQ(parseAddress(sparse), alone);
    EXPECT_TRUE(alone.company.isEmpty() && alone.remark.isEmpty() && alone.country.isEmpty() && alone.phones.isEmpty());
}

TEST(AddressParserTest, CharacterPairsApplyBeforeAnythingElse)
{
    // "／" separates nothing until the user's pair makes it a comma.
    const QString text = QStringLiteral("张三／13812345678／广东省深圳市南山区科技园路18号（东门）");
    AddressParseOptions options;
    options.characterPairs = {{QStringLiteral("／"), QStringLiteral("，")}, {QStringLiteral("（"), QStringLiteral("(")},
                              {QStringLiteral("）"), QStringLiteral(")")}};
    const ParsedAddress paired = parseAddress(text, options);
    EXPECT_EQ(paired.name, QStringLiteral("张三"));
    EXPECT_EQ(paired.mobile, QStringLiteral("13812345678"));
    EXPECT_EQ(paired.detail, QStringLiteral("科技园路18号(东门)"));
    EXPECT_NE(parseAddress(text).name, QStringLiteral("张三"));
}

TEST(AddressParserTest, CharacterPairsApplyInTheirOrder)
{
    const QString text = QStringLiteral("张三 13812345678 广东省深圳市南山区科技园路18号A座");
    AddressParseOptions options;
    options.characterPairs = {{QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("B"), QStringLiteral("C")}};
    EXPECT_EQ(parseAddress(text, options).detail, QStringLiteral("科技园路18号C座"));
    std::swap(options.characterPairs[0], options.characterPairs[1]);
    EXPECT_EQ(parseAddress(text, options).detail, QStringLiteral("科技园路18号B座"));
}
