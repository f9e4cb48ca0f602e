#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace slipcraft {

class AppContext;

// The heading lists of the spreadsheet import's rules: one rule a row; only the current
// rule's list is edited. The maintenance code in the order box reveals adding and
// deleting rules.
class TfrmImportColumnCfg : public QDialog {
    Q_OBJECT

public:
    static inline const QString kMaintenanceCode = QStringLiteral("2604173");

    explicit TfrmImportColumnCfg(AppContext& context, QWidget* parent = nullptr);

    // Reads the rules again; the row of id stays current when it is still there.
    void loadRules(int currentId = 0);
    // "提交修改": false, after the message, when the list is empty after cleaning.
    bool submit();
    // "恢复原始设置".
    void restoreDefaults();
    void addRule();
    void deleteRule();

    // What "提交修改" stores of a typed heading list: trimmed, without "'" and "?", "，"
    // as ",", doubled commas made single.
    static QString cleanedHeadings(const QString& typed);

private:
    void showCurrent();
    void orderTyped(const QString& text);
    int currentId() const;

    AppContext& context_;

    QTableWidget* gridRules;
    QLineEdit* edtItemName;
    QLineEdit* edtSourceName;
    QLineEdit* edtShowOrd;
    QPushButton* btSubmit;
    QPushButton* btRestore;
    QPushButton* btAdd;
    QPushButton* btDelete;
    QPushButton* btClose;
};

} // namespace slipcraft
