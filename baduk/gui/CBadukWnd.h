#pragma once
// "바둑창": the Go window beside the program's main window, with the board view, the side and
// bottom text panes (filled from the document when idle) and the input line. Ctrl+Tab returns
// the keyboard to the main window; Esc closes after a question.
#include <QTimer>
#include <QWidget>

#include "baduk/gui/BadukWindows.h"

class BadukInputLine;
class CBadukDoc;
class CBadukView;
class CEditBar;

class CBadukWnd : public QWidget {
public:
    static constexpr int kPaneWidth = 220, kBelowBoard = 65, kInputHeight = 19;
    static constexpr char kCloseQuestion[] = "바둑창을 닫습니다.";

    CBadukWnd(CBadukDoc& doc, const BadukWindowServices& services);
    ~CBadukWnd() override;

    void ResetDocument();
    // Copies the document's side and bottom lines into the panes (what the idle pass does).
    void FillPanes();

    CBadukView& View() { return *view_; }
    CEditBar& SidePane() { return *side_; }
    CEditBar& BottomPane() { return *bottom_; }
    BadukInputLine& Input() { return *input_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CBadukDoc& doc_;
    BadukWindowServices services_;
    CBadukView* view_;
    CEditBar* side_;
    CEditBar* bottom_;
    BadukInputLine* input_;
    QTimer idle_;
};
