#pragma once
// The terminal window of the program: the screen buffer (TWView) shown in a Qt widget, painted
// from the buffer's damage once per pump pass, with the keyboard, the input method, the mouse,
// the clipboard and the scroll-back that the user works the terminal with.
#include <QClipboard>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/gui/HangulInputSwitch.h"
#include "baduk/BadukHandOver.h"
#include "term/ScreenPainter.h"
#include "term/ScreenSettings.h"
#include "term/TWScrollBack.h"
#include "term/TWSelection.h"
#include "term/TWView.h"
#include "term/TermFonts.h"

class CQuillonDoc;
class EventLoop;
class Prompt;
class VideotexPane;
class VtxHost;

// The view's mode toggles (the session's Johab mode is the sixth).
struct ViewModes {
    bool smartMouse = true;  // pointer offered to the screen menu-item recogniser
    bool wallpaper = true;   // the wallpaper of the screen settings shown
    bool badukMode = true;   // recognised Go boards handed to the Go board
    bool autoCopy = true;    // a finished selection is copied and cleared
    bool vt220 = false;      // function keys go to the host before the menu shortcuts
    bool operator==(const ViewModes&) const = default;
};

class CQuillonView : public QWidget, public TWView {
public:
    static constexpr uint8_t kCR = 0x0D;

    explicit CQuillonView(QWidget* parent = nullptr);
    ~CQuillonView() override;

    // From now on keys go to the session and received lines to its pipeline.
    void Attach(CQuillonDoc& doc) { doc_ = &doc; }
    CQuillonDoc* Doc() { return doc_; }
    // The loop whose idle passes pump the session (woken when the view comes back to the live
    // screen, where the pump waited) and the prompt for the view's messages.
    void SetServices(EventLoop& loop, Prompt& prompt);

    // Fonts, rows and colours of the settings; the frame is told the new size it should have.
    void ApplyScreenSettings(const ScreenSettings& settings);
    const ScreenSettings& Settings() const { return settings_; }
    TermFonts& Fonts() { return fonts_; }
    // The client size that holds 80 cells by Rows lines.
    QSize CellAreaSize() const;
    std::function<void(QSize)> sizeWanted;
    // The view's context menu is asked for at this point of the screen.
    std::function<void(QPoint)> contextMenuWanted;
    HangulInputSwitch& InputSwitch() { return *inputSwitch_; }
    void SetInputSwitch(std::unique_ptr<HangulInputSwitch> inputSwitch) {
        inputSwitch_ = std::move(inputSwitch);
    }

    const ViewModes& Modes() const { return modes_; }
    void SetModes(const ViewModes& modes);

    // Keys something else takes before the terminal: an embedded pane (videotex) while it is
    // active, and the macro hot keys. What `wants` claims never reaches a menu shortcut.
    struct KeyTaker {
        std::function<bool(const QKeyEvent&)> wants;
        std::function<void(QKeyEvent&)> take;
    };
    KeyTaker paneKeys, macroKeys;
    // The chat-room input line takes the text (CP949) of a Shift+double-clicked row and the
    // focus while it is active; false when it is not.
    std::function<bool(const std::string&)> chatLineText;
    // The screen menu-item recogniser behind the smart mouse: the item under a screen cell as
    // a rectangle of cells (column, screen row, width, height) to highlight, or an empty one.
    std::function<QRect(QPoint cell)> smartMouseItem;
    // The screen was cleared (the picture pop-ups close).
    std::function<void()> screenCleared;

    // Videotex mode: the session's page is painted and takes the keys; the caret goes, and the
    // text screen comes back when the mode ends.
    VtxHost& VideotexWindow();
    void SetVideotexMode(bool on);
    bool VideotexMode() const { return videotexMode_; }
    // What a picture save or copy takes: the videotex page while one is shown, else the screen.
    QImage ScreenPicture();

