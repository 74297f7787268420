// Building the window: every control at its designed place, size, font and tab position, and
// the wiring of toolkit events to the handlers. The handlers themselves live in the files named
// after the part of the window they serve.
#include "ui/main_form.h"

#include "core/app_info.h"
#include "output/typeface.h"
#include "ui/frame_box.h"
#include "ui/room_picture.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

QFont Face(double points, bool bold = false) {
    return ProgramTypeface(points, bold);
}
const double kDefaultPoints = 8.25;
const double kControlPoints = 9.75;
const double kBigButtonPoints = 12;

const QSize kClientSize(Px(9855), Px(7095));

// Screen readers name a button, option, check box or label by its caption, so the name follows
// a caption that changes with the unit system.
template <typename W>
W* Make(QWidget* parent, const char* name, const QString& caption, double points,
        bool bold = false) {
    W* w = new W(caption, parent);
    w->setObjectName(name);
    w->setFont(Face(points, bold));
    return w;
}

FrameBox* MakeFrame(QWidget* parent, const char* name, const QString& caption) {
    return Make<FrameBox>(parent, name, caption, kControlPoints, true);
}

// Screen readers name a text box by the label it is the buddy of, unit included.
QLineEdit* MakeTextBox(QWidget* parent, const char* name, double points) {
    auto* box = new QLineEdit(" ", parent); // a text box starts with a single blank
    box->setObjectName(name);
    box->setFont(Face(points));
    return box;
}

// A numeric box holds far more than any number a person types, and no more: the toolkit's
// insertion of a paste longer than a box holds costs the square of what the box holds, which
// at the default of 32767 characters keeps the window busy for about a tenth of a second.
QLineEdit* MakeNumberBox(QWidget* parent, const char* name, double points) {
    constexpr int kLongestText = 1024;
    QLineEdit* box = MakeTextBox(parent, name, points);
    box->setMaxLength(kLongestText);
    return box;
}

// A single-choice list: another row can be picked, but no click or key takes the pick away, so
// a stored pick is always the one the list shows.
class PickList : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        const QItemSelectionModel::SelectionFlags command =
            QListWidget::selectionCommand(index, event);
        if (!index.isValid() ||
            command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
            return QItemSelectionModel::NoUpdate;
        return command;
    }
};

