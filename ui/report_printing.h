// Where a printed report goes. The window hands the design to this service; the real one
// prints on the system's default printer, or saves a PDF when there is none.
#pragma once

#include "core/design_state.h"
#include "core/dialogs.h"

#include <string>

class ReportPrinting {
  public:
    virtual ~ReportPrinting() = default;
    // Prints the report of s, asking the user through boxes when the printer fails. Returns a
    // sentence for the prompt line when the user should be told where the page went.
    virtual std::string Print(const DesignState& s, MessageBoxes& boxes) = 0;
};

// The system's default printer, or a PDF in the user's documents folder.
class SystemPrinting : public ReportPrinting {
  public:
    std::string Print(const DesignState& s, MessageBoxes& boxes) override;
};
