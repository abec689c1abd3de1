#pragma once
// Capture ("갈무리"): records what the session shows (text capture, line ends normalised) or
// receives (code capture, every byte) into a temporary file, and on finishing saves it into a
// file the user names or opens it in the editor. Also saves the screen once, as text or as a
// picture. One per session; user-interface thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "auto/Registry.h"
#include "link/CaptureFile.h"
#include "platform/Prompt.h"
#include "term/TWEmulator.h"
#include "term/TWView.h"

// What a capture needs of the program around it. Texts are UTF-8 unless said otherwise.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    virtual void ShowStatus(const std::string& text) = 0;
    // Installs the recorder of received bytes on the session's link (every interpreter it
    // makes), or with an empty function removes it.
    virtual void SetRawTap(TWEmulator::RawTap tap) = 0;
    virtual void OpenInEditor(const std::string& path) = 0;
    // Seconds since 1970 (UTC).
    virtual int64_t Now() = 0;
    // The current service and the session's title (CP949), for the capture list's records.
    virtual std::string Service() = 0;
    virtual std::string Title() = 0;
    // The screen as a picture file (.bmp); false when it cannot be made here.
    virtual bool SavePicture(const std::string& /*path*/) { return false; }
    // The screen onto the clipboard, as its text or as a picture; false where there is none.
    virtual bool CopyToClipboard(bool /*picture*/) { return false; }
    // The state or the mode changed: menus and the status bar's capture pane follow.
    virtual void CaptureChanged() {}
};

class Capture {
public:
    enum class State { Off, Recording, Paused };
    enum class Mode { Text, Code };

    Capture(Registry& registry, Prompt& prompt, TWView& view, CaptureHost& host);
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    State state() const { return state_; }
    Mode mode() const { return mode_; }
    // Only while off; false otherwise.
    bool SetMode(Mode mode);

    // False (the user was told) when the temporary file cannot be made: the capture stays off.
    bool StartCapture();
    // Recording <-> paused.
    void PauseCapture();
    // The visible screen as text into the recording, also while paused.
    void AddScreenToCapture();
    // Ends the recording and asks where to save it.
    void FinishCaptureWithSave();
    // Ends the recording and opens the temporary file in the editor, leaving it in place.
    void FinishCaptureAndView();
    // While off: saves the visible screen as text or picture, to a file or the clipboard.
    void SaveScreen();
    // The "화면 저장" command: the screen into the recording while one runs, else SaveScreen.
    void SaveScreenCommand();
    // The start/finish command (Alt+L).
    void StartOrFinish();

    // The recorder: bytes shown (text mode) or received (code mode).
    void Record(const uint8_t* bytes, int n);
    const std::string& lastFileName() const { return lastFileName_; }

private:
    std::string EndCapture();
    void installRecorder();
    void removeRecorder();
    bool recordFailed(int error);
    int writeNormalised(std::string_view text);
    // The save dialog until a name is settled: Accepted with the path, Extra or Cancelled.
    FileReply askSaveName(FileRequest request);
    bool replaceExisting(const std::string& path);
    void storeRecording(const std::string& temporary, const std::string& chosen,
                        bool viewAfterSave);
    void saveScreenText(const std::string& path, bool viewAfterSave);
    void savePicture(const std::string& path);
    std::string proposedPath();
    void tell(const std::string& text, PromptIcon icon);

    Registry& registry_;
    Prompt& prompt_;
    TWView& view_;
    CaptureHost& host_;
    State state_ = State::Off;
    Mode mode_ = Mode::Text;
    bool lastWasCR_ = false;
    CaptureFile file_;
    std::string lastFileName_;  // UTF-8
    // The session's interpreters hold the code recorder and may outlive this capture, which
    // empties the cell they share when it goes (no reference counting per recorded run).
    std::shared_ptr<Capture*> alive_ = std::make_shared<Capture*>(this);
};
