// Building the window: every control at its designed place, size, font and tab position, and
// the wiring of their signals to the handlers. The handlers themselves live in the files named
// after the part of the window they serve.
#include "ui/main_window.h"

#include "core/app_info.h"
#include "core/entry.h"
#include "core/number_text.h"
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
#include <QValidator>

#include <iterator>

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
template <typename Box = QLineEdit>
Box* MakeTextBox(QWidget* parent, const char* name, double points) {
    auto* box = new Box(" ", parent); // a text box starts with a single blank
    box->setObjectName(name);
    box->setFont(Face(points));
    return box;
}

// A numeric box tells of the Up key before taking it as any box does.
class NumberBox : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

  signals:
    void upPressed();

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Up)
            emit upPressed();
        QLineEdit::keyPressEvent(event);
    }
};

// A location button takes a double click as a request to set its location up again, not as a
// second press.
class LocationButton : public QRadioButton {
    Q_OBJECT
  public:
    using QRadioButton::QRadioButton;

  signals:
    void doubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { emit doubleClicked(); }
};

// A numeric box takes whatever is typed or pasted, then gives back, one character before the
// caret at a time, as much as it takes for the text (its blanks trimmed) to end in a digit or a
// point. A paste may so be kept in part, and a character typed in front of a number stays.
class NumberValidator : public QValidator {
  public:
    using QValidator::QValidator;

    // Always acceptable once refused characters are gone, so that Enter still moves on.
    State validate(QString& text, int& caret) const override {
        static const std::string kValid = "0123456789.";
        if (LastCharValid(Trim(text.toStdString()), kValid))
            return Acceptable;
        std::size_t refused = RefusedBeforeCaret(text.left(caret).toStdString(),
                                                 text.mid(caret).toStdString(), kValid);
        int start = caret;
        for (; refused > 0 && start > 0; --refused) { // a surrogate pair is one character
            --start;
            if (start > 0 && text[start].isLowSurrogate() && text[start - 1].isHighSurrogate())
                --start;
        }
        text.remove(start, caret - start);
        caret = start;
        return Acceptable;
    }
};

// A numeric box holds far more than any number a person types, and no more: the toolkit's
// insertion of a paste longer than a box holds costs the square of what the box holds, which
// at the default of 32767 characters keeps the window busy for about a tenth of a second.
NumberBox* MakeNumberBox(QWidget* parent, const char* name, double points) {
    constexpr int kLongestText = 1024;
    auto* box = MakeTextBox<NumberBox>(parent, name, points);
    box->setMaxLength(kLongestText);
    box->setValidator(new NumberValidator(box));
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

} // namespace

