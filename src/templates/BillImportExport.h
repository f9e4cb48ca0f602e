#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace slipcraft {

class AppContext;
class TemplatePackage;
class TfrmImageShow;

// Imports chosen templates from a template package and exports chosen templates into a
// new one.
class TfrmBillImportExport : public QDialog {
    Q_OBJECT

public:
    // Clicks on the export page's notice, in a maximised window, that show the export panel.
    static constexpr int kNoticeClicks = 3;

    TfrmBillImportExport(AppContext& context, bool withExport, QWidget* parent = nullptr);
    ~TfrmBillImportExport() override;

    // Modal; one window at a time, freed when closed.
    static void execute(AppContext& context, bool withExport, QWidget* parent);

    // What "浏览.." does with the file the user chose (empty: cancelled).
    void loadPackage(const QString& path);
    // What "2.浏览.." does with the file the user chose (empty: cancelled).
    void setExportTarget(const QString& path);
    void startImport();
    void startExport();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildImportPage(QWidget* page);
    void buildExportPage(QWidget* page);
    void choosePackage();
    void chooseExportTarget();
    void listPackage();
    void listInstalled();
    void moveOne(QListWidget* from, QListWidget* to, QPushButton* start);
    void moveAll(QListWidget* from, QListWidget* to, QPushButton* start);
    void clearImportSelection();
    void clearExportSelection();
    void setImportMoving(bool enabled);
    void showPackagePicture(QListWidgetItem* item);
    void showInstalledPicture(QListWidgetItem* item);
    void openDownloadPage();
    void exportPageShown();

    AppContext& context_;
    std::unique_ptr<TemplatePackage> package_;
    QPointer<TfrmImageShow> picture_;
    int noticeClicks_ = 0;

    QTabWidget* pcMain;
    QLineEdit* edtPackage;
    QPushButton* btBrowse;
    QLabel* lbDownload;
    QCheckBox* ckUpdateOld;
    QListWidget* lstPackage;
    QListWidget* lstImport;
    QPushButton* btAdd;
    QPushButton* btAddAll;
    QPushButton* btClear;
    QLabel* lbImportProgress;
    QPushButton* btImport;
    QPushButton* btImportClose;

    QStackedWidget* exportStack;
    QLabel* lbNotice;
    QListWidget* lstInstalled;
    QListWidget* lstExport;
    QPushButton* btExpAdd;
    QPushButton* btExpAddAll;
    QPushButton* btExpClear;
    QLineEdit* edtTarget;
    QPushButton* btTarget;
    QLabel* lbExportProgress;
    QPushButton* btExport;
    QPushButton* btExportClose;
};

} // namespace slipcraft
