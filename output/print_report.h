// The one-page design report: title, description, design conditions, wiring estimate, the
// results table with the total and, below it, the layout array, a scaled plan of the speakers.
// The page is composed as data from the design and the metrics of the paper it is laid out on,
// and then handed whole to where it goes.
#pragma once

#include "core/design_state.h"
#include "core/dialogs.h"
#include "output/report_page.h"

#include <stdexcept>
#include <string>
#include <vector>

// Where a report could not go. Its description is what the user is told.
class PrinterError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    std::string Description() const { return what(); }
};

// Where a report goes: the paper it is laid out for, and its delivery.
class ReportOutput {
  public:
    virtual ~ReportOutput() = default;
    virtual const TextMetrics& Metrics() const = 0;
    // Opens the destination and finishes and writes the file or job with the page on it. Throws
    // PrinterError when that fails; a failed delivery leaves nothing behind, so it can simply be
    // tried again.
    virtual void Deliver(const std::vector<PageItem>& page) = 0;
};

enum class PrintOutcome { Printed, Cancelled };

// The report of s laid out with metrics.
std::vector<PageItem> ComposeReport(const DesignState& s, const TextMetrics& metrics);

// Composes the report of s for output and delivers it. A failed delivery shows "Printer Error"
// with Retry and Cancel: Retry delivers again, Cancel gives the report up and returns Cancelled.
PrintOutcome PrintReport(ReportOutput& output, const DesignState& s, MessageBoxes& boxes);

// The longest beginning of description, cut between characters, that the report prints whole on
// its description line on paper of these metrics.
std::string FittingDescription(const TextMetrics& metrics, const std::string& description);

// The text with every line break (CR, LF, CRLF, and the other vertical spaces) a blank, for
// places that hold one line.
std::string OneLine(const std::string& text);
