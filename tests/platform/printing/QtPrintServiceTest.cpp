#include "PdfReader.h"
#include "TempHome.h"

#include "platform/printing/QtPrintService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>

using namespace slipcraft;

namespace {

// Answers the next modal dialog as soon as it shows.
void answerNextDialog(bool accept)
{
    QTimer::singleShot(0, [accept] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        accept ? dialog->accept() : dialog->reject();
    });
}

class QtPrintServiceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Output/"));
    QtPrintService service{folder};
};

} // namespace

TEST_F(QtPrintServiceTest, ListsTheQueuesThenThePdfPrinter)
{
    const QStringList queues = QPrinterInfo::availablePrinterNames();
    EXPECT_EQ(service.printerNames(), QStringList(queues) << QStringLiteral("PDF文件"));
    if (queues.isEmpty())
        EXPECT_EQ(service.currentPrinter(), QStringLiteral("PDF文件"));
    else
        EXPECT_TRUE(queues.contains(service.currentPrinter()));
}

TEST_F(QtPrintServiceTest, SelectsOnlyListedPrinters)
{
    ASSERT_TRUE(service.selectPrinter(QStringLiteral("PDF文件")));
    EXPECT_FALSE(service.selectPrinter(QStringLiteral("No Such Queue")));
    EXPECT_FALSE(service.selectPrinter(QStringLiteral("pdf文件"))); // exact names only
    EXPECT_EQ(service.currentPrinter(), QStringLiteral("PDF文件"));
    EXPECT_EQ(service.printer().name(), QStringLiteral("PDF文件"));
}

TEST_F(QtPrintServiceTest, PdfJobWritesAFileAndTellsIt)
{
    QStringList reported;
    service.onPdfWritten = [&](const QString& path) { reported << path; };
    ASSERT_TRUE(service.selectPrinter(QStringLiteral("PDF文件")));
    Printer& printer = service.printer();
    printer.setPageSetup({QSizeF(210, 297), QPageLayout::Portrait});
    printer.setCopyCount(1);
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("进账单"))) << printer.errorText().toStdString();
    PrintFont font;
    font.family = QStringLiteral("WenQuanYi Zen Hei");
    printer.selectFont(font);
    printer.drawText(2400, 2400, QStringLiteral("进账"));
    ASSERT_TRUE(printer.endDocument()) << printer.errorText().toStdString();

    ASSERT_EQ(reported.size(), 1);
    EXPECT_EQ(QFileInfo(reported[0]).absolutePath(), QFileInfo(folder).absolutePath());
    const QList<pdfreader::Word> words = pdfreader::words(reported[0]);
    ASSERT_EQ(words.size(), 1);
    EXPECT_EQ(words[0].text, QStringLiteral("进账"));
}

TEST_F(QtPrintServiceTest, FailedPdfJobIsNeverReported)
{
    QTemporaryDir blocked;
    QtPrintService nowhere(unwritablePath(blocked, QStringLiteral("Output/")));
    int reported = 0;
    nowhere.onPdfWritten = [&](const QString&) { ++reported; };
    ASSERT_TRUE(nowhere.selectPrinter(QStringLiteral("PDF文件")));
    EXPECT_FALSE(nowhere.printer().beginDocument(QStringLiteral("支票")));
    EXPECT_FALSE(nowhere.printer().errorText().isEmpty());
    EXPECT_FALSE(nowhere.printer().endDocument());
    EXPECT_EQ(reported, 0);
}

TEST_F(QtPrintServiceTest, PdfSetupDialogAnswersConfirmedOrCancelled)
{
    ASSERT_TRUE(service.selectPrinter(QStringLiteral("PDF文件")));
    service.printer().setPageSetup({QSizeF(), QPageLayout::Landscape});

    answerNextDialog(false);
    EXPECT_EQ(service.showSetupDialog(nullptr), PrintService::SetupResult::Cancelled);
    answerNextDialog(true);
    EXPECT_EQ(service.showSetupDialog(nullptr), PrintService::SetupResult::Confirmed);

    // What the dialog showed is what later jobs get.
    Printer& printer = service.printer();
    ASSERT_TRUE(printer.beginDocument(QStringLiteral("支票")));
    printer.drawText(0, 0, QStringLiteral("X"));
    ASSERT_TRUE(printer.endDocument());
    const pdfreader::Info info = pdfreader::info(service.pdfPrinter().lastFile());
    EXPECT_NEAR(info.pageSizePt.width(), 841.89, 0.5);
    EXPECT_NEAR(info.pageSizePt.height(), 595.276, 0.5);
}
