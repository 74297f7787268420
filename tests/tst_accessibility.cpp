// What a screen reader and a dense screen show of the window (CTest runs this with
// QT_SCALE_FACTOR=2): a name on every control, following its caption, the designed tab order,
// the window drawn at twice its size, and no caption, list text or prompt cut off by the
// control showing it. The captions themselves are compared in tst_window.
#include "window_fixture.h"

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
    // Every control has a name and room for its text at the start and with the longest result
    // lines: those of the largest room the boxes accept, in millimetres.
    void everyControlIsNamedAndFitsItsText() {
        for (const bool calculated : {false, true}) {
            WindowFixture w;
            if (calculated) {
                w.conditions({"mm", "suspended", "1", "1", "1", "yes"});
                w.enterRoom("300000", "299999");
                w.click(w.controls().CmdCalculate);
            }
            QStringList unnamed, cut;
            for (QWidget* c : w.window().findChildren<QWidget*>()) {
                const bool showsText = qobject_cast<QLabel*>(c) ||
                                       qobject_cast<QAbstractButton*>(c) ||
                                       qobject_cast<FrameBox*>(c);
                if ((TakesTab(c) || showsText) && AccessibleName(c).trimmed().isEmpty())
                    unnamed << c->objectName();
                if (CutOff(c))
                    cut << c->objectName();
                if (auto* label = qobject_cast<QLabel*>(c);
                    label && !label->text().trimmed().isEmpty())
                    QCOMPARE(AccessibleName(c), label->text()); // names follow the texts
            }
            if (calculated) // a box is named after its caption
                QCOMPARE(AccessibleName(w.controls().TxtLeng), QString("Length, mm."));
            QVERIFY2(unnamed.isEmpty() && cut.isEmpty(),
                     qPrintable("unnamed " + unnamed.join(", ") + "; cut off " + cut.join(", ")));
        }
        WindowFixture w; // the window keeps its logical size whatever is asked, drawn at twice it
        w.window().resize(900, 700);
        w.settle();
        QCOMPARE(w.window().size(), QSize(657, 473));
        QCOMPARE(w.window().grab().toImage().size(), 2 * w.window().size());
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
        for (QWidget* c : w.window().findChildren<QWidget*>())
            QVERIFY2(!TakesTab(c) || designed.contains(c), qPrintable(c->objectName()));
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
