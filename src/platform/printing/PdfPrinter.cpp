#include "platform/printing/PdfPrinter.h"

#include "platform/printing/PrintService.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace slipcraft {

namespace {

// The job title as part of a file name: characters no file system takes become "_".
QString fileNamePart(const QString& title)
{
    QString part = title;
    for (QChar& c : part)
        if (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    return part;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace

PdfPrinter::PdfPrinter(const QString& outputFolder)
    : outputFolder_(outputFolder)
    , metrics_(QString())
{
    metrics_.setResolution(kResolution);
    metrics_.setPageSize(QPageSize(QPageSize::A4));
}

PdfPrinter::~PdfPrinter() = default;

QString PdfPrinter::name() const
{
    return PrintService::kPdfPrinterName;
}

void PdfPrinter::setOutputFile(const QString& filePath)
{
    outputFile_ = filePath;
}

void PdfPrinter::setPaperSize(const QPageSize& size)
{
    metrics_.setPageSize(size);
}

QPageSize PdfPrinter::paperSize() const
{
    return metrics_.pageLayout().pageSize();
}

const QPagedPaintDevice& PdfPrinter::metricsDevice() const
{
    return metrics_;
}

bool PdfPrinter::prepareJob(const QString& title)
{
    lastFile_.clear();
    if (!outputFile_.isEmpty()) {
        const QString folder = QFileInfo(outputFile_).absolutePath();
        if (!QDir().mkpath(folder)) {
            setErrorText(QStringLiteral("无法创建文件夹 %1。").arg(shown(folder)));
            return false;
        }
        auto file = std::make_unique<QSaveFile>(outputFile_);
        if (!file->open(QIODevice::WriteOnly)) {
            setErrorText(QStringLiteral("无法写入文件 %1：%2").arg(shown(outputFile_), file->errorString()));
            return false;
        }
        file_ = std::move(file);
        return true;
    }

    if (!QDir().mkpath(outputFolder_)) {
        setErrorText(QStringLiteral("无法创建文件夹 %1：请检查路径和写入权限。").arg(shown(outputFolder_)));
        return false;
    }
    // Unnamed until the job ends, so that nothing is left when it does not.
    auto file = std::make_unique<QTemporaryFile>(QDir(outputFolder_).filePath(QStringLiteral(".print-XXXXXX.pdf")));
    if (!file->open()) {
        setErrorText(QStringLiteral("文件夹 %1 无法写入：%2").arg(shown(outputFolder_), file->errorString()));
        return false;
    }
    QString base = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!title.isEmpty())
        base += QLatin1Char('-') + fileNamePart(title);
    datedBase_ = QDir(outputFolder_).filePath(base);
    file_ = std::move(file);
    return true;
}

QPagedPaintDevice* PdfPrinter::openDevice(const QString& title, int)
{
    // A PDF file has no copy count: it is printed as often as its reader asks.
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    writer_->setResolution(kResolution);
    writer_->setTitle(title);
    writer_->setCreator(QStringLiteral("Slipcraft"));
    return writer_.get();
}

bool PdfPrinter::closeDevice(bool painted)
{
    writer_.reset();
    if (!painted) {
        discardJob();
        return false;
    }
    bool written = false;
    if (auto* save = qobject_cast<QSaveFile*>(file_.get())) {
        written = save->commit();
        if (written)
            lastFile_ = outputFile_;
        else
            setErrorText(QStringLiteral("无法写入文件 %1：%2").arg(shown(outputFile_), save->errorString()));
    } else {
        written = commitDatedFile();
    }
    file_.reset();
    if (written && onWritten)
        onWritten(lastFile_);
    return written;
}

bool PdfPrinter::commitDatedFile()
{
    auto* file = static_cast<QTemporaryFile*>(file_.get());
    if (!file->flush() || file->error() != QFileDevice::NoError) {
        setErrorText(QStringLiteral("无法写入文件夹 %1：%2").arg(shown(outputFolder_), file->errorString()));
        return false;
    }
    // rename never replaces a file, so a name taken meanwhile moves on to the next.
    for (int n = 1;; ++n) {
        const QString path = datedBase_ + (n > 1 ? QStringLiteral("-%1").arg(n) : QString()) + QStringLiteral(".pdf");
        if (QFileInfo::exists(path))
            continue;
        if (file->rename(path)) {
            file->setAutoRemove(false);
            lastFile_ = path;
            return true;
        }
        if (!QFileInfo::exists(path)) {
            setErrorText(QStringLiteral("无法写入文件 %1：%2").arg(shown(path), file->errorString()));
            return false;
        }
    }
}

void PdfPrinter::discardJob()
{
    writer_.reset();
    if (auto* save = qobject_cast<QSaveFile*>(file_.get()))
        save->cancelWriting();
    file_.reset();
}

} // namespace slipcraft