MainWindow::MainWindow(MessageBoxes& boxes, ReportPrinting& printing, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_boxes(boxes), m_printing(printing) {
    setObjectName("MainWindow");
    setWindowTitle(kWindowTitle);
    setFont(Face(kDefaultPoints));
    setFixedSize(kClientSize);
    createUnitsFrame();
    createLocationFrame();
    createRoomFrame();
    createCeilingFrame();
    createOpenCeilingFrame();
    createDesignFrame();
    createLooseControls();
    createDescriptionFrame();
    setTabOrder();
    connectHandlers();
}

// The application outlives the window and goes on moving the focus while the widgets that
// make it up are destroyed: from here on, the window hears of none of it.
MainWindow::~MainWindow() {
    disconnect(qApp, &QApplication::focusChanged, this, &MainWindow::followFocus);
}

void MainWindow::createUnitsFrame() {
    m_units.frame = MakeFrame(this, "FramMeas", "Measurement System");
    Place(m_units.frame, 60, 0, 3015, 735);
    m_units.options = new QButtonGroup(m_units.frame);
    auto* feet = Make<QRadioButton>(m_units.frame, "OptMeas(1)", "Feet", kControlPoints);
    Place(feet, 180, 270, 855, 360);
    m_units.options->addButton(feet, int(Units::Feet));
    auto* millimetres =
        Make<QRadioButton>(m_units.frame, "OptMeas(2)", "Millimeters", kControlPoints);
    Place(millimetres, 1320, 270, 1395, 360);
    m_units.options->addButton(millimetres, int(Units::Millimetres));
}

void MainWindow::createLocationFrame() {
    m_location.frame = MakeFrame(this, "FramMasking", "Masking Speaker Location");
    Place(m_location.frame, 60, 780, 3015, 1275);
    const char* names[] = {"OptMask(1)", "OptMask(2)", "OptMask(3)"};
    const char* captions[] = {"Above Suspended Ceiling", "In Open Ceiling Space ",
                              "In Access Floor"};
    m_location.options = new QButtonGroup(m_location.frame);
    for (int i = 1; i <= 3; ++i) {
        auto* option =
            Make<LocationButton>(m_location.frame, names[i - 1], captions[i - 1], kControlPoints);
        Place(option, 120, 270 + (i - 1) * 315, 2715, 285);
        const auto location = static_cast<Location>(i);
        connect(option, &LocationButton::doubleClicked, this,
                [this, location] { chooseLocation(location); });
        m_location.options->addButton(option, int(location));
    }
}

void MainWindow::createRoomFrame() {
    RoomFrame& r = m_room;
    r.frame = MakeFrame(this, "FramRoom", "Room Data");
    Place(r.frame, 3120, 135, 2475, 1275);
    r.lengthLabel = Make<QLabel>(r.frame, "LabLeng", "Length, Feet", kControlPoints);
    r.lengthLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(r.lengthLabel, 120, 315, 1155, 285);
    NumberBox* length = MakeNumberBox(r.frame, "TxtLeng", kControlPoints);
    connect(length, &NumberBox::upPressed, this, [this] { focusOn(m_room.width); });
    r.length = length;
    Place(r.length, 1380, 270, 975, 360);
    r.widthLabel = Make<QLabel>(r.frame, "LabWid", "Width, Feet", kControlPoints);
    r.widthLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(r.widthLabel, 180, 765, 1095, 330);
    r.width = MakeNumberBox(r.frame, "TxtWid", kControlPoints);
    Place(r.width, 1380, 765, 975, 360);
    r.lengthLabel->setBuddy(r.length);
    r.widthLabel->setBuddy(r.width);
}

void MainWindow::createCeilingFrame() {
    CeilingFrame& c = m_ceiling;
    c.frame = MakeFrame(this, "FramCeiling", "Suspended Ceiling Data");
    Place(c.frame, 60, 2100, 5535, 2600);
    c.plenumLabel = Make<QLabel>(c.frame, "LabPlen", "Plenum Depth, Feet", kControlPoints);
    c.plenumLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(c.plenumLabel, 120, 225, 1875, 330);
    c.plenum = MakeList(c.frame, "ListPlenum", "Plenum Depth");
    Place(c.plenum, 180, 540, 2175, 1020);
    c.typeLabel = Make<QLabel>(c.frame, "LabCeil", "Ceiling Type", kControlPoints);
    c.typeLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(c.typeLabel, 2940, 225, 1695, 330);
    c.type = MakeList(c.frame, "ListCeil", "Ceiling Type");
    Place(c.type, 2460, 540, 2955, 1260);
    c.heightLabel = Make<QLabel>(c.frame, "LabCeilHtList", "Ceiling Ht", kControlPoints);
    Place(c.heightLabel, 180, 1680, 2175, 330);
    c.height = MakeList(c.frame, "ListCeilHt", "Ceiling Height");
    Place(c.height, 180, 1980, 2175, 540);
    c.batts = Make<QCheckBox>(c.frame, "ChkBatts", "Ceiling Batts", kDefaultPoints);
    Place(c.batts, 2520, 1920, 1335, 285);
}

void MainWindow::createOpenCeilingFrame() {
    OpenCeilingFrame& o = m_open;
    o.frame = MakeFrame(this, "FramCeilHt", "Open Ceiling Data");
    Place(o.frame, 5580, 3240, 4215, 1035);
    o.heightLabel =
        Make<QLabel>(o.frame, "LabCeilht", "Height of Structural Ceiling, Feet", kControlPoints);
    o.heightLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(o.heightLabel, 120, 315, 3075, 330);
    o.height = MakeNumberBox(o.frame, "TxtCeilHt", kDefaultPoints);
    Place(o.height, 3360, 270, 675, 330);
    o.heightLabel->setBuddy(o.height);
    o.insulation = Make<QCheckBox>(o.frame, "ChkBattsOpen", "Ceiling Insulation", kControlPoints);
    o.insulation->setLayoutDirection(Qt::RightToLeft); // the box stands right of its caption
    Place(o.insulation, 1680, 660, 1995, 255);
}

void MainWindow::createDescriptionFrame() {
    DescriptionFrame& d = m_description;
    d.frame = MakeFrame(this, "FramNote", "Layout Description");
    Place(d.frame, 120, 3180, 3915, 1335);
    d.text = MakeTextBox(d.frame, "TxtDescription", kControlPoints);
    d.text->setAccessibleName(d.frame->Caption()); // no label stands beside it
    Place(d.text, 180, 300, 3615, 435);
    d.print = MakeButton(d.frame, "CmdPrt", "Print", kBigButtonPoints);
    Place(d.print, 2160, 840, 1515, 435);
}

void MainWindow::createDesignFrame() {
    m_design.frame = MakeFrame(this, "FramDesign", "Design Conditions");
    Place(m_design.frame, 2760, 4740, 7035, 2025);
    const int tops[] = {270, 675, 1080, 1500};
    for (int i = 1; i <= 4; ++i) {
        const QString name = QString("LabList(%1)").arg(i);
        m_design.line(i) =
            Make<QLabel>(m_design.frame, name.toLatin1().constData(), " ", kControlPoints);
        setLine(i, " "); // names the blank line
        Place(m_design.line(i), 120, tops[i - 1], 6855, 375);
    }
    m_design.line(3)->setAutoFillBackground(true);
    QPalette menu = m_design.line(3)->palette();
    menu.setColor(QPalette::Window, QApplication::palette("QMenu").color(QPalette::Window));
    m_design.line(3)->setPalette(menu);
}

void MainWindow::createLooseControls() {
    m_calculate = MakeButton(this, "CmdCalculate", "Calculate", kControlPoints);
    Place(m_calculate, 3540, 1575, 1275, 375);
    m_design.picture = new RoomPicture(this);
    m_design.picture->setObjectName("PicRoom");
    m_design.picture->setAccessibleName("Room layout");
    Place(m_design.picture, 5640, 150, 4000, 3000);
    m_note = Make<QLabel>(this, "LabNote", " ", kDefaultPoints);
    setNote(" "); // names the blank prompt line
    m_note->setWordWrap(true);
    m_note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_note->setAutoFillBackground(true);
    QPalette note = m_note->palette();
    note.setColor(QPalette::Window, Qt::black);
    note.setColor(QPalette::WindowText, Qt::yellow);
    m_note->setPalette(note);
    Place(m_note, 60, 4740, 2655, 1230);
    m_exit = MakeButton(this, "CmdDone", "Exit", kBigButtonPoints);
    Place(m_exit, 60, 6060, 915, 375);
    m_printResults = MakeButton(this, "CmdPrint", "Print Results", kBigButtonPoints);
    Place(m_printResults, 60, 6480, 2055, 375);
}

void MainWindow::setTabOrder() {
    QWidget* const order[] = {m_location.option(Location::AboveCeiling),
                              m_location.option(Location::OpenCeiling),
                              m_location.option(Location::AccessFloor),
                              m_ceiling.plenum,
                              m_ceiling.type,
                              m_ceiling.batts,
                              m_room.length,
                              m_room.width,
                              m_calculate,
                              m_printResults,
                              m_description.print,
                              m_exit,
                              m_description.text,
                              m_open.height,
                              m_units.option(Units::Millimetres),
                              m_units.option(Units::Feet),
                              m_ceiling.height,
                              m_open.insulation};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::connectHandlers() {
    connect(m_units.options, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            chooseUnits(static_cast<Units>(id));
    });
    connect(m_location.options, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            chooseLocation(static_cast<Location>(id));
    });
    connect(m_ceiling.plenum, &QListWidget::itemSelectionChanged, this,
            &MainWindow::pickPlenumDepth);
    connect(m_ceiling.type, &QListWidget::itemSelectionChanged, this, &MainWindow::pickCeilingType);
    connect(m_ceiling.height, &QListWidget::itemSelectionChanged, this,
            &MainWindow::pickCeilingHeight);
    connect(m_ceiling.batts, &QCheckBox::toggled, this, &MainWindow::tickPlenumBatts);
    connect(m_open.insulation, &QCheckBox::toggled, this, &MainWindow::tickOpenInsulation);
    for (QLineEdit* box : {m_room.length, m_room.width})
        connect(box, &QLineEdit::textChanged, this, &MainWindow::eraseOutdatedPicture);
    connect(m_room.length, &QLineEdit::returnPressed, this, &MainWindow::enterInLength);
    connect(m_room.width, &QLineEdit::returnPressed, this, &MainWindow::enterInWidth);
    connect(m_open.height, &QLineEdit::returnPressed, this, &MainWindow::enterInCeilingHeight);
    connect(m_description.text, &QLineEdit::returnPressed, this,
            [this] { focusOn(m_description.print); });
    connect(m_description.text, &QLineEdit::textChanged, this, &MainWindow::fitDescription);
    connect(m_calculate, &QPushButton::clicked, this, &MainWindow::calculate);
    connect(m_exit, &QPushButton::clicked, this, &MainWindow::close);
    connect(m_printResults, &QPushButton::clicked, this, &MainWindow::offerDescription);
    connect(m_description.print, &QPushButton::clicked, this, &MainWindow::printReport);
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::followFocus);
    // Presses on the window and on each of its controls pass through eventFilter first.
    installEventFilter(this);
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

