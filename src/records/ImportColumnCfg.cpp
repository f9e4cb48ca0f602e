#include "records/ImportColumnCfg.h"

#include "data/Database.h"
#include "data/Up2NewVersionLogic.h"
#include "records/ImportMatchLogic.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"
#include "shell/WindowSettings.h"
#include "wording/Functions.h"
#include "shell/WindowParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace slipcraft {

TfrmImportColumnCfg::TfrmImportColumnCfg(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , gridRules(new QTableWidget(this))
    , edtItemName(new QLineEdit(this))
    , edtSourceName(new QLineEdit(this))
    , edtShowOrd(new QLineEdit(this))
    , btSubmit(commandButton(this, QStringLiteral("提交修改"), "btSubmit"))
    , btRestore(commandButton(this, QStringLiteral("恢复原始设置"), "btRestore"))
    , btAdd(commandButton(this, QStringLiteral("添加"), "btAdd"))
    , btDelete(commandButton(this, QStringLiteral("删除"), "btDelete"))
    , btClose(commandButton(this, QStringLiteral("关闭"), "btClose"))
{
    setObjectName(QStringLiteral("frmImportColumnCfg"));
    setWindowTitle(QStringLiteral("导入列匹配-设置"));
    gridRules->setObjectName(QStringLiteral("gridRules"));
    edtItemName->setObjectName(QStringLiteral("edtItemName"));
    edtSourceName->setObjectName(QStringLiteral("edtSourceName"));
    edtShowOrd->setObjectName(QStringLiteral("edtShowOrd"));

    gridRules->setColumnCount(3);
    gridRules->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("项目名"), QStringLiteral("Excel/CSV源列名")});
    gridRules->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridRules->setSelectionMode(QAbstractItemView::SingleSelection);
    gridRules->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridRules->verticalHeader()->hide();
    gridRules->horizontalHeader()->setStretchLastSection(true);
    gridRules->setColumnWidth(0, 40);
    gridRules->setColumnWidth(1, 90);
    edtItemName->setReadOnly(true);
    btAdd->hide();
    btDelete->hide();

    auto* editor = new QGridLayout;
    editor->addWidget(new QLabel(QStringLiteral("项目名:"), this), 0, 0);
    editor->addWidget(edtItemName, 0, 1);
    editor->addWidget(new QLabel(QStringLiteral("顺序:"), this), 0, 2);
    editor->addWidget(edtShowOrd, 0, 3);
    editor->addWidget(new QLabel(QStringLiteral("Excel/CSV源列名:"), this), 1, 0);
    editor->addWidget(edtSourceName, 1, 1, 1, 3);
    editor->addWidget(new QLabel(QStringLiteral("提示：多个列名以逗号分隔(例如： 联系人,收货人,收件人 ) 。"), this), 2, 0, 1, 4);
    editor->setColumnStretch(1, 1);
    auto* commands = new QHBoxLayout;
    for (QPushButton* command : {btSubmit, btRestore, btAdd, btDelete})
        commands->addWidget(command);
    commands->addStretch();
    commands->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridRules, 1);
    layout->addLayout(editor);
    layout->addLayout(commands);
    resize(640, 520);
    FormFaceLoad(this, context_.userIniFile());

    connect(gridRules, &QTableWidget::currentCellChanged, this, &TfrmImportColumnCfg::showCurrent);
    connect(edtShowOrd, &QLineEdit::textEdited, this, &TfrmImportColumnCfg::orderTyped);
    connect(btSubmit, &QPushButton::clicked, this, &TfrmImportColumnCfg::submit);
    connect(btRestore, &QPushButton::clicked, this, &TfrmImportColumnCfg::restoreDefaults);
    connect(btAdd, &QPushButton::clicked, this, &TfrmImportColumnCfg::addRule);
    connect(btDelete, &QPushButton::clicked, this, &TfrmImportColumnCfg::deleteRule);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    connect(this, &QDialog::finished, this, [this] { FormFaceSave(this, context_.userIniFile()); });
    loadRules();
}

