// What a screen reader finds in the window: a name on every control that takes the focus or
// shows text, names that follow captions and prompts as they change, and the designed tab order.
#include "window_fixture.h"

#include "ui/frame_box.h"

#include <QAccessible>

namespace {

QString accessibleName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

bool takesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Start, Feet, Millimeters, or a calculated design in feet.
void reach(WindowFixture& w, const QString& state) {
    if (state == "start")
        return;
    w.chooseUnits(state != "millimeters");
    if (state != "calculated")
        return;
    w.pick(w.form().ListPlenum, 0);
    w.pick(w.form().ListCeil, 0);
    w.pick(w.form().ListCeilHt, 0);
    w.enterRoom("40", "25");
    w.click(w.form().CmdCalculate);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
  private slots:
    void everyControlIsNamed_data() {
        QTest::addColumn<QString>("state");
        for (const char* state : {"start", "feet", "millimeters", "calculated"})
            QTest::newRow(state) << QString(state);
    }
    void everyControlIsNamed() {
        QFETCH(QString, state);
        WindowFixture w;
        reach(w, state);
        QStringList unnamed;
        for (QWidget* c : w.form().findChildren<QWidget*>()) {
            const bool showsText = qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c) ||
                                   qobject_cast<FrameBox*>(c);
            if ((takesTab(c) || showsText) && accessibleName(c).trimmed().isEmpty())
                unnamed << c->objectName();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    }

    // An empty name stands for the control's own current text.
    void namesFollowWhatTheControlsSay_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        auto row = [](const char* tag, const char* state, const char* control, const char* name) {
            QTest::newRow(tag) << QString(state) << QString(control) << QString(name);
        };
        row("length box, feet", "feet", "TxtLeng", "Length, Ft.");
        row("length box, mm", "millimeters", "TxtLeng", "Length, mm.");
        row("width label, mm", "millimeters", "LabWid", "Width, mm.");
        row("structural height box, mm", "millimeters", "TxtCeilHt",
            "Structural Ceiling Height, mm.");
        row("plenum list, mm", "millimeters", "ListPlenum", "Plenum Depth, mm.");
        row("ceiling height list, mm", "millimeters", "ListCeilHt", "Ceiling Height, mm");
        row("start prompt", "start", "LabNote", "");
        row("prompt after a unit choice", "feet", "LabNote", "");
        row("condition line", "feet", "LabList(3)", "");
        row("blank prompt beside results", "calculated", "LabNote", "Prompt");
        row("result line", "calculated", "LabList(1)", "");
        row("results frame", "calculated", "FramDesign", "Design Results");
        row("description box", "start", "TxtDescription", "Layout Description");
    }
    void namesFollowWhatTheControlsSay() {
        QFETCH(QString, state);
        QFETCH(QString, control);
        QFETCH(QString, name);
        WindowFixture w;
        reach(w, state);
        auto* c = w.form().findChild<QWidget*>(control);
        QVERIFY(c);
        if (name.isEmpty()) {
            auto* label = qobject_cast<QLabel*>(c);
            QVERIFY(label && !label->text().trimmed().isEmpty());
            name = label->text();
        }
        QCOMPARE(accessibleName(c), name);
    }

    void tabWalksTheDesignedOrder() {
        WindowFixture w;
        MainForm& f = w.form();
        const QList<QWidget*> designed = {
            f.OptMask(1), f.OptMask(2), f.OptMask(3),     f.ListPlenum,   f.ListCeil,
            f.ChkBatts,   f.TxtLeng,    f.TxtWid,         f.CmdCalculate, f.CmdPrint,
            f.CmdPrt,     f.CmdDone,    f.TxtDescription, f.TxtCeilHt,    f.OptMeas(2),
            f.OptMeas(1), f.ListCeilHt, f.ChkBattsOpen};
        QList<QWidget*> focusable;
        for (QWidget* c : f.findChildren<QWidget*>())
            if (takesTab(c))
                focusable << c;
        QCOMPARE(QSet<QWidget*>(focusable.begin(), focusable.end()),
                 QSet<QWidget*>(designed.begin(), designed.end()));
        QList<QWidget*> walked;
        QWidget* c = designed.first();
        do {
            if (designed.contains(c))
                walked << c;
            c = c->nextInFocusChain();
        } while (c != designed.first() && walked.size() <= designed.size());
        QCOMPARE(walked, designed);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
