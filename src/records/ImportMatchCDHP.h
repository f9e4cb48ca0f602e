#pragma once

#include "platform/spreadsheet/Workbook.h"
#include "records/ImportMatchCDHPLogic.h"
#include "records/ImportProgress.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace slipcraft {

class AppContext;

// Imports acceptance drafts from a spreadsheet into the draft batch: each heading of the
// sheet the file opens on is matched to an item by its heading list, each data row
// becomes a draft.
class TfrmImportMatchCDHP : public QDialog {
    Q_OBJECT

public:
    explicit TfrmImportMatchCDHP(AppContext& context, QWidget* parent = nullptr);

    // A file chosen or typed into the file box: false, after the message, when it cannot
    // be read.
    bool openFile(const QString& path);
    // "第3步: 开始导入(&S)": the counts of the import, or none when it did not run.
    std::optional<importing::Counts> startImport();

    QComboBox* itemBox(draftimport::Item item) const { return boxes_[item]; }
    QString statusText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void buildControls();
    void chooseFile();
    void fileTyped();
    QString logPath() const;
    void setRunning(bool running);

    AppContext& context_;
    std::optional<Workbook> workbook_;
    QString openedPath_;
    bool running_ = false;
    std::unique_ptr<ImportProgress> progress_;

    QLineEdit* edtFile;
    QPushButton* btBrowse;
    std::array<QComboBox*, draftimport::kItemCount> boxes_{};
    QPushButton* btStart;
    QPushButton* btStop;
    QPushButton* btLog;
    QPushButton* btClose;
    QProgressBar* progressBar;
    QLabel* lbStatus;
};

} // namespace slipcraft
