// Where a printed report goes. The window asks for a printer device for each print run; the
// real service opens the system's default printer, or a PDF file when there is none.
#pragma once

#include <memory>
#include <string>

class PrinterDevice;

class ReportPrinting {
  public:
    virtual ~ReportPrinting() = default;
    // Opens a device for one report. `where` receives a sentence for the prompt line saying
    // where the page will go, or stays empty for a printer. Throws PrinterError on failure.
    virtual std::unique_ptr<PrinterDevice> Open(std::string& where) = 0;
};
