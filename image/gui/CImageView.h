#pragma once
// The scrolling view of a picture window: "이미지 전송중입니다" until the picture's size is known,
// then the picture as its rows are decoded (the window colour before them). Input queued by the
// document is decoded in slices of about 30 ms from the event loop, never in a nested loop;
// while the window closes, rows are decoded without drawing.
#include <QAbstractScrollArea>
#include <QImage>
#include <functional>

#include "image/ImageDoc.h"

class CImageView : public QAbstractScrollArea, public ImageDocObserver {
public:
    explicit CImageView(ImageDoc& doc, QWidget* parent = nullptr);
    ~CImageView() override;

    // Called when the picture's size is known, to fit the frame to it.
    std::function<void(QSize)> onPictureSize;
    // Called when an inline picture says where its window goes (pixels from the terminal view).
    std::function<void(QPoint)> onPlace;
    // The context menu's commands, given by the frame.
    std::function<void(QMenu&)> fillMenu;

    void SetClosing() { closing_ = true; }
    bool Complete() const { return complete_; }
    // The picture as shown, for saving as wallpaper and for tests.
    QImage PictureImage() const;

    void OnPictureSize(int width, int height, bool progressive) override;
    bool OnPictureRows(int first, int count) override;
    void OnInputQueued() override;
    void OnPlace(int x, int y) override {
        if (onPlace) onPlace(QPoint(x, y));
    }
    void OnTransferEnded() override;
    // The window fits the picture, however small.
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void decodeSlice();
    void updateScrollBars();
    void setWaitCursor(bool on);

    ImageDoc& doc_;
    bool sliceScheduled_ = false;
    bool progressive_ = false;
    bool waitCursor_ = false;
    bool closing_ = false;
    bool complete_ = false;
    int rows_ = 0;
};