QListWidget* MakeList(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* list = new PickList(parent);
    list->setObjectName(name);
    list->setFont(Face(kControlPoints));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAccessibleName(accessibleName);
    return list;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, double points) {
    QPushButton* b = Make<QPushButton>(parent, name, caption, points, true);
    b->setAutoDefault(true); // Enter presses the focused button
    return b;
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

MainForm::MainForm(MessageBoxes& boxes, KeyQueue& keys, HandlerQueue& queue,
                   ReportPrinting& printing, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_boxes(boxes), m_keys(keys), m_queue(queue), m_printing(printing) {
    setObjectName("MainForm");
    setWindowTitle("MASKING SPEAKER LAYOUT");
    setFont(Face(kDefaultPoints));
    setFixedSize(kClientSize);
    CreateMeasurementFrame();
    CreateLocationFrame();
    CreateRoomFrame();
    CreateCeilingFrame();
    CreateOpenCeilingFrame();
    CreateDesignFrame();
    CreateLooseControls();
    CreateDescriptionFrame();
    SetTabOrder();
    ConnectHandlers();
    qApp->installEventFilter(this);
}

void MainForm::CreateMeasurementFrame() {
    FramMeas = MakeFrame(this, "FramMeas", "Measurement System");
    Place(FramMeas, 60, 0, 3015, 735);
    OptMeas(1) = Make<QRadioButton>(FramMeas, "OptMeas(1)", "Feet", kControlPoints);
    Place(OptMeas(1), 180, 270, 855, 360);
    OptMeas(2) = Make<QRadioButton>(FramMeas, "OptMeas(2)", "Millimeters", kControlPoints);
    Place(OptMeas(2), 1320, 270, 1395, 360);
}

void MainForm::CreateLocationFrame() {
    FramMasking = MakeFrame(this, "FramMasking", "Masking Speaker Location");
    Place(FramMasking, 60, 780, 3015, 1275);
    const char* names[] = {"OptMask(1)", "OptMask(2)", "OptMask(3)"};
    const char* captions[] = {"Above Suspended Ceiling", "In Open Ceiling Space ",
                              "In Access Floor"};
    for (int i = 1; i <= 3; ++i) {
        OptMask(i) = Make<QRadioButton>(FramMasking, names[i - 1], captions[i - 1], kControlPoints);
        Place(OptMask(i), 120, 270 + (i - 1) * 315, 2715, 285);
    }
}

void MainForm::CreateRoomFrame() {
    FramRoom = MakeFrame(this, "FramRoom", "Room Data");
    Place(FramRoom, 3120, 135, 2475, 1275);
    LabLeng = Make<QLabel>(FramRoom, "LabLeng", "Length, Feet", kControlPoints);
    LabLeng->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(LabLeng, 120, 315, 1155, 285);
    TxtLeng = MakeNumberBox(FramRoom, "TxtLeng", kControlPoints);
    Place(TxtLeng, 1380, 270, 975, 360);
    LabWid = Make<QLabel>(FramRoom, "LabWid", "Width, Feet", kControlPoints);
    LabWid->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(LabWid, 180, 765, 1095, 330);
    TxtWid = MakeNumberBox(FramRoom, "TxtWid", kControlPoints);
    Place(TxtWid, 1380, 765, 975, 360);
    LabLeng->setBuddy(TxtLeng);
    LabWid->setBuddy(TxtWid);
}

void MainForm::CreateCeilingFrame() {
    FramCeiling = MakeFrame(this, "FramCeiling", "Suspended Ceiling Data");
    Place(FramCeiling, 60, 2100, 5535, 2600);
    LabPlen = Make<QLabel>(FramCeiling, "LabPlen", "Plenum Depth, Feet", kControlPoints);
    LabPlen->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(LabPlen, 120, 225, 1875, 330);
    ListPlenum = MakeList(FramCeiling, "ListPlenum", "Plenum Depth");
    Place(ListPlenum, 180, 540, 2175, 1020);
    LabCeil = Make<QLabel>(FramCeiling, "LabCeil", "Ceiling Type", kControlPoints);
    LabCeil->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(LabCeil, 2940, 225, 1695, 330);
    ListCeil = MakeList(FramCeiling, "ListCeil", "Ceiling Type");
    Place(ListCeil, 2460, 540, 2955, 1260);
    LabCeilHtList = Make<QLabel>(FramCeiling, "LabCeilHtList", "Ceiling Ht", kControlPoints);
    Place(LabCeilHtList, 180, 1680, 2175, 330);
    ListCeilHt = MakeList(FramCeiling, "ListCeilHt", "Ceiling Height");
    Place(ListCeilHt, 180, 1980, 2175, 540);
    ChkBatts = Make<QCheckBox>(FramCeiling, "ChkBatts", "Ceiling Batts", kDefaultPoints);
    Place(ChkBatts, 2520, 1920, 1335, 285);
}

void MainForm::CreateOpenCeilingFrame() {
    FramCeilHt = MakeFrame(this, "FramCeilHt", "Open Ceiling Data");
    Place(FramCeilHt, 5580, 3240, 4215, 1035);
    LabCeilht =
        Make<QLabel>(FramCeilHt, "LabCeilht", "Height of Structural Ceiling, Feet", kControlPoints);
    LabCeilht->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(LabCeilht, 120, 315, 3075, 330);
    TxtCeilHt = MakeNumberBox(FramCeilHt, "TxtCeilHt", kDefaultPoints);
    Place(TxtCeilHt, 3360, 270, 675, 330);
    LabCeilht->setBuddy(TxtCeilHt);
    ChkBattsOpen =
        Make<QCheckBox>(FramCeilHt, "ChkBattsOpen", "Ceiling Insulation", kControlPoints);
    ChkBattsOpen->setLayoutDirection(Qt::RightToLeft); // the box stands right of its caption
    Place(ChkBattsOpen, 1680, 660, 1995, 255);
}

void MainForm::CreateDescriptionFrame() {
    FramNote = MakeFrame(this, "FramNote", "Layout Description");
    Place(FramNote, 120, 3180, 3915, 1335);
    TxtDescription = MakeTextBox(FramNote, "TxtDescription", kControlPoints);
    TxtDescription->setAccessibleName(FramNote->Caption()); // no label stands beside it
    Place(TxtDescription, 180, 300, 3615, 435);
    CmdPrt = MakeButton(FramNote, "CmdPrt", "Print", kBigButtonPoints);
    Place(CmdPrt, 2160, 840, 1515, 435);
}

void MainForm::CreateDesignFrame() {
    FramDesign = MakeFrame(this, "FramDesign", "Design Conditions");
    Place(FramDesign, 2760, 4740, 7035, 2025);
    const int tops[] = {270, 675, 1080, 1500};
    for (int i = 1; i <= 4; ++i) {
        const QString name = QString("LabList(%1)").arg(i);
        LabList(i) = Make<QLabel>(FramDesign, name.toLatin1().constData(), " ", kControlPoints);
        SetLine(i, " "); // names the blank line
        Place(LabList(i), 120, tops[i - 1], 6855, 375);
    }
    LabList(3)->setAutoFillBackground(true);
    QPalette menu = LabList(3)->palette();
    menu.setColor(QPalette::Window, QApplication::palette("QMenu").color(QPalette::Window));
    LabList(3)->setPalette(menu);
}

void MainForm::CreateLooseControls() {
    CmdCalculate = MakeButton(this, "CmdCalculate", "Calculate", kControlPoints);
    Place(CmdCalculate, 3540, 1575, 1275, 375);
    PicRoom = new RoomPicture(this);
    PicRoom->setObjectName("PicRoom");
    PicRoom->setAccessibleName("Room layout");
    Place(PicRoom, 5640, 150, 4000, 3000);
    LabNote = Make<QLabel>(this, "LabNote", " ", kDefaultPoints);
    SetNote(" "); // names the blank prompt line
    LabNote->setWordWrap(true);
    LabNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabNote->setAutoFillBackground(true);
    QPalette note = LabNote->palette();
    note.setColor(QPalette::Window, Qt::black);
    note.setColor(QPalette::WindowText, Qt::yellow);
    LabNote->setPalette(note);
    Place(LabNote, 60, 4740, 2655, 1230);
    CmdDone = MakeButton(this, "CmdDone", "Exit", kBigButtonPoints);
    Place(CmdDone, 60, 6060, 915, 375);
    CmdPrint = MakeButton(this, "CmdPrint", "Print Results", kBigButtonPoints);
    Place(CmdPrint, 60, 6480, 2055, 375);
}

void MainForm::SetTabOrder() {
    const QWidget* order[] = {OptMask(1), OptMask(2), OptMask(3),     ListPlenum,   ListCeil,
                              ChkBatts,   TxtLeng,    TxtWid,         CmdCalculate, CmdPrint,
                              CmdPrt,     CmdDone,    TxtDescription, TxtCeilHt,    OptMeas(2),
                              OptMeas(1), ListCeilHt, ChkBattsOpen};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

void MainForm::WatchFocus(QWidget* control, std::function<void()> gotFocus,
                          std::function<void()> lostFocus) {
    m_focusHandlers[control] = {std::move(gotFocus), std::move(lostFocus)};
}

void MainForm::ConnectHandlers() {
    for (int i = 1; i <= 2; ++i) {
        connect(OptMeas(i), &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                OptMeas_Click(i);
        });
        WatchFocus(OptMeas(i), nullptr, [this, i] { OptMeas_LostFocus(i); });
    }
    for (int i = 1; i <= 3; ++i) {
        connect(OptMask(i), &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                OptMask_Click(i);
        });
    }
    connect(ListPlenum, &QListWidget::itemSelectionChanged, this, [this] { ListPlenum_Click(); });
    connect(ListCeil, &QListWidget::itemSelectionChanged, this, [this] { ListCeil_Click(); });
    connect(ListCeilHt, &QListWidget::itemSelectionChanged, this, [this] { ListCeilHt_Click(); });
    connect(ChkBatts, &QCheckBox::toggled, this, [this] { ChkBatts_Click(); });
    connect(ChkBattsOpen, &QCheckBox::toggled, this, [this] { ChkBattsOpen_Click(); });
    connect(TxtLeng, &QLineEdit::textChanged, this, [this] { TxtLeng_Change(); });
    connect(TxtWid, &QLineEdit::textChanged, this, [this] { TxtWid_Change(); });
    connect(TxtCeilHt, &QLineEdit::textChanged, this, [this] { TxtCeilHt_Change(); });
    WatchFocus(
        TxtLeng, [this] { TxtLeng_GotFocus(); }, [this] { TxtLeng_LostFocus(); });
    WatchFocus(
        TxtWid, [this] { TxtWid_GotFocus(); }, [this] { TxtWid_LostFocus(); });
    WatchFocus(
        TxtCeilHt, [this] { TxtCeilHt_GotFocus(); }, [this] { TxtCeilHt_LostFocus(); });
    WatchFocus(TxtDescription, nullptr, [this] { TxtDescription_LostFocus(); });
    WatchFocus(
        CmdCalculate, [this] { CmdCalculate_GotFocus(); }, nullptr);
    connect(CmdCalculate, &QPushButton::clicked, this, [this] { CmdCalculate_Click(); });
    connect(CmdDone, &QPushButton::clicked, this, [this] { CmdDone_Click(); });
    connect(CmdPrint, &QPushButton::clicked, this, [this] { CmdPrint_Click(); });
    connect(CmdPrt, &QPushButton::clicked, this, [this] { CmdPrt_Click(); });
    connect(TxtDescription, &QLineEdit::textChanged, this, [this] { TxtDescription_Change(); });
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool mine = widget && widget->window() == this;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // Input reaches the window only after the handlers and keystrokes queued before it,
        // so a click never overtakes the focus handlers of the focus move it caused.
        if (mine && event->spontaneous())
            m_queue.Drain();
        break;
    default:
        break;
    }
    if (!mine)
        return false;

    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const auto found = m_focusHandlers.find(widget);
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box opening or closing, or the window losing and regaining activation,
        // is not a move between the window's controls.
        const bool between =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (found != m_focusHandlers.end() && between) {
            const auto& handler =
                event->type() == QEvent::FocusIn ? found->second.first : found->second.second;
            if (handler)
                m_queue.Post(handler);
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 1; i <= 3; ++i)
            if (watched == OptMask(i)) {
                OptMask_DblClick(i);
                return true;
            }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    std::int16_t code = 13;
    if (IsEnter(key)) {
        if (watched == TxtLeng)
            TxtLeng_KeyPress(code);
        else if (watched == TxtWid)
            TxtWid_KeyPress(code);
        else if (watched == TxtCeilHt)
            TxtCeilHt_KeyPress(code);
        else if (watched == TxtDescription)
            TxtDescription_KeyPress(code);
    } else if (watched == TxtLeng) {
        std::int16_t keyCode = key->key() == Qt::Key_Up ? 38 : 0;
        if (key->key() == Qt::Key_Down)
            keyCode = 40;
        TxtLeng_KeyDown(keyCode, 0);
    }
    return false;
}

void MainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    Form_Activate();
}

void MainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainForm::Form_Resize() {
    // Dragging a border has no lasting effect; a minimized window keeps running as it is.
    if (windowState() & Qt::WindowMinimized)
        return;
    if (size() != kClientSize)
        resize(kClientSize);
}
