#include "shell/UserManage.h"

#include "data/Database.h"
#include "records/GridTools.h"
#include "shell/AppContext.h"
#include "shell/ModifyPassword.h"
#include "shell/UserAccounts.h"
#include "shell/UserMessages.h"
#include "wording/Functions.h"
#include "shell/WindowParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace slipcraft {

namespace {

// The digest itself is of no use on screen; the list only tells whether there is one.
const QString kListStatement = QStringLiteral(
    "select ID, UserName, RoleName, lastlogin, Remark, coalesce(Passwd, '') <> '' as HasPasswd "
    "from UserTable order by UserName");
const QString kIdColumn = QStringLiteral("ID");
const QString kHasPasswordColumn = QStringLiteral("HasPasswd");
constexpr int kMaxRemark = 200;

QLineEdit* field(QWidget* parent, const char* name)
{
    auto* made = new QLineEdit(parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

} // namespace

TfrmUserManage::TfrmUserManage(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , edtUserName(field(this, "edtUserName"))
    , edtPasswd(field(this, "edtPasswd"))
    , cbRoleName(new QComboBox(this))
    , edtRemark(field(this, "edtRemark"))
    , lbMode(new QLabel(this))
    , DBGrid1(new QTableView(this))
    , model_(new QSqlQueryModel(this))
    , btAdd(commandButton(this, QStringLiteral("添加"), "btAdd"))
    , btEdit(commandButton(this, QStringLiteral("修改"), "btEdit"))
    , btPost(commandButton(this, QStringLiteral("提交刷新"), "btPost"))
    , btDeleteSelected(commandButton(this, QStringLiteral("删除选中"), "btDeleteSelected"))
    , btResetPasswd(commandButton(this, QStringLiteral("重置密码"), "btResetPasswd"))
    , btModifyPasswd(commandButton(this, QStringLiteral("修改密码"), "btModifyPasswd"))
    , btClose(commandButton(this, QStringLiteral("关闭"), "btClose"))
{
    setObjectName(QStringLiteral("frmUserManage"));
    setWindowTitle(kCaption);
    cbRoleName->setObjectName(QStringLiteral("cbRoleName"));
    lbMode->setObjectName(QStringLiteral("lbMode"));
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));

    edtUserName->setMaxLength(users::kMaxTyped);
    edtPasswd->setEchoMode(QLineEdit::Password);
    edtPasswd->setReadOnly(true);
    edtPasswd->setEnabled(false);
    edtPasswd->setToolTip(QStringLiteral("新用户的密码为空；用“修改密码”设置，用“重置密码”清空。"));
    cbRoleName->addItems(users::roleNames());
    cbRoleName->setMinimumWidth(120);
    edtRemark->setMaxLength(kMaxRemark);
    lbMode->setStyleSheet(QStringLiteral("color: #0c5fa8;"));

    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("用户名:"), this), 0, 0);
    fields->addWidget(edtUserName, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("密码:"), this), 0, 2);
    fields->addWidget(edtPasswd, 0, 3);
    fields->addWidget(new QLabel(QStringLiteral("角色:"), this), 1, 0);
    fields->addWidget(cbRoleName, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("备注:"), this), 1, 2);
    fields->addWidget(edtRemark, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 2);

    auto* commands = new QHBoxLayout;
    for (QPushButton* command : {btAdd, btEdit, btPost, btDeleteSelected, btResetPasswd, btModifyPasswd})
        commands->addWidget(command);
    commands->addStretch();
    commands->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(lbMode);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(commands);
    resize(680, 440);

    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmUserManage::showCurrentRow);
    connect(btAdd, &QPushButton::clicked, this, &TfrmUserManage::addClick);
    connect(btEdit, &QPushButton::clicked, this, &TfrmUserManage::editClick);
    connect(btPost, &QPushButton::clicked, this, &TfrmUserManage::postClick);
    connect(btDeleteSelected, &QPushButton::clicked, this, &TfrmUserManage::deleteSelectedClick);
    connect(btResetPasswd, &QPushButton::clicked, this, &TfrmUserManage::resetPasswordsClick);
    connect(btModifyPasswd, &QPushButton::clicked, this, &TfrmUserManage::modifyPasswordClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);

    openList();
    setMode(Mode::Browse);
}

