// Where a printed report goes. The window hands the design to this service; the real one
// prints on the system's default printer, or saves a PDF when there is none.
#pragma once

#include "core/design_state.h"
#include "core/dialogs.h"

#include <memory>
#include <string>

class ReportPaper;

class ReportPrinting {
  public:
    virtual ~ReportPrinting() = default;
    // Prints the report of s, asking the user through boxes when the printer fails. Returns a
    // sentence for the prompt line when the user should be told where the page went.
    virtual std::string Print(const DesignState& s, MessageBoxes& boxes) = 0;
    // The longest beginning of description that the next report prints whole on its line.
    virtual std::string FitDescription(const std::string& description) = 0;
};

// The system's default printer, or a PDF in the user's documents folder.
class SystemPrinting : public ReportPrinting {
  public:
    SystemPrinting();
    ~SystemPrinting() override;
    std::string Print(const DesignState& s, MessageBoxes& boxes) override;
    std::string FitDescription(const std::string& description) override;

  private:
    // The paper a print run would use now, measuring only; looked up again after each run so
    // that a change of default printer is followed.
    std::unique_ptr<ReportPaper> m_measure;
};
