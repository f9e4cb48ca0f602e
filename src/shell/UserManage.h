#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace slipcraft {

class AppContext;

// The accounts with their roles: add, edit, delete, reset passwords and change one
// password. Caption "用户及权限管理"; made afresh for every use.
class TfrmUserManage : public QDialog {
    Q_OBJECT

public:
    static inline const QString kCaption = QStringLiteral("用户及权限管理");

    explicit TfrmUserManage(AppContext& context, QWidget* parent = nullptr);

    // Rows the list holds.
    int listedRows() const;

    // Closing keeps the column widths.
    void done(int result) override;

private:
    // Browsing the list, or editing the current row or a new one above it.
    enum class Mode { Browse, Edit, Append };

    void openList(int selectId = 0);
    void showCurrentRow();
    void setMode(Mode mode);
    void addClick();
    void editClick();
    void postClick();
    void deleteSelectedClick();
    void resetPasswordsClick();
    void modifyPasswordClick();
    // The IDs of the selected rows; empty when none are selected.
    QList<int> selectedIds();
    int currentRow() const;
    QString currentText(const QString& column) const;
    void say(const QString& text);

    AppContext& context_;
    Mode mode_ = Mode::Browse;

    QLineEdit* edtUserName;
    QLineEdit* edtPasswd;
    QComboBox* cbRoleName;
    QLineEdit* edtRemark;
    QLabel* lbMode;
    QTableView* DBGrid1;
    QSqlQueryModel* model_;
    QPushButton* btAdd;
    QPushButton* btEdit;
    QPushButton* btPost;
    QPushButton* btDeleteSelected;
    QPushButton* btResetPasswd;
    QPushButton* btModifyPasswd;
    QPushButton* btClose;
};

} // namespace slipcraft
