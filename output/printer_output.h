// The real printer: the report's page goes to the system's default printer as a print job or,
// when there is none, to a PDF in the user's documents folder. The page is laid out with the
// printer's own font metrics and painted as a PDF in one pass; only its delivery can fail.
#pragma once

#include "output/print_report.h"

#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QPrinterInfo;

// The paper a report is laid out on, measured with the report's typeface at the printer's
// resolution: a printer's page, or a PDF's with a quarter inch clear on every side.
class ReportPaper : public TextMetrics {
  public:
    ReportPaper();
    explicit ReportPaper(const QPrinterInfo& printer);
    ~ReportPaper() override;

    double PageWidth() const override;
    double TextWidth(const std::string& text, double points, bool bold) const override;
    double LineHeight(double points, bool bold) const override;
    // The page as a one-page PDF titled title, at the printer's resolution on its paper.
    QByteArray Pdf(const std::vector<PageItem>& page, const QString& title) const;
    QString PrinterName() const;

  private:
    QFont Font(double points, bool bold) const;

    std::unique_ptr<QPrinter> m_printer;
    QFont m_typeface;
};

class PrinterOutput : public ReportOutput {
  public:
    // A job called title on the printer.
    PrinterOutput(const QPrinterInfo& printer, QString title);
    // A PDF titled title, saved as baseName.pdf (or baseName (2).pdf ...) in the folder that
    // folder() names when it is delivered; folder() may throw PrinterError.
    PrinterOutput(std::function<QString()> folder, QString baseName, QString title);

    const TextMetrics& Metrics() const override { return m_paper; }
    void Deliver(const std::vector<PageItem>& page) override;
    // The PDF written, once delivered; empty on a printer.
    const QString& SavedPath() const { return m_saved; }

  private:
    ReportPaper m_paper;
    std::function<QString()> m_folder; // none for a printer
    QString m_baseName;
    QString m_title;
    QString m_saved;
};

// "Masking layout", followed by the description when there is one: the print job's name and
// the PDF's title.
QString ReportTitle(const std::string& description);

// The paper the next report is laid out on: the default printer's, or else a PDF's.
std::unique_ptr<ReportPaper> NextReportPaper();

// Where a report goes at the moment when: the default printer, or else a PDF
// "Masking layout 2026-12-06 14-05-33.pdf" in the documents folder.
std::unique_ptr<PrinterOutput> OpenReportOutput(const std::string& description,
                                                const QDateTime& when);
