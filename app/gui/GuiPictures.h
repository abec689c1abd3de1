#pragma once
// Pictures in the program's window: an inline picture opens its DImage window, a picture that a
// transfer receives opens a ZImage window at the terminal's current cell, and the host's end
// sequence or a cleared screen closes the pop-ups.
#include "link/SessionPictures.h"
#include "link/TransferPicture.h"
#include "term/TWView.h"

class GuiPictures : public PictureFront {
public:
    void OpenDImage(std::unique_ptr<DImageDoc> doc) override;
    void DestroyPopups() override;
    // Opens ZImage windows at the view's cursor cell.
    static PictureOpener ZImageOpener(const TWView& view);
};
