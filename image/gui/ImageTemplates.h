#pragma once
// The three kinds of picture window and the lists of those open: inline pictures (DImage),
// files being received by a picture transfer (ZImage) and picture files opened whole (ZFile).
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/DImageDoc.h"
#include "image/gui/CImageFrame.h"

class DImageDocTemplate {
public:
    // Shows an inline picture; its window moves where the start packet places it.
    static CImageFrame* OpenDocument(std::unique_ptr<DImageDoc> doc);
    // Closes every DImage window still open.
    static void DestroyPopup();
    static std::vector<CImageFrame*> Frames();
};

class ZImageDocTemplate {
public:
    // cell: the terminal cell (column, row) where new ZImage windows appear.
    ZImageDocTemplate(int column, int row);
    // Shows a file a picture transfer writes; cancel stops the transfer.
    CImageFrame* OpenDocument(const std::string& path, std::function<void()> cancel);
    static void DestroyPopup();
    static std::vector<CImageFrame*> Frames();
    // ZImage documents opened so far; each new one takes the count as its number.
    static int Count();
};

class ZFileDocTemplate {
public:
    // A picture file shown whole, the window titled by its name.
    static CImageFrame* OpenDocument(const std::string& path);
};
