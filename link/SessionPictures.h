#pragma once
// The session's side of the picture library: the hooks through which a picture sent inline
// reads and answers the link, the document that owns the link while it arrives (pumped from the
// session's idle passes instead of the terminal), and the reactions to the host's picture start
// and end. How a picture is shown is the front end's: a window, or a file in the download
// folder under the tty. User-interface thread only.
#include <memory>
#include <string>

#include "auto/Registry.h"
#include "image/DImageDoc.h"
#include "image/VNImage.h"
#include "link/CQuillonDoc.h"
#include "platform/EventLoop.h"
#include "platform/Prompt.h"

class PictureFront {
public:
    virtual ~PictureFront() = default;
    // Takes the document of an inline picture that starts now.
    virtual void OpenDImage(std::unique_ptr<DImageDoc> doc) = 0;
    // The host ended its pictures, or the screen was cleared: the picture windows close.
    virtual void DestroyPopups() {}
};

class SessionPictures {
public:
    // How often the owning document is looked at while the link is quiet (its silences).
    static constexpr int kQuietCheckMs = 1000;

    ~SessionPictures() { Detach(); }
    // Hands the library its hooks over the session's link (VNImageInit).
    void Attach(CQuillonDoc& doc, EventLoop& loop, Registry& registry, Prompt& prompt,
                PictureFront& front);
    void Detach();

    void OnImageStart();  // -815
    void OnImageEnd();    // -811
    void OnScreenCleared();
    // The inline picture that owns the link now; null when none does.
    DImageDoc* Active() const { return active_; }

private:
    bool pump();
    void setMode(int mode);

    CQuillonDoc* doc_ = nullptr;
    EventLoop* loop_ = nullptr;
    Registry* registry_ = nullptr;
    PictureFront* front_ = nullptr;
    Prompt* prompt_ = nullptr;
    DImageDoc* active_ = nullptr;
    int timer_ = -1;
};
