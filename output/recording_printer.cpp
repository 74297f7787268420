#include "output/recording_printer.h"

#include <algorithm>

void RecordingPrinter::FailAt(long operation, int times, std::string description) {
    m_failAt = operation;
    m_failuresLeft = times;
    m_description = std::move(description);
}

void RecordingPrinter::BeforeOperation() {
    if (m_done + 1 == m_failAt && m_failuresLeft != 0) {
        if (m_failuresLeft > 0)
            --m_failuresLeft;
        ++m_failures;
        throw PrinterError(m_description);
    }
    ++m_done;
}

void RecordingPrinter::EndDoc() {
    BeforeOperation();
    m_ended = true;
}

void RecordingPrinter::Abort() noexcept {
    DiscardPage();
    m_aborted = true;
}

double RecordingPrinter::MeasureText(const std::string& text, double points, bool) const {
    const auto isContinuation = [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    };
    const auto chars =
        std::count_if(text.begin(), text.end(), [&](char c) { return !isContinuation(c); });
    return static_cast<double>(chars) * points * kCharWidthPerPoint;
}

double RecordingPrinter::LineHeight(double points, bool) const {
    return points * kLineHeightPerPoint;
}
