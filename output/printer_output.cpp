#include "output/printer_output.h"

#include "core/app_info.h"
#include "output/safe_file.h"
#include "output/typeface.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>
#include <dlfcn.h>

#include <optional>
#include <type_traits>

namespace {

constexpr double kTwipsPerInch = 1440;
// A PDF keeps a quarter inch clear on every side, like a printer's unprintable edge.
const QMarginsF kPdfMargins(0.25, 0.25, 0.25, 0.25);

PrinterError Failure(const QString& text) {
    return PrinterError(text.toStdString());
}

// The print system's library, loaded when a report first goes to a printer rather than at
// start: with its dependencies it would cost every start of the window over 3 MiB (Qt's own
// printing plugin loads it the same way). Null when it cannot be loaded.
struct CupsLibrary {
    decltype(&cupsCreateJob) createJob;
    decltype(&cupsStartDocument) startDocument;
    decltype(&cupsWriteRequestData) writeRequestData;
    decltype(&cupsFinishDocument) finishDocument;
    decltype(&cupsLastErrorString) lastErrorString;
    decltype(&cupsCancelJob2) cancelJob;
};

const CupsLibrary* Cups() {
    static const std::optional<CupsLibrary> cups = []() -> std::optional<CupsLibrary> {
        void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return std::nullopt;
        const auto find = [library](auto& function, const char* name) {
            function =
                reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
            return function != nullptr;
        };
        CupsLibrary c{};
        if (find(c.createJob, "cupsCreateJob") && find(c.startDocument, "cupsStartDocument") &&
            find(c.writeRequestData, "cupsWriteRequestData") &&
            find(c.finishDocument, "cupsFinishDocument") &&
            find(c.lastErrorString, "cupsLastErrorString") && find(c.cancelJob, "cupsCancelJob2"))
            return c;
        return std::nullopt;
    }();
    return cups ? &*cups : nullptr;
}

// Hands the PDF to the print system as one job. A job the print system refuses at any step is
// cancelled, so a retry starts afresh and nothing is printed twice.
void SubmitJob(const QString& printer, const QString& title, const QByteArray& pdf) {
    const CupsLibrary* cups = Cups();
    if (!cups)
        throw Failure("Device unavailable (the print system's library libcups.so.2 is missing)");
    const QByteArray name = printer.toUtf8();
    const QByteArray jobTitle = title.toUtf8();
    const int job =
        cups->createJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), 0, nullptr);
    bool sent = job > 0 &&
                cups->startDocument(CUPS_HTTP_DEFAULT, name.constData(), job, jobTitle.constData(),
                                    CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    if (sent)
        sent = cups->writeRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                                      static_cast<size_t>(pdf.size())) == HTTP_STATUS_CONTINUE;
    if (job > 0 && sent)
        sent = cups->finishDocument(CUPS_HTTP_DEFAULT, name.constData()) <
               IPP_STATUS_REDIRECTION_OTHER_SITE;
    if (sent)
        return;
    const QString why = QString::fromUtf8(cups->lastErrorString());
    if (job > 0)
        cups->cancelJob(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
    throw Failure("Device unavailable (the printer " + printer + " refused the report: " + why +
                  ")");
}

} // namespace

ReportPaper::ReportPaper()
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_typeface(ProgramTypeface(10)) {
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setPageMargins(kPdfMargins, QPageLayout::Inch);
}

ReportPaper::ReportPaper(const QPrinterInfo& printer)
    : m_printer(std::make_unique<QPrinter>(printer, QPrinter::HighResolution)),
      m_typeface(ProgramTypeface(10)) {}

ReportPaper::~ReportPaper() = default;

QFont ReportPaper::Font(double points, bool bold) const {
    QFont font = m_typeface;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double ReportPaper::PageWidth() const {
    return m_printer->pageLayout().paintRect(QPageLayout::Inch).width() * kTwipsPerInch;
}

double ReportPaper::TextWidth(const std::string& text, double points, bool bold) const {
    const QFontMetricsF metrics(Font(points, bold), m_printer.get());
    return metrics.horizontalAdvance(QString::fromStdString(text)) * kTwipsPerInch /
           m_printer->logicalDpiX();
}

double ReportPaper::LineHeight(double points, bool bold) const {
    const QFontMetricsF metrics(Font(points, bold), m_printer.get());
    return metrics.lineSpacing() * kTwipsPerInch / m_printer->logicalDpiY();
}

// The printer and the documents folder both take the page as a PDF, so painting it cannot fail.
QByteArray ReportPaper::Pdf(const std::vector<PageItem>& page, const QString& title) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(m_printer->resolution());
    pdf.setPageLayout(m_printer->pageLayout());
    pdf.setTitle(title);
    pdf.setCreator(QString("%1 %2").arg(kApplicationTitle, kApplicationVersion));
    QPainter painter(&pdf);
    PaintPage(painter, page, m_typeface);
    painter.end();
    return bytes;
}

QString ReportPaper::PrinterName() const {
    return m_printer->printerName();
}

PrinterOutput::PrinterOutput(const QPrinterInfo& printer, QString title)
    : m_paper(printer), m_title(std::move(title)) {}

PrinterOutput::PrinterOutput(std::function<QString()> folder, QString baseName, QString title)
    : m_folder(std::move(folder)), m_baseName(std::move(baseName)), m_title(std::move(title)) {}

void PrinterOutput::Deliver(const std::vector<PageItem>& page) {
    const QByteArray pdf = m_paper.Pdf(page, m_title);
    if (m_folder)
        m_saved = SaveReportFile(m_folder(), m_baseName, pdf);
    else
        SubmitJob(m_paper.PrinterName(), m_title, pdf);
}

QString ReportTitle(const std::string& description) {
    const QString title = "Masking layout";
    return description.empty() ? title
                               : title + " - " + QString::fromStdString(OneLine(description));
}

std::unique_ptr<ReportPaper> NextReportPaper() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    return printer.isNull() ? std::make_unique<ReportPaper>()
                            : std::make_unique<ReportPaper>(printer);
}

std::unique_ptr<PrinterOutput> OpenReportOutput(const std::string& description,
                                                const QDateTime& when) {
    const QString title = ReportTitle(description);
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull())
        return std::make_unique<PrinterOutput>(printer, title);
    return std::make_unique<PrinterOutput>(
        DocumentsFolder, "Masking layout " + when.toString("yyyy-MM-dd HH-mm-ss"), title);
}
