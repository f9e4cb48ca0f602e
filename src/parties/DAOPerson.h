#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace slipcraft {

class Database;

// One unit of the address book: a row of CKPersonalInfoTable in memory.
class TPerson {
public:
    // The text fields in column order.
    enum Field {
        FullName, Identity, InputCode, Contactor, Bank, BankAcct, BankAddr, BankNo, Phone,
        Handset, Zipcode, Country, Address, Province, City, Town, Group, UnitType, Def1,
        Def2, Def3, Remark,
    };
    static constexpr int kFieldCount = Remark + 1;

    static inline const QString kOwnUnit = QStringLiteral("我方单位");
    static inline const QString kCounterpartUnit = QStringLiteral("往来单位");
    static inline const QString kDefaultDrawerGroup = QStringLiteral("默认出票人");

    TPerson() = default;
    virtual ~TPerson() = default;
    TPerson(const TPerson&) = default;
    TPerson& operator=(const TPerson&) = default;

    // The column that holds the field.
    static QString columnName(Field field);

    QString text(Field field) const { return texts_[field]; }
    void setText(Field field, const QString& value) { texts_[field] = value; }

    // ID -1, every text empty.
    virtual void clear();

    // -1 for an ID of 0 or below or a failing query; 0 when no row has the ID; 1 when loaded.
    int loadByID(Database& db);
    // Updates the row of ID, else inserts one and takes its new ID. Returns 1.
    // Throws DatabaseError with the engine's message.
    int save(Database& db);

    // Each returns the row with the lowest ID that matches, or null; an empty first
    // argument and a failing query both give null.
    // Exact match, or containment when the code holds "%" or "*" (their place does not matter).
    static std::unique_ptr<TPerson> findByInputCode(Database& db, const QString& code);
    static std::unique_ptr<TPerson> findByName(Database& db, const QString& name);
    static std::unique_ptr<TPerson> findByNameAndAccount(Database& db, const QString& name, const QString& account);
    static std::unique_ptr<TPerson> findByNameAndContactor(Database& db, const QString& name, const QString& contactor);
    static std::unique_ptr<TPerson> findByContactor(Database& db, const QString& contactor);
    static std::unique_ptr<TPerson> findByAccount(Database& db, const QString& account);
    static std::unique_ptr<TPerson> findDefaultDrawer(Database& db);

    int getID() const { return ID_; }
    void setID(int id) { ID_ = id; }

    QString getFullName() const { return texts_[FullName]; }
    void setFullName(const QString& v) { texts_[FullName] = v; }
    QString getIdentity() const { return texts_[Identity]; }
    void setIdentity(const QString& v) { texts_[Identity] = v; }
    QString getInputCode() const { return texts_[InputCode]; }
    void setInputCode(const QString& v) { texts_[InputCode] = v; }
    QString getContactor() const { return texts_[Contactor]; }
    void setContactor(const QString& v) { texts_[Contactor] = v; }
    QString getBank() const { return texts_[Bank]; }
    void setBank(const QString& v) { texts_[Bank] = v; }
    QString getBankAcct() const { return texts_[BankAcct]; }
    void setBankAcct(const QString& v) { texts_[BankAcct] = v; }
    QString getBankAddr() const { return texts_[BankAddr]; }
    void setBankAddr(const QString& v) { texts_[BankAddr] = v; }
    QString getBankNo() const { return texts_[BankNo]; }
    void setBankNo(const QString& v) { texts_[BankNo] = v; }
    QString getPhone() const { return texts_[Phone]; }
    void setPhone(const QString& v) { texts_[Phone] = v; }
    QString getHandset() const { return texts_[Handset]; }
    void setHandset(const QString& v) { texts_[Handset] = v; }
    QString getZipcode() const { return texts_[Zipcode]; }
    void setZipcode(const QString& v) { texts_[Zipcode] = v; }
    QString getCountry() const { return texts_[Country]; }
    void setCountry(const QString& v) { texts_[Country] = v; }
    QString getAddress() const { return texts_[Address]; }
    void setAddress(const QString& v) { texts_[Address] = v; }
    QString getProvince() const { return texts_[Province]; }
    void setProvince(const QString& v) { texts_[Province] = v; }
    QString getCity() const { return texts_[City]; }
    void setCity(const QString& v) { texts_[City] = v; }
    QString getTown() const { return texts_[Town]; }
    void setTown(const QString& v) { texts_[Town] = v; }
    QString getGroup() const { return texts_[Group]; }
    void setGroup(const QString& v) { texts_[Group] = v; }
    QString getUnitType() const { return texts_[UnitType]; }
    void setUnitType(const QString& v) { texts_[UnitType] = v; }
    QString getDef1() const { return texts_[Def1]; }
    void setDef1(const QString& v) { texts_[Def1] = v; }
    QString getDef2() const { return texts_[Def2]; }
    void setDef2(const QString& v) { texts_[Def2] = v; }
    QString getDef3() const { return texts_[Def3]; }
    void setDef3(const QString& v) { texts_[Def3] = v; }
    QString getRemark() const { return texts_[Remark]; }
    void setRemark(const QString& v) { texts_[Remark] = v; }

private:
    int ID_ = 0;
    std::array<QString, kFieldCount> texts_;
};

// A receiver of a batch of waybills: two more texts that travel into the batch table only.
class TPersonKDD : public TPerson {
public:
    void clear() override;

    QString getContents() const { return Contents_; }
    void setContents(const QString& v) { Contents_ = v; }
    QString getDestStation() const { return DestStation_; }
    void setDestStation(const QString& v) { DestStation_ = v; }

private:
    QString Contents_;
    QString DestStation_;
};

// The stored unit that a party typed into a bill most likely is, before it goes to the
// address book: by name and account, else name and contact, else name alone (no
// contact), else contact alone (no name); null when none applies or nothing matches.
std::unique_ptr<TPerson> findAddressBookMatch(Database& db, const TPerson& person);

// Lists for the bill forms' drop-downs. Lists marked "swallows errors" are empty when the
// table cannot be read; the others throw DatabaseError.

// Distinct full names of one unit type, of every unit when the type is empty. Swallows errors.
QStringList loadCompanyList(Database& db, const QString& unitType);
// Distinct accounts of the trimmed full name; empty for an empty name.
QStringList loadAccountsByCompany(Database& db, const QString& fullName);
// Distinct banks of the trimmed account; empty for an empty account.
QStringList loadBankNamesByAccount(Database& db, const QString& account);
// Groups in order, without blanks and without the default drawer's group. Swallows errors.
QStringList loadPersonTableGroupList(Database& db);
// Provinces in order, without blanks. Swallows errors.
QStringList loadPersonTableProvinceList(Database& db);

} // namespace slipcraft
