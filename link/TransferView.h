#pragma once
// How a front end shows a running transfer: the progress window in the GUI, the status line in
// the tty. It tells the bridge about the abort button and the hang-up box.
#include "link/TransferProgress.h"

class TransferView {
public:
    virtual ~TransferView() = default;
    virtual void OpenProgress(bool sending) = 0;
    // At the start and then at most once a second.
    virtual void ShowProgress(const TransferFigures& figures) = 0;
    virtual void CloseProgress() = 0;
    // A receive ended well, no hang-up was asked for and "UseInbox" is on: the front end shows
    // its list of received files, where there is one.
    virtual void ShowReceivedFiles() {}
};