int TfrmUserManage::listedRows() const
{
    return model_->rowCount();
}

void TfrmUserManage::openList(int selectId)
{
    try {
        model_->setQuery(context_.db().query(kListStatement, {}, SqlQuery::Rows::Scrollable).release());
        if (model_->lastError().isValid())
            throw DatabaseError(model_->lastError().databaseText());
    } catch (const DatabaseError& error) {
        model_->clear();
        say(QStringLiteral("读取用户列表失败，错误=") + error.text());
    }
    while (model_->canFetchMore())
        model_->fetchMore();

    const QSqlRecord columns = model_->record();
    const std::pair<const char*, const char*> headings[] = {
        {"UserName", "用户名"}, {"RoleName", "操作角色"}, {"lastlogin", "最后登录时间"}, {"Remark", "备注"}};
    for (const auto& [name, heading] : headings) {
        const int column = columns.indexOf(QString::fromLatin1(name));
        if (column >= 0)
            model_->setHeaderData(column, Qt::Horizontal, QString::fromUtf8(heading));
    }
    for (const QString& hidden : {kIdColumn, kHasPasswordColumn}) {
        const int column = columns.indexOf(hidden);
        if (column >= 0)
            DBGrid1->setColumnHidden(column, true);
    }
    // Until the user has widths of his own, the columns fit what they hold.
    if (!context_.userIniFile().sectionExists(objectName().toUpper()) && model_->rowCount() > 0) {
        DBGrid1->resizeColumnsToContents();
        GridColsWidthSave(context_, DBGrid1, objectName());
    }
    GridColsWidthLoad(context_, DBGrid1, objectName());

    int row = 0;
    for (int candidate = 0; candidate < model_->rowCount(); ++candidate) {
        if (model_->record(candidate).value(kIdColumn).toInt() == selectId)
            row = candidate;
    }
    // Current, not selected: "删除选中" acts only on rows the user picked.
    if (model_->rowCount() > 0)
        DBGrid1->selectionModel()->setCurrentIndex(model_->index(row, 1), QItemSelectionModel::NoUpdate);
    showCurrentRow();
    btEdit->setEnabled(mode_ == Mode::Browse && model_->rowCount() > 0);
}

int TfrmUserManage::currentRow() const
{
    if (model_->rowCount() == 0)
        return -1;
    const QModelIndex current = DBGrid1->currentIndex();
    return current.isValid() ? current.row() : 0;
}

QString TfrmUserManage::currentText(const QString& column) const
{
    const int row = currentRow();
    return row < 0 ? QString() : model_->record(row).value(column).toString();
}

void TfrmUserManage::showCurrentRow()
{
    if (mode_ != Mode::Browse)
        return;
    edtUserName->setText(currentText(QStringLiteral("UserName")));
    cbRoleName->setCurrentIndex(cbRoleName->findText(trimText(currentText(QStringLiteral("RoleName")))));
    edtRemark->setText(currentText(QStringLiteral("Remark")));
    const int row = currentRow();
    const bool hasPassword = row >= 0 && model_->record(row).value(kHasPasswordColumn).toBool();
    edtPasswd->setText(hasPassword ? QString(8, QLatin1Char('*')) : QString());
}

void TfrmUserManage::setMode(Mode mode)
{
    mode_ = mode;
    const bool editing = mode != Mode::Browse;
    edtUserName->setReadOnly(!editing);
    cbRoleName->setEnabled(editing);
    edtRemark->setReadOnly(!editing);
    // One row at a time: the list waits until the edited row is saved.
    DBGrid1->setEnabled(!editing);
    for (QPushButton* command : {btAdd, btDeleteSelected, btResetPasswd, btModifyPasswd})
        command->setEnabled(!editing);
    btEdit->setEnabled(!editing && model_->rowCount() > 0);
    switch (mode) {
    case Mode::Browse:
        lbMode->clear();
        showCurrentRow();
        break;
    case Mode::Edit:
        lbMode->setText(QStringLiteral("正在修改用户“%1”，改好后点“提交刷新”保存。").arg(edtUserName->text()));
        break;
    case Mode::Append:
        lbMode->setText(QStringLiteral("正在添加新用户（初始密码为空），填好后点“提交刷新”保存。"));
        break;
    }
}

