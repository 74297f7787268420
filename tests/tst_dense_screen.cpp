// The window on a screen of twice the usual density (CTest runs this with QT_SCALE_FACTOR=2):
// every control keeps its designed place in logical pixels, the window is drawn at twice the
// size, and no caption, list text or prompt is cut off by the control that shows it.
#include "window_fixture.h"

#include "ui/frame_box.h"

#include <QStyle>
#include <QStyleOptionButton>

namespace {

// Start, Feet, Millimeters, or a calculated design: a small one in feet, or the largest room
// the boxes accept in millimetres, whose result lines are the longest.
void reach(WindowFixture& w, const QString& state) {
    if (state == "start")
        return;
    const bool feet = state == "feet" || state == "calculated";
    w.chooseUnits(feet);
    if (state == "feet" || state == "millimeters")
        return;
    w.pick(w.form().ListPlenum, 0);
    w.pick(w.form().ListCeil, 0);
    w.pick(w.form().ListCeilHt, 0);
    if (feet)
        w.enterRoom("40", "25");
    else
        w.enterRoom("300000", "299999");
    w.click(w.form().CmdCalculate);
}

int contentsWidth(QAbstractButton* b, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    if (auto* push = qobject_cast<QPushButton*>(b))
        if (push->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
    return b->style()->subElementRect(element, &option, b).width();
}

// What of a control's text does not fit it, or nothing.
QString cutOff(QWidget* c) {
    const QFontMetrics m(c->font());
    auto lineTooWide = [&](const QString& text, int room) {
        for (const QString& line : text.split('\n'))
            if (m.horizontalAdvance(line) > room)
                return line;
        return QString();
    };
    if (auto* label = qobject_cast<QLabel*>(c)) {
        if (!label->wordWrap())
            return lineTooWide(label->text(), label->contentsRect().width());
        const QRect needed = m.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
        return needed.height() > label->contentsRect().height() ? label->text() : QString();
    }
    if (auto* b = qobject_cast<QPushButton*>(c))
        return lineTooWide(b->text(), contentsWidth(b, QStyle::SE_PushButtonContents));
    if (auto* b = qobject_cast<QRadioButton*>(c))
        return lineTooWide(b->text(), contentsWidth(b, QStyle::SE_RadioButtonContents));
    if (auto* b = qobject_cast<QCheckBox*>(c))
        return lineTooWide(b->text(), contentsWidth(b, QStyle::SE_CheckBoxContents));
    if (auto* frame = qobject_cast<FrameBox*>(c))
        return lineTooWide(frame->Caption(), frame->width() - 6 - 4); // as the frame paints it
    if (auto* list = qobject_cast<QListWidget*>(c)) {
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list);
        for (int i = 0; i < list->count(); ++i) {
            const QString item =
                lineTooWide(list->item(i)->text(), list->viewport()->width() - 2 * (margin + 1));
            if (!item.isEmpty())
                return item;
        }
    }
    return QString();
}

} // namespace

class TestDenseScreen : public QObject {
    Q_OBJECT
  private slots:
    void windowIsDrawnAtTwiceItsSize() {
        WindowFixture w;
        MainForm& f = w.form();
        QCOMPARE(f.devicePixelRatioF(), 2.0);
        QCOMPARE(f.size(), QSize(657, 473)); // 9855 x 7095 twips, in logical pixels
        const QPixmap shot = f.grab();
        QCOMPARE(shot.size(), 2 * f.size());
        // The black prompt box, at (4, 316) 177 x 82 logical, spans twice that in the image.
        const QImage image = shot.toImage();
        const QRect note(8, 632, 354, 164);
        for (const QPoint inside :
             {note.topLeft() + QPoint(1, 1), note.bottomRight() - QPoint(1, 1)})
            QCOMPARE(image.pixelColor(inside), QColor(Qt::black));
        for (const QPoint outside :
             {note.topRight() + QPoint(3, 20), note.bottomLeft() + QPoint(20, 3)})
            QVERIFY(image.pixelColor(outside) != QColor(Qt::black));
    }

    void controlsKeepTheirLogicalPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels"); // the designed twips over 15
        QTest::newRow("OptMeas(2)") << "OptMeas(2)" << QRect(88, 18, 93, 24);
        QTest::newRow("TxtWid") << "TxtWid" << QRect(92, 51, 65, 24);
        QTest::newRow("ListCeil") << "ListCeil" << QRect(164, 36, 197, 84);
        QTest::newRow("CmdPrint") << "CmdPrint" << QRect(4, 432, 137, 25);
    }
    void controlsKeepTheirLogicalPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        WindowFixture w;
        const QWidget* control = w.form().findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), pixels);
    }

    void textsFitTheirControls_data() {
        QTest::addColumn<QString>("state");
        for (const char* state : {"start", "feet", "millimeters", "calculated", "largest room"})
            QTest::newRow(state) << QString(state);
    }
    void textsFitTheirControls() {
        QFETCH(QString, state);
        WindowFixture w;
        reach(w, state);
        QStringList cut;
        for (QWidget* c : w.form().findChildren<QWidget*>()) {
            const QString text = cutOff(c);
            if (!text.isEmpty())
                cut << c->objectName() + ": \"" + text + "\"";
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
    }
};

QTEST_MAIN(TestDenseScreen)
#include "tst_dense_screen.moc"
