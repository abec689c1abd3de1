#pragma once
// A picture window: a small top-most window beside the program's frame, owning its document
// and view. It starts with a client area of 160 × 120, fits itself to the picture within the
// work area once its size is known, moves when dragged anywhere, closes on ESC and asks before
// it closes while its transfer still runs.
#include <QWidget>
#include <memory>

#include "image/ImageDoc.h"
#include "image/gui/CImageView.h"

class CImageFrame : public QWidget {
public:
    static constexpr int kStartWidth = 160, kStartHeight = 120;

    // name: "DImageFrame", "ZImageFrame" or "ZFileFrame"; cancellable: the context menu offers
    // to cancel the transfer while it runs.
    CImageFrame(std::unique_ptr<ImageDoc> doc, const QString& name, bool cancellable);
    ~CImageFrame() override;

    ImageDoc& Document() { return *doc_; }
    CImageView& View() { return *view_; }
    // Places the window at a point of the terminal view (its top-left corner on the screen).
    void PlaceAt(QPoint fromViewCorner);
    // Fits the client area to the picture, never beyond the screen's work area.
    void FitToPicture(QSize picture);

    // Closes without asking, stopping a transfer that still runs (the host's end, a cleared
    // screen).
    void CloseWithoutQuestion();

    // The context menu's commands.
    void SavePicture();
    void UseAsWallpaper();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillMenu(QMenu& menu);
    void updateTitle();

    std::unique_ptr<ImageDoc> doc_;
    CImageView* view_;
    bool cancellable_;
    bool asked_ = false;  // closing needs no question
};