void TfrmImportColumnCfg::loadRules(int currentId)
{
    QSignalBlocker block(gridRules);
    gridRules->setRowCount(0);
    try {
        SqlQuery rows = context_.db().query(
            QStringLiteral("select Id, ItemName, SourceName, ShowOrd from MatchColumn where MatchType=:MatchType order by Id"),
            {{QStringLiteral("MatchType"), importing::kMatchType}});
        while (rows.next()) {
            const int row = gridRules->rowCount();
            gridRules->insertRow(row);
            for (int column = 0; column < 3; ++column)
                gridRules->setItem(row, column, new QTableWidgetItem(rows.value(column).toString()));
            gridRules->item(row, 0)->setData(Qt::UserRole, rows.value(3));
        }
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
    }
    int current = 0;
    for (int row = 0; row < gridRules->rowCount(); ++row) {
        if (gridRules->item(row, 0)->text().toInt() == currentId)
            current = row;
    }
    if (gridRules->rowCount() > 0)
        gridRules->setCurrentCell(current, 0);
    showCurrent();
}

int TfrmImportColumnCfg::currentId() const
{
    const int row = gridRules->currentRow();
    return row < 0 ? 0 : gridRules->item(row, 0)->text().toInt();
}

void TfrmImportColumnCfg::showCurrent()
{
    const int row = gridRules->currentRow();
    edtItemName->setText(row < 0 ? QString() : gridRules->item(row, 1)->text());
    edtSourceName->setText(row < 0 ? QString() : gridRules->item(row, 2)->text());
    edtShowOrd->setText(row < 0 ? QString() : gridRules->item(row, 0)->data(Qt::UserRole).toString());
}

void TfrmImportColumnCfg::orderTyped(const QString& text)
{
    const bool maintenance = text == kMaintenanceCode;
    if (maintenance) {
        btAdd->show();
        btDelete->show();
    }
    edtItemName->setReadOnly(!maintenance);
}

QString TfrmImportColumnCfg::cleanedHeadings(const QString& typed)
{
    QString headings = trimText(typed);
    headings.remove(QLatin1Char('\'')).remove(QLatin1Char('?'));
    headings.replace(QStringLiteral("，"), QStringLiteral(","));
    for (int pass = 0; pass < 2; ++pass)
        headings.replace(QStringLiteral(",,"), QStringLiteral(","));
    return trimText(headings);
}

bool TfrmImportColumnCfg::submit()
{
    const int id = currentId();
    if (id <= 0 || trimText(edtItemName->text()).isEmpty())
        return false;
    const QString headings = cleanedHeadings(edtSourceName->text());
    if (headings.isEmpty()) {
        context_.messages().show(QStringLiteral("请输入有效的Excel/csv列名"));
        edtSourceName->setFocus();
        return false;
    }
    try {
        if (edtItemName->isReadOnly())
            context_.db().execute(QStringLiteral("update MatchColumn set SourceName=:source where Id=:id"),
                                  {{QStringLiteral("source"), headings}, {QStringLiteral("id"), id}});
        else
            context_.db().execute(QStringLiteral("update MatchColumn set SourceName=:source, ItemName=:item where Id=:id"),
                                  {{QStringLiteral("source"), headings},
                                   {QStringLiteral("item"), trimText(edtItemName->text())},
                                   {QStringLiteral("id"), id}});
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
        return false;
    }
    loadRules(id);
    return true;
}

void TfrmImportColumnCfg::restoreDefaults()
{
    try {
        resetMatchColumn(context_.db());
    } catch (const DatabaseError& error) {
        context_.messages().show(QStringLiteral("MatchColumn表格初始化数据失败!") + error.text());
        return;
    }
    context_.messages().show(QStringLiteral("重置成功！"));
    loadRules();
}

void TfrmImportColumnCfg::addRule()
{
    try {
        Database& db = context_.db();
        db.execute(QStringLiteral("insert into MatchColumn (MatchType, ItemName, SourceName, ShowOrd) "
                                  "values (:type, '', '', 0)"),
                   {{QStringLiteral("type"), importing::kMatchType}});
        loadRules(db.scalar(QStringLiteral("select max(Id) from MatchColumn")).toInt());
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
        return;
    }
    edtItemName->setReadOnly(false);
    edtItemName->setFocus();
}

void TfrmImportColumnCfg::deleteRule()
{
    const int id = currentId();
    if (id <= 0)
        return;
    try {
        context_.db().execute(QStringLiteral("delete from MatchColumn where Id=:id"), {{QStringLiteral("id"), id}});
    } catch (const DatabaseError& error) {
        context_.messages().show(error.text());
        return;
    }
    loadRules();
}

} // namespace slipcraft
