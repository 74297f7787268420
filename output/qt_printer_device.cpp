#include "output/qt_printer_device.h"

#include "output/typeface.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

constexpr double kTwipsPerInch = 1440;
// A PDF keeps a quarter inch clear on every side, like a printer's unprintable edge.
const QMarginsF kPdfMargins(0.25, 0.25, 0.25, 0.25);

// Descriptions read like the classic device errors, as the user sees them followed by
// " error occurred.".
PrinterError Failure(const QString& text) {
    return PrinterError(text.toStdString());
}

} // namespace

QtPrinterDevice::QtPrinterDevice(const QPrinterInfo& printer)
    : m_printer(std::make_unique<QPrinter>(printer, QPrinter::HighResolution)),
      m_typeface(ProgramTypeface(10)) {}

QtPrinterDevice::QtPrinterDevice(const QString& pdfPath)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_pdfPath(pdfPath),
      m_typeface(ProgramTypeface(10)) {
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setPageMargins(kPdfMargins, QPageLayout::Inch);
}

QtPrinterDevice::~QtPrinterDevice() = default;

QString QtPrinterDevice::Name() const {
    return m_pdfPath.isEmpty() ? m_printer->printerName() : m_pdfPath;
}

QFont QtPrinterDevice::Font(double points, bool bold) const {
    QFont font = m_typeface;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double QtPrinterDevice::PrintableWidth() const {
    return m_printer->pageLayout().paintRect(QPageLayout::Inch).width() * kTwipsPerInch;
}

double QtPrinterDevice::MeasureText(const std::string& text, double points, bool bold) const {
    const QFontMetricsF metrics(Font(points, bold), m_printer.get());
    return metrics.horizontalAdvance(QString::fromStdString(text)) * kTwipsPerInch /
           m_printer->logicalDpiX();
}

double QtPrinterDevice::LineHeight(double points, bool bold) const {
    const QFontMetricsF metrics(Font(points, bold), m_printer.get());
    return metrics.lineSpacing() * kTwipsPerInch / m_printer->logicalDpiY();
}

void QtPrinterDevice::PaintOnPrinter() {
    if (!m_pdfPath.isEmpty()) {
        const QString folder = QFileInfo(m_pdfPath).absolutePath();
        if (!QDir().mkpath(folder))
            throw Failure("Path not found (" + folder + ")");
        if (!m_partial) {
            auto partial =
                std::make_unique<QTemporaryFile>(folder + "/.Masking layout XXXXXX.part");
            if (!partial->open())
                throw Failure("Permission denied (" + folder + ")");
            partial->close();
            m_partial = std::move(partial);
        }
        m_printer->setOutputFileName(m_partial->fileName());
    }
    QPainter painter;
    if (!painter.begin(m_printer.get()))
        throw Failure("Device unavailable (" + Name() + ")");
    PaintPage(painter, Items(), m_typeface);
    if (!painter.end())
        throw Failure("Device I/O (" + Name() + ")");
}

void QtPrinterDevice::SavePdf() {
    if (QFileInfo::exists(m_pdfPath))
        throw Failure("File already exists (" + m_pdfPath + ")");
    if (!m_partial->rename(m_pdfPath))
        throw Failure("Permission denied (" + m_pdfPath + ")");
    m_partial->setAutoRemove(false);
    m_partial.reset();
}

void QtPrinterDevice::EndDoc() {
    BeforeOperation();
    if (m_ended)
        return;
    // A retry after a failed save does not paint the page a second time.
    if (!m_painted) {
        PaintOnPrinter();
        m_painted = true;
    }
    if (!m_pdfPath.isEmpty())
        SavePdf();
    m_ended = true;
}

void QtPrinterDevice::Abort() noexcept {
    // Nothing has reached the printer before EndDoc; a partial PDF is removed with its file.
    m_partial.reset();
    DiscardPage();
    m_ended = true;
}

QString ReportPdfPath(const QString& folder, const QDateTime& when) {
    const QString stem = folder + "/Masking layout " + when.toString("yyyy-MM-dd HH-mm-ss");
    QString path = stem + ".pdf";
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QString(" (%1).pdf").arg(n);
    return path;
}

std::unique_ptr<PrinterDevice> OpenReportPrinter(ReportDestination& where) {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        where = {false, printer.printerName()};
        return std::make_unique<QtPrinterDevice>(printer);
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    where = {true, ReportPdfPath(folder, QDateTime::currentDateTime())};
    return std::make_unique<QtPrinterDevice>(where.path);
}
