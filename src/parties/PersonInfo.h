#pragma once

#include "parties/DAOPerson.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace slipcraft {

class AppContext;

// One unit of the address book, loaded by identifier and saved as insert or update.
class Tfrm_PersonInfo : public QDialog {
    Q_OBJECT

public:
    static inline const QString kCaption = QStringLiteral("单位详细资料");

    explicit Tfrm_PersonInfo(AppContext& context, QWidget* parent = nullptr);

    // Empty when the unit is not stored yet.
    void setIdentifier(int id);
    QString identifier() const;
    // Fills the boxes from the stored unit the identifier names; nothing when it is empty.
    void loadByIdentifier();
    // Shows the unit's fields; its ID (when above 0) becomes the identifier.
    void showPerson(const TPerson& person);
    // Empties every box and the identifier; the unit type stays.
    void reset();
    void setUnitType(const QString& type);
    void setGroup(const QString& group);

    void done(int result) override;

signals:
    // A unit was stored; lists that show it query again.
    void saved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the unit was stored.
    bool save();
    void copyUnit();
    TPerson person() const;
    void leaveTown();
    void refillCities();
    void fillCombo(QComboBox* box, const QStringList& items);
    void enterBox(QObject* box);
    QWidget* nextAfterEnter(QObject* box) const;
    void limitAddress();

    AppContext& context_;

    QComboBox* cbAcountType;
    QLabel* edtID;
    QLineEdit* edtIdentity;
    QLineEdit* edtName;
    QLineEdit* edtInputCode;
    QLineEdit* edtBank;
    QLineEdit* edtBankAcct;
    QLineEdit* edtBankAddr;
    QLineEdit* edtBankNo;
    QComboBox* edtCountry;
    QComboBox* edtProvince;
    QComboBox* edtCity;
    QComboBox* edtTown;
    QPlainTextEdit* edtAddress;
    QLineEdit* edtZipcode;
    QLineEdit* edtContactor;
    QLineEdit* edtPhone;
    QLineEdit* edtHandset;
    QComboBox* edtGroup;
    QLineEdit* edtRemark;
    QLineEdit* edtDef1;
    QLineEdit* edtDef2;
    QLineEdit* edtDef3;
    QLabel* lbInputCode;
    QLabel* lbDefNote;
    QLabel* lbStatus;
    QCheckBox* ckAddNext;
    QPushButton* btSave;
    QPushButton* btSaveClose;
    QPushButton* btReset;
    QPushButton* btCopy;
    QPushButton* btClose;
};

} // namespace slipcraft
