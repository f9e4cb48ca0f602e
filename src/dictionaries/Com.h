#pragma once

#include "dictionaries/CurrencyList.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace slipcraft {

class AppContext;

// Currencies and the short signs printed before amounts.
class TfrmCom : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCom(AppContext& context, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillList();
    void lvCoinsClick();
    void btAddClick();
    void btModifyClick();
    void btDeleteClick();
    void say(const EditorReply& reply);

    AppContext& context_;
    CurrencyList list_;
    QString chosen_;

    QTableWidget* lvCoins;
    QLineEdit* edtName;
    QLineEdit* edtAbbr;
    QPushButton* btAdd;
    QPushButton* btModify;
    QPushButton* btDelete;
};

} // namespace slipcraft
