// The real printer: the report's page goes to the system's default printer as a print job or,
// when there is none, to a PDF in the user's documents folder. Text is measured with the
// printer's own font metrics as the page is built; the page is painted in one go when the
// document ends, so an abandoned run starts no print job and leaves no file behind.
#pragma once

#include "output/page_recorder.h"

#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QPrinterInfo;

class QtPrinterDevice : public PageRecorder {
  public:
    // A job called title on the printer.
    QtPrinterDevice(const QPrinterInfo& printer, QString title);
    // A PDF titled title, saved as baseName.pdf (or baseName (2).pdf ...) in the folder that
    // folder() names when the document ends; folder() may throw PrinterError.
    QtPrinterDevice(std::function<QString()> folder, QString baseName, QString title);
    // A PDF titled title, kept in memory for whoever writes it.
    explicit QtPrinterDevice(QString title);
    ~QtPrinterDevice() override;

    void EndDoc() override;
    void Abort() noexcept override;
    // The PDF written, once the document has ended; empty on a printer.
    const QString& SavedPath() const { return m_saved; }
    // The PDF painted, once the document has ended.
    const QByteArray& Pdf() const { return m_pdf; }

  protected:
    double PrintableWidth() const override;
    double MeasureText(const std::string& text, double points, bool bold) const override;
    double LineHeight(double points, bool bold) const override;

  private:
    QFont Font(double points, bool bold) const;
    QByteArray PaintPdf() const;

    enum class Destination { Printer, DocumentsFolder, Memory };

    std::unique_ptr<QPrinter> m_printer; // the page's size, margins and metrics
    Destination m_destination;
    std::function<QString()> m_folder; // the documents folder's
    QString m_baseName;
    QString m_title;
    QFont m_typeface;
    QByteArray m_pdf; // the painted page, kept for a retry of its delivery
    QString m_saved;
    bool m_ended = false;
};

// "Masking layout", followed by the description when there is one: the print job's name and
// the PDF's title.
QString ReportTitle(const std::string& description);

// The device for one print run at the moment when: the default printer, or else a PDF
// "Masking layout 2026-12-06 14-05-33.pdf" in the documents folder.
std::unique_ptr<QtPrinterDevice> OpenReportPrinter(const std::string& description,
                                                   const QDateTime& when);
