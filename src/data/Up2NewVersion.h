#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace slipcraft {

class AppContext;

// Brings the database up to date in one run and, when an older installation is chosen
// whose database file is this program's, takes its data over first.
class TfrmUp2NewVersion : public QDialog {
    Q_OBJECT

public:
    // recordedRunPath: the run path the installation record names; programFile: the old
    // installation's program file, preselected (empty: none).
    TfrmUp2NewVersion(AppContext& context, const QString& recordedRunPath, const QString& programFile = {},
                      QWidget* parent = nullptr);

    // "  升级环境检测": true when the old installation's database file can be used.
    bool checkEnvironment();
    // "3、开始升级".
    void startUpgrade();
    // The old database file the run takes the data over from; empty for none.
    const QString& takeOverFile() const { return takeOverFrom_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void browse();
    void advance(int by, const QString& text);
    QString oldDataFile(const QString& oldFolder) const;

    AppContext& context_;
    QString recordedRunPath_;
    QString takeOverFrom_;
    QTimer focusTimer_;

    QComboBox* cbAppFile;
    QPushButton* btBrowse;
    QPushButton* btCheck;
    QPushButton* btStart;
    QPushButton* btClose;
    QProgressBar* progressBar;
    QLabel* lbMessage;
};

} // namespace slipcraft
