// The real printer: the report's page goes to the system's default printer or, when there is
// none, to a PDF in the user's documents folder. Text is measured with the printer's own font
// metrics as the page is built; the page is painted on the printer in one go when the document
// ends, so an abandoned run starts no print job and leaves no file behind.
#pragma once

#include "output/page_recorder.h"

#include <QDateTime>
#include <QFont>
#include <QString>
#include <memory>

class QPrinter;
class QPrinterInfo;
class QTemporaryFile;

// Where the page of a print run goes: a printer's name, or the path of the PDF written.
struct ReportDestination {
    bool isPdf = false;
    QString path;
};

class QtPrinterDevice : public PageRecorder {
  public:
    explicit QtPrinterDevice(const QPrinterInfo& printer);
    // A PDF at pdfPath, its folder created if missing. The file appears only when the document
    // ends; until then it is written under a temporary name beside it.
    explicit QtPrinterDevice(const QString& pdfPath);
    ~QtPrinterDevice() override;

    void EndDoc() override;
    void Abort() noexcept override;

  protected:
    double PrintableWidth() const override;
    double MeasureText(const std::string& text, double points, bool bold) const override;
    double LineHeight(double points, bool bold) const override;

  private:
    QString Name() const;
    QFont Font(double points, bool bold) const;
    void PaintOnPrinter();
    void SavePdf();

    std::unique_ptr<QPrinter> m_printer;
    QString m_pdfPath; // empty when printing on a printer
    QFont m_typeface;
    std::unique_ptr<QTemporaryFile> m_partial;
    bool m_painted = false;
    bool m_ended = false;
};

// "Masking layout 2026-12-06 14-05-33.pdf" in folder, with " (2)", " (3)" ... added before the
// extension while a file of that name exists.
QString ReportPdfPath(const QString& folder, const QDateTime& when);

// Opens the device for one print run and says where its page will go.
std::unique_ptr<PrinterDevice> OpenReportPrinter(ReportDestination& where);
