#pragma once

#include "dictionaries/ProvinceCityCodes.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace slipcraft {

class AppContext;

// Province and city names offered by the address boxes.
class TfrmSsSet : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSsSet(AppContext& context, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void reloadProvinces();
    void cbProvinceChange();
    void lbCitysClick();
    void btAddClick();
    void btModifyClick();
    void btDeleteClick();
    void btOKClick();
    void openPanel(bool adding, const QString& city);
    void closePanel();
    void say(const EditorReply& reply);

    AppContext& context_;
    ProvinceCityCodes codes_;
    QString selectedCity_;
    QString provinceBefore_;
    bool adding_ = false;

    QComboBox* cbProvince;
    QListWidget* lbCitys;
    QLabel* lbSelected;
    QPushButton* btAdd;
    QPushButton* btModify;
    QPushButton* btDelete;
    QFrame* pnInput;
    QLineEdit* edtProvince;
    QLineEdit* edtCity;
    QPushButton* btOK;
    QPushButton* btCancel;
};

} // namespace slipcraft
