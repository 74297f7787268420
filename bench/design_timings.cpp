#include "design_timings.h"

#include "timing.h"

#include "core/calculate.h"
#include "core/compute_rows.h"
#include "core/entry.h"
#include "core/unit_data.h"
#include "output/print_report.h"
#include "output/printer_output.h"
#include "output/retained_drawing.h"
#include "output/room_drawing.h"
#include "ui/main_window.h"
#include "ui/report_printing.h"
#include "ui/room_picture.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

namespace {

// Location 1, the first plenum band and tile type, the lower ceiling band and batts over the
// tiles: 10 ft or 3000 mm, the smallest nominal spacing there is.
void SmallestSpacing(DesignState& s, const RoomCase& room) {
    s.units = room.feet ? Units::Feet : Units::Millimetres;
    s.location = Location::AboveCeiling;
    s.plenumDepth = 1;
    s.ceilingType = 1;
    s.ceilingHeight = 1;
    s.absorption = Absorption::BattsOverTiles;
    s.length = room.leng;
    s.width = room.wid;
}

// The same design given to the window through its controls, as a user would.
// The focus handlers that store an entry run only in the active window.
void EnterSmallestSpacing(MainWindow& form, const RoomCase& room) {
    form.activateWindow();
    for (int i = 0; i < 100 && !form.isActiveWindow(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    form.findChild<QRadioButton*>(room.feet ? "OptMeas(1)" : "OptMeas(2)")->click();
    QApplication::processEvents();
    for (const char* list : {"ListPlenum", "ListCeil", "ListCeilHt"}) {
        form.findChild<QListWidget*>(list)->setCurrentRow(0);
        QApplication::processEvents();
    }
    form.findChild<QCheckBox*>("ChkBatts")->setChecked(true);
    QApplication::processEvents();
    for (const auto& [name, value] : {std::pair{"TxtLeng", room.leng}, {"TxtWid", room.wid}}) {
        auto* box = form.findChild<QLineEdit*>(name);
        box->setFocus();
        box->setText(QString::number(value));
        QApplication::processEvents();
    }
    // Enter in the width box enables Calculate and moves on to it, storing the width.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form.findChild<QLineEdit*>("TxtWid"), &enter);
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

DesignState Calculated(const RoomCase& room) {
    DesignState s;
    SmallestSpacing(s, room);
    OrientRoom(s);
    ComputeDesign(s);
    s.description = "Open office, second floor";
    return s;
}

// The report never fails here; should it, the box is answered Cancel and the run is reported.
class CancellingBoxes : public MessageBoxes {
  public:
    MsgAnswer Show(const std::string&, MsgIcon, const std::string&, MsgButtons) override {
        ++shown;
        return MsgAnswer::Cancel;
    }
    int shown = 0;
};

class NoPrinting : public ReportPrinting {
  public:
    std::string Print(const DesignState&, MessageBoxes&) override { return {}; }
    std::string FitDescription(const std::string& description) override { return description; }
};

volatile std::int64_t g_sink = 0;

} // namespace

std::string Describe(const RoomCase& room) {
    return std::to_string(room.leng) + " x " + std::to_string(room.wid) +
           (room.feet ? " ft" : " mm");
}

std::int64_t SpeakerCount(const RoomCase& room) {
    return SpeakerCount(Calculated(room));
}

double ComputeRowsUs(const RoomCase& room, int runs) {
    DesignState s;
    SmallestSpacing(s, room);
    constexpr int kCallsPerRun = 10000;
    return MedianMs(runs,
                    [&] {
                        const std::int32_t nominal = NominalSpacing(s).value_or(0);
                        for (int i = 0; i < kCallsPerRun; ++i) {
                            g_sink = g_sink + ComputeRows(nominal, s.length, s.units.value())->rows;
                            g_sink = g_sink + ComputeRows(nominal, s.width, s.units.value())->rows;
                        }
                    }) *
           1000 / kCallsPerRun;
}

double CalculateDrawingMs(const RoomCase& room, int runs) {
    DesignState s;
    SmallestSpacing(s, room);
    const QSize picture(Px(4000), Px(RoomPictureHeight(room.leng, room.wid)));
    QImage image(picture, QImage::Format_ARGB32_Premultiplied);
    const QRectF inner = QRectF(QPointF(0, 0), QSizeF(picture)).adjusted(1, 1, -1, -1);
    RetainedDrawing drawing;
    return MedianMs(runs, [&] {
        OrientRoom(s);
        ComputeDesign(s);
        g_sink = g_sink + static_cast<std::int64_t>(ResultLines(s)[3].size());
        drawing.SetUserRect(0, 0, s.length, s.width);
        DrawLayout(drawing, s);
        QPainter painter(&image);
        drawing.Paint(painter, inner);
    });
}

double ReportComposedMs(const RoomCase& room, int runs) {
    const DesignState s = Calculated(room);
    bool printed = true;
    const double ms =
        MedianMs(runs, [&] { printed = !ComposeReport(s, FixedMetrics()).empty() && printed; });
    return printed ? ms : -1;
}

double ReportPdfMs(const RoomCase& room, int runs) {
    const DesignState s = Calculated(room);
    CancellingBoxes boxes;
    QTemporaryDir folder;
    int n = 0;
    bool printed = folder.isValid();
    const double ms = MedianMs(runs, [&] {
        const QString name = QString("report %1").arg(++n);
        const QString path = folder.filePath(name + ".pdf");
        PrinterOutput printer([&] { return folder.path(); }, name, "Masking layout");
        printed = PrintReport(printer, s, boxes) == PrintOutcome::Printed &&
                  QFileInfo(path).size() > 0 && printed;
    });
    return printed ? ms : -1;
}

double FilterMs(const std::string& text, int runs) {
    return MedianMs(runs, [&] {
        g_sink = g_sink + static_cast<std::int64_t>(RefusedBeforeCaret(text, "", "0123456789."));
    });
}

struct WindowBench::Parts {
    CancellingBoxes boxes;
    NoPrinting printing;
    MainWindow form{boxes, printing};
};

WindowBench::WindowBench() : m_parts(std::make_unique<Parts>()) {
    m_parts->form.show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

WindowBench::~WindowBench() = default;

double WindowBench::CalculateMs(const RoomCase& room, int runs) {
    MainWindow& form = m_parts->form;
    EnterSmallestSpacing(form, room);
    auto* calculate = form.findChild<QPushButton*>("CmdCalculate");
    if (!calculate->isEnabled())
        return -1; // the design did not reach the window
    auto* picture = form.findChild<RoomPicture*>("PicRoom");
    const auto newRoom = [&] {
        picture->setVisible(false);
        picture->Surface().Clear();
        QApplication::processEvents();
    };
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) { // the first run warms caches and is not counted
        newRoom();
        const double start = NowMs();
        calculate->click();
        QApplication::processEvents(); // paints what the click left to be painted
        if (i > 0)
            times.push_back(NowMs() - start);
    }
    return Median(times);
}

double WindowBench::PasteMs(const std::string& text, const std::string& left, int runs) {
    MainWindow& form = m_parts->form;
    const auto settle = [&] {
        while (!form.idle())
            QApplication::processEvents();
        QApplication::processEvents(); // paints what the handlers left to be painted
    };
    form.activateWindow();
    // Feet, then an access floor: the focus is in the length box.
    form.findChild<QRadioButton*>("OptMeas(1)")->click();
    form.findChild<QRadioButton*>("OptMask(3)")->click();
    auto* length = form.findChild<QLineEdit*>("TxtLeng");
    settle();
    QApplication::clipboard()->setText(QString::fromStdString(text));
    bool kept = length->hasFocus();
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) { // the first run warms caches and is not counted
        length->clear();
        settle();
        const double start = NowMs();
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(length, &paste);
        settle();
        if (i > 0)
            times.push_back(NowMs() - start);
        kept = kept && length->text().toStdString() == left;
    }
    return kept ? Median(times) : -1;
}
