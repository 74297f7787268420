// The one-page design report: title, description, design conditions, wiring estimate, the
// results table with the total and, below it, the layout array, a scaled plan of the speakers.
#pragma once

#include "core/design_state.h"
#include "core/dialogs.h"
#include "output/printer_device.h"

enum class PrintOutcome { Printed, Cancelled };

// Draws the whole page on printer and ends the document. A refused printer operation shows
// "Printer Error" with Retry and Cancel: Retry tries that operation again and the run goes on,
// Cancel abandons the document (printer.Abort()) and returns Cancelled. Reads s only.
PrintOutcome PrintReport(PrinterDevice& printer, const DesignState& s, MessageBoxes& boxes);

// The longest beginning of description, cut between characters, that the report prints whole on
// its description line on printer.
std::string FittingDescription(PrinterDevice& printer, const std::string& description);
