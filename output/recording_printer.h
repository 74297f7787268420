// A printer that only records the page, with fixed and simple metrics so that every position
// on it can be worked out by hand, and that can be told to refuse operations to try the report's
// failure handling.
//
// Metrics: the printable width is 11520 twips (8 inches: a letter page less quarter-inch
// margins); every character is 0.6 of the font size wide (12 twips per point, 120 at 10 pt) and
// a line is 1.2 times the font size high (24 twips per point, 240 at 10 pt). Characters are
// counted as UTF-8 code points.
#pragma once

#include "output/page_recorder.h"

class RecordingPrinter : public PageRecorder {
  public:
    static constexpr double kScaleWidth = 11520;
    static constexpr double kCharWidthPerPoint = 12;
    static constexpr double kLineHeightPerPoint = 24;

    // Operation number `operation` (counted from 1 over the successful operations) throws
    // PrinterError with the description `times` times before it is carried out; a negative
    // `times` refuses it for ever.
    void FailAt(long operation, int times, std::string description = "Printer not ready");

    void EndDoc() override;
    void Abort() noexcept override;

    // Operations carried out so far, refused ones not counted.
    long OperationCount() const { return m_done; }
    int Failures() const { return m_failures; }
    bool Ended() const { return m_ended; }
    // Abort discards the recorded page.
    bool Aborted() const { return m_aborted; }

  protected:
    void BeforeOperation() override;
    double PrintableWidth() const override { return kScaleWidth; }
    double MeasureText(const std::string& text, double points, bool bold) const override;
    double LineHeight(double points, bool bold) const override;

  private:
    long m_done = 0;
    long m_failAt = 0;
    int m_failuresLeft = 0;
    int m_failures = 0;
    std::string m_description;
    bool m_ended = false;
    bool m_aborted = false;
};
