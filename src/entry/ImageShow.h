#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPixmap;
class QScrollArea;

namespace slipcraft {

class AppContext;

// Shows a template's picture or any picture a caller brings; a click on it closes the window.
class TfrmImageShow : public QDialog {
    Q_OBJECT

public:
    explicit TfrmImageShow(AppContext& context, QWidget* parent = nullptr);

    // The picture of the template of that full name, from the Image folder.
    void loadPictureByFullName(const QString& name);
    // The picture shown at its own size; a null pixmap removes it.
    void setPicture(const QPixmap& picture);
    QLabel* image() const { return Image1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& context_;
    QScrollArea* area_;
    QLabel* Image1;
};

} // namespace slipcraft
