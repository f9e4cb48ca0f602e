#include "templates/PrinterParamLogic.h"

#include "data/Database.h"
#include "platform/IniFile.h"
#include "platform/printing/PrintService.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"

namespace slipcraft {

namespace {

const QString kHint = QStringLiteral("提示");
const QString kKnownSection = QStringLiteral("PrinterWeKnow");
const QString kUsedSection = QStringLiteral("printeruse");
const QString kLandscape = QStringLiteral("横向");
const QString kPortrait = QStringLiteral("纵向");

std::optional<int> integerValue(const QString& text)
{
    bool ok = false;
    const int value = trimText(text).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

QStringList presetModels(const IniFile& ini)
{
    QStringList models;
    const QStringList pieces = ini.readString(kKnownSection, QStringLiteral("printers")).split(QLatin1Char(','));
    for (const QString& piece : pieces)
        if (const QString model = trimText(piece); !model.isEmpty())
            models.append(model);
    if (models.isEmpty())
        models.append(QStringLiteral("没有预选打印机配置"));
    return models;
}

PrinterPreset readPreset(const IniFile& ini, const QString& model)
{
    const QString key = QStringLiteral("default.") + model + QLatin1Char('.');
    PrinterPreset preset;
    preset.model = model;
    preset.x = integerValue(ini.readString(kKnownSection, key + QLatin1Char('x')));
    preset.y = integerValue(ini.readString(kKnownSection, key + QLatin1Char('y')));
    preset.orientation = ini.readString(kKnownSection, key + QLatin1Char('d'));
    preset.board = ini.readString(kKnownSection, key + QStringLiteral("board"));
    preset.image = ini.readString(kKnownSection, key + QStringLiteral("img"));
    return preset;
}

std::optional<PrinterPreset> lastAppliedPreset(const IniFile& ini)
{
    const QString model = ini.readString(kUsedSection, QStringLiteral("printers"));
    if (model.isEmpty())
        return std::nullopt;
    PrinterPreset preset;
    preset.model = model;
    preset.x = integerValue(ini.readString(kUsedSection, model + QStringLiteral(".x")));
    preset.y = integerValue(ini.readString(kUsedSection, model + QStringLiteral(".y")));
    preset.orientation = ini.readString(kUsedSection, model + QStringLiteral(".d"));
    preset.board = ini.readString(kUsedSection, model + QStringLiteral(".board"));
    return preset;
}

PresetApplied applyPresetToAllTemplates(AppContext& context, const PresetChoice& choice)
{
    UserMessages& messages = context.messages();
    if (!messages.ask(QStringLiteral("你确认对所有单据应用该设置吗？\r请在打印测试前调整好挡板！-") + choice.board,
                      QStringLiteral("确认")))
        return PresetApplied::Declined;

    if (choice.orientation.isEmpty()) {
        messages.show(QStringLiteral("请选择打印方向！"), kHint);
        return PresetApplied::Refused;
    }
    if (choice.orientation != kLandscape && choice.orientation != kPortrait) {
        messages.show(QStringLiteral("非法的打印方向参数！"), kHint);
        return PresetApplied::Refused;
    }
    const int orientationCode = choice.orientation == kLandscape ? 1 : 0;
    // Checked before any template changes: a refused choice leaves them all as they were.
    if (trimText(choice.model).isEmpty()) {
        messages.show(QStringLiteral("请输入适配打印机类型名！"), kHint);
        return PresetApplied::ModelMissing;
    }
    if (trimText(choice.printer).isEmpty()) {
        messages.show(QStringLiteral("请选择你的票据打印机！"), kHint);
        return PresetApplied::Refused;
    }

    int changed = 0;
    try {
        Database own(context.db().filePath(), QStringLiteral("PrinterParamApply"));
        own.inTransaction([&] {
            changed = own.execute(QStringLiteral("update CKTypeTable set XMove=:x, YMove=:y, HVPrint=:hv"),
                                  {{QStringLiteral("x"), choice.x},
                                   {QStringLiteral("y"), choice.y},
                                   {QStringLiteral("hv"), orientationCode}});
        });
    } catch (const DatabaseError&) {
        changed = 0;
    }
    const bool templatesSet = changed > 0;
    messages.show(templatesSet ? QStringLiteral("应用单据成功！") : QStringLiteral("应用单据失败！！"), kHint);

    IniFile& ini = context.userIniFile();
    const QString& model = choice.model;
    bool written = ini.writeString(kUsedSection, QStringLiteral("printers"), model);
    written = ini.writeString(kUsedSection, model + QStringLiteral(".PrinterName"), choice.printer) && written;
    written = ini.writeInteger(kUsedSection, model + QStringLiteral(".x"), choice.x) && written;
    written = ini.writeInteger(kUsedSection, model + QStringLiteral(".y"), choice.y) && written;
    written = ini.writeString(kUsedSection, model + QStringLiteral(".d"), choice.orientation) && written;
    written = ini.writeString(kUsedSection, model + QStringLiteral(".board"), choice.board) && written;
    if (PrintService* service = context.printService())
        setDefaultPrinter(*service, choice.printer, context.settings().getConfigByname(QStringLiteral("DefaultPrinter")));
    if (!written) {
        messages.show(QStringLiteral("无法写入配置文件 ") + ini.path(), kHint, UserMessages::Icon::Error);
        return PresetApplied::Failed;
    }
    messages.show(QStringLiteral("配置修改成功！"), kHint);
    return templatesSet ? PresetApplied::Done : PresetApplied::Failed;
}

bool lockBillPrinter(AppContext& context, const QString& printer)
{
    UserMessages& messages = context.messages();
    const QString name = trimText(printer);
    if (name.isEmpty()) {
        messages.show(QStringLiteral("请选择票据打印机！"), kHint);
        return false;
    }
    try {
        context.settings().setConfigByname(QStringLiteral("DefaultPrinter"), printer);
    } catch (const DatabaseError& error) {
        messages.show(error.text(), kHint, UserMessages::Icon::Error);
        return false;
    }
    if (PrintService* service = context.printService())
        setDefaultPrinter(*service, name, name);
    messages.show(QStringLiteral("默认票据打印机设置成功！"), kHint);
    return true;
}

} // namespace slipcraft
