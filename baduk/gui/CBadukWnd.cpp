#include "baduk/gui/CBadukWnd.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>

#include "baduk/BadukDoc.h"
#include "baduk/BadukInit.h"
#include "baduk/BoardGeometry.h"
#include "baduk/gui/BadukInputLine.h"
#include "baduk/gui/CBadukView.h"
#include "baduk/gui/CEditBar.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "term/TermFonts.h"

namespace {

int cellSizeForScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return BoardGeometry::CellSize(screen ? screen->geometry().height() : 600);
}

QFont gulimFont() {
    QFont font(TermFonts::FamilyOf(TermFonts::kGulimFaceName));
    font.setPixelSize(12);
    font.setFixedPitch(true);
    return font;
}

QString text(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8Lossy(cp949));
}

}  // namespace

CBadukWnd::CBadukWnd(CBadukDoc& doc, const BadukWindowServices& services)
    : doc_(doc), services_(services) {
    setWindowTitle(QString::fromUtf8("바둑창"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    const QFont font = gulimFont();
    view_ = new CBadukView(doc, services, cellSizeForScreen(), this);
    side_ = new CEditBar(font, this);
    bottom_ = new CEditBar(font, this);
    input_ = new BadukInputLine(this);
    input_->setFont(font);
    const int w = view_->width(), h = view_->height();
    setFixedSize(w + kPaneWidth, h + kBelowBoard);
    view_->move(0, 0);
    side_->setGeometry(w, 0, kPaneWidth, h);
    bottom_->setGeometry(0, h, w + kPaneWidth, kBelowBoard - kInputHeight);
    input_->setGeometry(0, h + kBelowBoard - kInputHeight, w + kPaneWidth, kInputHeight);
    auto* back = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(back, &QShortcut::activated, this, [this] {
        if (services_.mainWindow) services_.mainWindow->activateWindow();
    });
    // The panes catch up once the events queued meanwhile have run, not at every character.
    idle_.setSingleShot(true);
    connect(&idle_, &QTimer::timeout, this, &CBadukWnd::FillPanes);
    doc_.textChanged = [this] {
        if (!idle_.isActive()) idle_.start(0);
    };
    idle_.start(0);
    input_->setFocus();
}

CBadukWnd::~CBadukWnd() {
    doc_.textChanged = nullptr;
}

void CBadukWnd::ResetDocument() {
    view_->ResetDocument();
    FillPanes();
}

void CBadukWnd::FillPanes() {
    for (int i = 0; i < CBadukDoc::kSideLines; ++i)
        side_->SetLine(i, text(doc_.SideLine(i)));
    for (int i = 0; i < CBadukDoc::kBottomLines; ++i)
        bottom_->SetLine(i, text(doc_.BottomLine(i)));
}

void CBadukWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return QWidget::keyPressEvent(event);
    if (!services_.prompt || services_.prompt->ask(kCloseQuestion, PromptButtons::OkCancel,
                                                   PromptIcon::Question) == PromptAnswer::Ok)
        close();
}

// Closing the window ends the board document; the window goes with it.
void CBadukWnd::closeEvent(QCloseEvent* event) {
    event->accept();
    QTimer::singleShot(0, [] { BadukClose(); });
}
