// What a screen reader and a dense screen show of the window (CTest runs this with
// QT_SCALE_FACTOR=2): a name on every control, names that follow captions and prompts as they
// change, the designed tab order, the window drawn at twice its size with every control at
// its logical place and the description frame hiding what lies under it, and no caption, list
// text or prompt cut off by the control showing it.
#include "window_fixture.h"

#include "ui/frame_box.h"
#include "ui/room_picture.h"

#include <QAccessible>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

QString AccessibleName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

bool TakesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Start, Feet, Millimeters, or a calculated design: 40 x 25 ft, or the largest room the boxes
// accept, in millimetres, whose result lines are the longest.
void Reach(WindowFixture& w, const QString& state) {
    if (state == "feet" || state == "millimeters") {
        w.chooseUnits(state == "feet");
    } else if (state != "start") {
        const bool feet = state == "calculated";
        w.conditions({feet ? "ft" : "mm", "suspended", "1", "1", "1", "yes"});
        w.enterRoom(feet ? "40" : "300000", feet ? "25" : "299999");
        w.click(w.controls().CmdCalculate);
    }
}

// Whether a control's text is wider or higher than the room it has for it.
bool CutOff(QWidget* c) {
    if (auto* label = qobject_cast<QLabel*>(c))
        return label->wordWrap() ? label->heightForWidth(label->width()) > label->height()
                                 : label->sizeHint().width() > label->width();
    if (auto* push = qobject_cast<QPushButton*>(c)) { // a push button's hint has a minimum width
        QStyleOptionButton option;
        option.initFrom(push);
        option.features |=
            push->autoDefault() ? QStyleOptionButton::AutoDefaultButton : QStyleOptionButton::None;
        return push->fontMetrics().horizontalAdvance(push->text()) >
               push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push).width();
    }
    if (auto* b = qobject_cast<QAbstractButton*>(c))
        return b->sizeHint().width() > b->width();
    if (auto* frame = qobject_cast<FrameBox*>(c)) // as the frame paints its caption
        return QFontMetrics(c->font()).horizontalAdvance(frame->Caption()) > frame->width() - 10;
    auto* list = qobject_cast<QListWidget*>(c);
    return list && list->count() && list->sizeHintForColumn(0) > list->viewport()->width();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
  private slots:
    // A name given as empty stands for the label's own current text.
    void everyControlIsNamedAndFitsItsText() {
        // clang-format off
        const std::map<QString, std::vector<std::pair<const char*, QString>>> names = {
            {"start", {{"LabNote", ""}, {"TxtDescription", "Layout Description"}}},
            {"feet", {{"TxtLeng", "Length, Ft."}, {"LabList(3)", ""}}},
            {"millimeters", {{"TxtLeng", "Length, mm."}, {"ListPlenum", "Plenum Depth, mm."},
                             {"ListCeilHt", "Ceiling Height, mm"}}},
            {"calculated", {{"LabList(1)", ""}, {"LabNote", "Prompt"}, {"FramDesign", "Design Results"}}},
            {"largest room", {}}};
        // clang-format on
        for (const auto& [state, expected] : names) {
            WindowFixture w;
            Reach(w, state);
            QStringList unnamed, cut;
            for (QWidget* c : w.form().findChildren<QWidget*>()) {
                const bool showsText = qobject_cast<QLabel*>(c) ||
                                       qobject_cast<QAbstractButton*>(c) ||
                                       qobject_cast<FrameBox*>(c);
                if ((TakesTab(c) || showsText) && AccessibleName(c).trimmed().isEmpty())
                    unnamed << c->objectName();
                if (CutOff(c))
                    cut << c->objectName();
            }
            QVERIFY2(unnamed.isEmpty() && cut.isEmpty(),
                     qPrintable(state + ": unnamed " + unnamed.join(", ") + "; cut off " +
                                cut.join(", ")));
            for (const auto& [name, text] : expected) {
                auto* c = w.form().findChild<QWidget*>(name);
                auto* label = qobject_cast<QLabel*>(c);
                QCOMPARE(AccessibleName(c), text.isEmpty() && label ? label->text() : text);
            }
        }
    }

    void tabWalksTheDesignedOrder() {
        WindowFixture w;
        const Controls& f = w.controls();
        const QList<QWidget*> designed = {
            f.OptMask(1), f.OptMask(2), f.OptMask(3),     f.ListPlenum,   f.ListCeil,
            f.ChkBatts,   f.TxtLeng,    f.TxtWid,         f.CmdCalculate, f.CmdPrint,
            f.CmdPrt,     f.CmdDone,    f.TxtDescription, f.TxtCeilHt,    f.OptMeas(2),
            f.OptMeas(1), f.ListCeilHt, f.ChkBattsOpen};
        QList<QWidget*> walked;
        for (QWidget* c : w.form().findChildren<QWidget*>())
            QVERIFY2(!TakesTab(c) || designed.contains(c), qPrintable(c->objectName()));
        QWidget* c = designed.first();
        do {
            if (designed.contains(c))
                walked << c;
            c = c->nextInFocusChain();
        } while (c != designed.first() && walked.size() <= designed.size());
        QCOMPARE(walked, designed);
    }

    // The window keeps its logical size and places (twips over 15); the black prompt box at
    // (4, 316), 177 x 82, spans twice that in the window's image, and so does the room picture.
    void windowIsDrawnAtTwiceItsSize() {
        WindowFixture w;
        const Controls& f = w.controls();
        w.form().resize(900, 700);
        w.settle();
        QCOMPARE(w.form().size(), QSize(657, 473)); // 9855 x 7095 twips, whatever is asked
        QCOMPARE(f.LabNote->geometry(), QRect(4, 316, 177, 82));
        const QImage shot = w.form().grab().toImage();
        QCOMPARE(shot.size(), 2 * w.form().size());
        for (const QPoint inside : {QPoint(9, 633), QPoint(360, 794)})
            QCOMPARE(shot.pixelColor(inside), QColor(Qt::black));
        for (const QPoint outside : {QPoint(364, 652), QPoint(28, 798)})
            QVERIFY(shot.pixelColor(outside) != QColor(Qt::black));
        Reach(w, "calculated");
        // A black dot at each speaker, 4 by 3 rows 10 by 9 ft apart, white between them.
        const QImage picture = f.PicRoom->grab().toImage();
        const auto grey = [&](double x, double y) { // x, y in feet
            return picture
                .pixelColor(int(2 + x * (picture.width() - 4) / 40),
                            int(2 + y * (picture.height() - 4) / 25))
                .lightness();
        };
        for (const double x : {5, 15, 25, 35})
            for (const double y : {3.5, 12.5, 21.5})
                QVERIFY(grey(x, y) < 8 && grey(x + 2.5, y + 2) > 247);
        w.click(f.CmdPrint); // the description frame hides the prompt box where it lies over it
        QCOMPARE(w.form().grab().toImage().pixelColor(200, 762),
                 w.form().palette().color(QPalette::Window));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