    // After a pump pass: one repaint when the screen changed.
    void FlushDamage();
    bool ScrolledBack() const { return !scroll_.AtBottom(); }
    void ScrollToBottom();
    // Back into the history (negative) or towards the live screen.
    void ScrollBy(int lines);
    // The picture the widget shows now, as painted.
    QImage Picture();

    // Selection. A finished selection within one row is also the session's selected item;
    // itemSelected is then called.
    const TWSelection& Selection() const { return selection_; }
    std::function<void()> itemSelected;
    // Copying to the clipboard (and PRIMARY where there is one) as UTF-8 with LF line ends;
    // false when there was nothing to copy or the clipboard did not take it (the user is told).
    bool CopySelection();
    bool CopyScreen();
    bool CopyScrollback();
    // The text of the clipboard (or PRIMARY) pasted into the session.
    void PasteFrom(QClipboard::Mode mode);
    // Rows added (positive) or removed through the screen settings.
    void ChangeRows(int change);

    void OnLineReady(bool partial) override;
    void SetHangulInputMode(bool on) override { inputSwitch_->SetHangulMode(on); }
    QSize sizeHint() const override { return CellAreaSize(); }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }  // Tab stays in the view
    void contextMenuEvent(QContextMenuEvent* event) override;

    void OnBell() override;
    void OnHighlight() override;
    void OnDamaged() override;
    void OnTextShifted(int rows) override;
    void OnScreenCleared() override {
        baduk_.OnScreenCleared();
        if (screenCleared) screenCleared();
    }
    void OnBoardRecognised() override { baduk_.OnBoardRecognised(); }
    void OnBoardEraseToEndOfLine(TWPoint cursor) override {
        baduk_.OnBoardEraseToEndOfLine(cursor);
    }

private:
    void selectItem(const std::string& text);
    // Painting (CQuillonView.cpp).
    void redraw();
    bool caretMoved() const;
    void paintInto(QImage& image);
    void applyWallpaper();
    int topRow() const { return scroll_.AtBottom() ? ScreenTop() : scroll_.TopRow(); }
    bool caretShown() const;
    QRect caretRect() const;

    // Keys (CQuillonViewKeys.cpp).
    bool claimsShortcut(const QKeyEvent& key) const;
    bool preTranslate(QKeyEvent& key);
    void sendByte(uint8_t b);
    void sendTyped(const QString& text);

    // Input method (CQuillonViewInput.cpp).
    void commitText(const QString& text);
    void paintPreedit(QImage& image);

    // Mouse (CQuillonViewMouse.cpp).
    TWCell cellAt(QPoint pixel) const;
    void dragScroll();
    void offerPointer(QPoint pixel);
    void sendRowText(QPoint pixel);

    // Clipboard (CQuillonViewClipboard.cpp).
    bool putOnClipboard(const std::string& cp949);
    void putOnPrimary(const std::string& cp949);

    CQuillonDoc* doc_ = nullptr;
    EventLoop* loop_ = nullptr;
    Prompt* prompt_ = nullptr;
    ScreenSettings settings_;
    ViewModes modes_;
    TermFonts fonts_;
    ScreenPainter painter_{fonts_};
    TermPalette palette_ = MakePalette(false, {});
    TWScrollBack scroll_;
    TWSelection selection_;
    QImage image_;
    bool stale_ = true;      // the image no longer shows the buffer
    TWPoint paintedCursor_;  // the caret moves without changing cells
    bool paintedCaret_ = false;
    QString preedit_;   // the syllable the input method is composing
    QTimer dragTimer_;  // scrolls while a selection is dragged above or below the window
    QPoint dragPoint_;
    int wheelRest_ = 0;  // wheel turn not yet worth a line
    QRect smartItem_;    // cells the smart mouse highlights
    std::unique_ptr<HangulInputSwitch> inputSwitch_ = HangulInputSwitch::Create();
    std::unique_ptr<VideotexPane> videotex_;
    bool videotexMode_ = false;
    // Go boards go to the board window with the session's current service.
    BadukHandOver baduk_;
};