void TfrmUserManage::addClick()
{
    setMode(Mode::Append);
    edtUserName->clear();
    edtPasswd->clear();
    edtRemark->clear();
    // A role from the start, so that the new account can sign in.
    cbRoleName->setCurrentText(users::kEntryClerk);
    edtUserName->setFocus();
}

void TfrmUserManage::editClick()
{
    if (currentRow() < 0)
        return;
    setMode(Mode::Edit);
    edtUserName->setFocus();
}

void TfrmUserManage::postClick()
{
    if (mode_ == Mode::Browse) {
        openList(currentText(kIdColumn).toInt());
        return;
    }
    users::UserRecord user;
    user.id = mode_ == Mode::Edit ? currentText(kIdColumn).toInt() : 0;
    user.userName = edtUserName->text();
    user.roleName = cbRoleName->currentText();
    user.remark = edtRemark->text();
    users::UserChange change;
    try {
        change = users::saveUser(context_.db(), user);
    } catch (const DatabaseError& error) {
        say(QStringLiteral("用户保存失败，错误=") + error.text());
        return;
    }
    if (!change.done) {
        context_.alert(change.refusal, QStringLiteral("提示"), false);
        edtUserName->setFocus();
        return;
    }
    setMode(Mode::Browse);
    openList(change.id);
}

QList<int> TfrmUserManage::selectedIds()
{
    QString keyList;
    QList<int> ids;
    if (GridSelectedFetch(context_, DBGrid1, kIdColumn, QStringLiteral("NUM"), keyList) == 0)
        return ids;
    for (const QString& key : keyList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool number = false;
        const int id = key.toInt(&number);
        if (number)
            ids << id;
    }
    return ids;
}

void TfrmUserManage::deleteSelectedClick()
{
    const QList<int> ids = selectedIds();
    DBGrid1->clearSelection();
    if (ids.isEmpty()) {
        context_.alert(QStringLiteral("没有选中任何要删除的用户"), QStringLiteral("提示"), false);
        return;
    }
    if (!context_.alert(QStringLiteral("用户删除将无法找回，用户处理的订单等数据并不会删除，确认删除这些用户吗？"),
                        QStringLiteral("删除确认"), true))
        return;
    users::UserChange change;
    try {
        change = users::deleteUsers(context_.db(), ids, context_.switches().needLogin);
    } catch (const DatabaseError& error) {
        say(QStringLiteral("用户删除失败，错误=") + error.text());
        return;
    }
    if (!change.done) {
        context_.alert(change.refusal, QStringLiteral("提示"), false);
        return;
    }
    say(QString::number(change.count) + QStringLiteral("个用户删除成功！"));
    openList();
}

void TfrmUserManage::resetPasswordsClick()
{
    if (model_->columnCount() == 0)
        return;
    const QList<int> ids = selectedIds();
    DBGrid1->clearSelection();
    if (ids.isEmpty()) {
        context_.alert(QStringLiteral("没有选中任何重置的用户"), QStringLiteral("提示"), false);
        return;
    }
    if (!context_.alert(QStringLiteral("确定要重置选中用户的密码为空吗？"), QStringLiteral("确认"), true))
        return;
    users::UserChange change;
    try {
        change = users::resetPasswords(context_.db(), ids);
    } catch (const DatabaseError& error) {
        say(QStringLiteral("密码重置失败，错误=") + error.text());
        return;
    }
    say(QString::number(change.count) + QStringLiteral("个用户密码重置成功！"));
    openList(currentText(kIdColumn).toInt());
}

void TfrmUserManage::modifyPasswordClick()
{
    const int id = currentText(kIdColumn).toInt();
    TfrmModifyPassword dialog(context_, this);
    dialog.presetUserName(currentText(QStringLiteral("UserName")));
    dialog.exec();
    openList(id);
}

void TfrmUserManage::done(int result)
{
    GridColsWidthSave(context_, DBGrid1, objectName());
    QDialog::done(result);
}

void TfrmUserManage::say(const QString& text)
{
    context_.messages().show(text);
}

} // namespace slipcraft
