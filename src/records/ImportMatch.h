#pragma once

#include "platform/spreadsheet/Workbook.h"
#include "records/ImportMatchLogic.h"
#include "records/ImportProgress.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace slipcraft {

class AppContext;

// Imports receivers or units from a spreadsheet: its headings are matched to the items
// by editable rules, each data row becomes a row of the address book or the batch list.
class TfrmImport : public QDialog {
    Q_OBJECT

public:
    explicit TfrmImport(AppContext& context, QWidget* parent = nullptr);

    // The scene the opener imports into; the choice is then fixed. The batch list starts
    // without the duplicate check.
    void presetScene(importing::Scene scene);
    importing::Scene scene() const;

    // "【浏览Excel】" with the file chosen: false, after the message, when it cannot be read.
    bool openFile(const QString& path);
    // "4、【开始导入】(&M)": the counts of the import, or none when it did not run.
    std::optional<importing::Counts> startImport();

    // The column box of an item in the current scene; null for an item without one.
    QComboBox* itemBox(importing::Item item) const;
    QComboBox* sheetBox() const { return cbSheet; }

signals:
    // Rows were imported; the window closes next.
    void imported(const importing::Counts& counts);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void buildControls();
    void chooseFile();
    void chooseSheet(int index);
    void loadSheet();
    void autoMatch();
    void applyUnitTypeMode();
    void showScene();
    importing::Columns finishMatching() const;
    importing::Options options() const;
    void openLog();
    QString logPath() const;
    void setRunning(bool running);

    AppContext& context_;
    std::optional<Workbook> workbook_;
    QList<importing::SheetColumn> columns_;
    importing::Columns autoMatched_{};
    bool running_ = false;
    std::unique_ptr<ImportProgress> progress_;

    QComboBox* cbScene;
    QLineEdit* edtFile;
    QPushButton* btBrowse;
    QComboBox* cbSheet;
    QPushButton* btRules;
    QPushButton* btAutoMatch;
    std::array<QComboBox*, importing::kItemCount> boxes_{};
    QComboBox* cbAddressGroup;
    QComboBox* cbBatchGroup;
    QGroupBox* gbAddressBook;
    QGroupBox* gbBatch;
    QCheckBox* ckFixedType;
    QComboBox* cbUnitType;
    QCheckBox* ckRepeat;
    QCheckBox* ckByName;
    QCheckBox* ckByContact;
    QCheckBox* ckByPhone;
    QCheckBox* ckAskRepeat;
    QCheckBox* ckOpenLog;
    QCheckBox* ckOrderIDOn;
    QCheckBox* ckMemeberIDOn;
    QPushButton* btStart;
    QPushButton* btStop;
    QPushButton* btLog;
    QPushButton* btClose;
    QProgressBar* progressBar;
    QLabel* lbStatus;
};

} // namespace slipcraft