// A message box opening or closing, a popup, or the window losing and regaining activation
// moves the focus to or from another window: only moves between two of the window's own
// controls run handlers.
void MainWindow::followFocus(QWidget* old, QWidget* now) {
    if (!old || !now || old->window() != this || now->window() != this)
        return;
    m_focusMoves.push_back({old, false});
    m_focusMoves.push_back({now, true});
    schedulePending();
}

void MainWindow::schedulePending() {
    if (!m_scheduled) {
        m_scheduled = true;
        QMetaObject::invokeMethod(this, &MainWindow::runPending, Qt::QueuedConnection);
    }
}

void MainWindow::runFocusHandler(QWidget* control, bool entered) {
    if (control == m_room.length || control == m_room.width) {
        const EntryBox side = control == m_room.length ? EntryBox::Length : EntryBox::Width;
        entered ? promptForDimension(side) : commitDimension(side);
    } else if (control == m_open.height) {
        entered ? promptForCeilingHeight() : commitCeilingHeight();
    } else if (control == m_calculate && entered) {
        warnOfSmallRoom();
    } else if (control == m_description.text && !entered) {
        commitDescription();
    } else if ((control == m_units.option(Units::Feet) ||
                control == m_units.option(Units::Millimetres)) &&
               !entered) {
        promptForLocation();
    }
}

// A modal message box opened by a running handler spins a nested event loop; what is queued
// meanwhile waits for the running handler to return, so handlers never interleave.
void MainWindow::runPending() {
    m_scheduled = false;
    if (m_running)
        return;
    m_running = true;
    while (!idle()) {
        const FocusMove move = m_focusMoves.front();
        m_focusMoves.pop_front();
        runFocusHandler(move.control, move.entered);
    }
    m_running = false;
}

// Input reaches the window only after the focus handlers queued before it, so a click never
// overtakes the focus handlers of the focus move it caused.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && event->spontaneous())
            runPending();
        break;
    }
    default:
        break;
    }
    return false;
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    startAfresh();
}

// Dragging a border has no lasting effect; a minimized window keeps running as it is.
void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!(windowState() & Qt::WindowMinimized) && size() != kClientSize)
        resize(kClientSize);
}

#include "main_window.moc"
