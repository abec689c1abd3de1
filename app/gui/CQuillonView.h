#pragma once
// The terminal window of the program: the screen buffer (TWView) shown in a Qt widget, painted
// from the buffer's damage once per pump pass, with the keyboard, the input method, the mouse,
// the clipboard and the scroll-back that the user works the terminal with.
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/gui/HangulInputSwitch.h"
#include "term/ScreenPainter.h"
#include "term/ScreenSettings.h"
#include "term/TWScrollBack.h"
#include "term/TWSelection.h"
#include "term/TWView.h"
#include "term/TermFonts.h"

class CQuillonDoc;

class CQuillonView : public QWidget, public TWView {
public:
    explicit CQuillonView(QWidget* parent = nullptr);
    ~CQuillonView() override;

    // From now on keys go to the session and received lines to its pipeline.
    void Attach(CQuillonDoc& doc) { doc_ = &doc; }
    CQuillonDoc* Doc() { return doc_; }

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

    // After a pump pass: one repaint when the screen changed.
    void FlushDamage();
    bool ScrolledBack() const { return !scroll_.AtBottom(); }
    void ScrollToBottom();
    // The picture the widget shows now, as painted.
    QImage Picture();

    void OnLineReady(bool partial) override;
    QSize sizeHint() const override { return CellAreaSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }  // Tab stays in the view
    void contextMenuEvent(QContextMenuEvent* event) override;

    void OnDamaged() override;
    void OnTextShifted(int rows) override;

private:
    void paintInto(QImage& image);

    CQuillonDoc* doc_ = nullptr;
    ScreenSettings settings_;
    TermFonts fonts_;
    ScreenPainter painter_{fonts_};
    TWScrollBack scroll_;
    TWSelection selection_;
    QImage image_;
    bool damaged_ = true;
    std::unique_ptr<HangulInputSwitch> inputSwitch_ = HangulInputSwitch::Create();
};
