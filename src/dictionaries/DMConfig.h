#pragma once

#include "dictionaries/DictionaryTable.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace slipcraft {

class AppContext;

// The drop-down dictionaries of one template, or the shared ones (id 0).
class Tfm_DMConfig : public QDialog {
    Q_OBJECT

public:
    static inline const QString kAllTemplates = QStringLiteral("<适用所有单据>");

    // Opens on the current template when it is enabled, else on the shared dictionaries.
    explicit Tfm_DMConfig(AppContext& context, QWidget* parent = nullptr);

    int workingId() const { return workingId_; }
    // Edits not stored yet are stored before the window closes.
    void done(int result) override;

private:
    enum Column { IdColumn, NameColumn, ValueColumn, TemplateColumn };

    void cbCheckTypeChange();
    void loadNames();
    void lbNamesClick();
    void loadValues();
    void btAddNameClick();
    void btAddClick();
    void btEditClick();
    void btSaveClick();
    void btDeleteClick();
    // False after telling the user why the edits could not be stored.
    bool storePending(int skippedRow = -1);
    int currentRow() const;
    void say(const EditorReply& reply);

    AppContext& context_;
    DictionaryTable table_;
    int workingId_ = 0;
    QString currentName_;

    QComboBox* cbCheckType;
    QListWidget* lbNames;
    QComboBox* edtDMName;
    QPushButton* btAddName;
    QLabel* lbTitle;
    QCheckBox* ckShowPublic;
    QTableView* DBGrid1;
    QStandardItemModel* model_;
    QPushButton* btAdd;
    QPushButton* btEdit;
    QPushButton* btSave;
    QPushButton* btDelete;
};

} // namespace slipcraft
