#pragma once
// The escape-sequence interpreter: a VT102-class ANSI terminal with the extensions Korean
// online services use (SCO colours, a host-drawn box, an input-method switch, an image anchor,
// graphic/videotex negotiation). It turns received bytes into screen operations, answers the
// host, recognises the ZMODEM start and reports events to the session as status codes.
#include <cstdint>
#include <functional>

#include "term/TWLinkFilter.h"
#include "term/TWView.h"

// What GetChar returns instead of a displayed byte.
enum TWStatus : int {
    kTWNoData = -802,
    kTWZmodemReceive = -806,
    kTWZmodemSend = -807,
    kTWVideotexStart = -808,
    kTWServiceStart = -809,  // ESC % 1, ESC & 1, ESC % 6 @
    kTWServiceQuery = -810,  // ESC & 4
    kTWImageEnd = -811,
    kTWImageCommand1 = -812,  // ESC % B 1 ... ESC % B 5 give -812 ... -816
    kTWImageStart = -815,
    kTWImageCommand5 = -816,
    kTWImageReceive = -817,
    kTWColumnReset = -818,
    kTWPrivateSave = -819,  // ESC [ ? 1 s
};

// Keys the terminal translates itself; everything else arrives as characters.
enum class TWKey {
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16,
    F17,
    F18,
    F19,
    F20,
    Left,
    Up,
    Right,
    Down,
    Backspace,
    Keypad0,
    Keypad1,
    Keypad2,
    Keypad3,
    Keypad4,
    Keypad5,
    Keypad6,
    Keypad7,
    Keypad8,
    Keypad9,
    KeypadMinus,
};
enum TWKeyModifier : unsigned { kTWShift = 1, kTWCtrl = 2, kTWAlt = 4 };

class TWEmulator : public TWLinkFilter {
public:
    using RawTap = std::function<void(const uint8_t* bytes, int n)>;

    TWEmulator(TWView* view, GFComLink* link);
    // Takes the view as it stands instead of resetting (and clearing) it.
    struct KeepView {};
    TWEmulator(TWView* view, GFComLink* link, KeepView);

    int GetChar() override;
    void PutChar(uint8_t b) override;
    // Sends the bytes of a function, cursor or keypad key; false when the key sends nothing
    // here (its character, if any, is sent by the character path).
    bool SendKey(TWKey key, unsigned modifiers);

    void SetLineOptions(bool sendCR, bool recvCR2CRLF, bool recvLF2CRLF);
    void SetAnswerEcho(bool on) { answerEcho_ = on; }
    // Converts typed KS C 5601 pairs to Johab; also drops a held lead byte.
    void SetJohabSend(bool on);
    // Sees every byte received from the link, a run at a time.
    void SetRawTap(RawTap tap) { rawTap_ = std::move(tap); }
    void Reset();
    // Blink, bold, conceal, reverse and underline off, in the interpreter and on the screen.
    void ClearRendition();

    bool KeypadApplicationMode() const { return keypadApplication_; }
    uint8_t CursorKeyIntroducer() const { return cursorIntroducer_; }

private:
    using State = void (TWEmulator::*)(uint8_t);
    enum Charset : uint8_t { kAscii, kUk, kDecGraphics };

    // Everything CSI s saves and CSI u restores.
    struct SaveRecord {
        TWPoint position{1, 1};
        int fg = 15, bg = 1;
        bool g1Active = false;
        Charset g0 = kAscii, g1 = kAscii;
        bool originMode = false;
        bool reverse = false, bold = false, conceal = false, blink = false, underline = false;
    };

    // States (TWEmulatorStates.cpp, TWEmulatorCsi.cpp, TWEmulatorNegotiation.cpp).
    void stGround(uint8_t b);
    void stEscape(uint8_t b);
    void stCsi(uint8_t b);
    void stCsiPrivate(uint8_t b);
    void stCsiEquals(uint8_t b);
    void stCsiComma(uint8_t b);
    void stEscHash(uint8_t b);
    void stEscParen0(uint8_t b);
    void stEscParen1(uint8_t b);
    void stEscPercent(uint8_t b);
    void stEscAmpersand(uint8_t b);
    void stNegotiationSix(uint8_t b);
    void stNegotiationB(uint8_t b);
    void stNegotiationSkip(uint8_t b);
    void stStar1(uint8_t b);
    void stStar2(uint8_t b);
    void stStarCan(uint8_t b);
    void stStarCanB(uint8_t b);
    void stStarCanB0(uint8_t b);
    void stCancel(uint8_t b);

    // Helpers of the states.
    void display(uint8_t b) { result_ = b; }
    void enter(State s) { state_ = s; }
    void startSequence();
    bool collectParameter(uint8_t b);
    void addDigit(uint8_t digit);
    bool nextParameter();
    int param(int i, int fallback) const;
    bool isTextByte(uint8_t b) const;
    void ground(uint8_t b);
    void zmodemTrigger(uint8_t b);
    static void designate(Charset& set, uint8_t b);

    // Actions (TWEmulatorCsi.cpp).
    void csiDispatch(uint8_t final);
    void csiCursorPosition();
    void csiEraseInDisplay();
    void csiEraseInLine();
    void csiDeviceAttributes();
    void csiDeviceStatusReport();
    void csiSetAnsiModes(bool on);
    void csiSelectGraphicRendition();
    void csiSaveState();
    void csiRestoreState();
    void decSetModes(bool on);
    void decColumnMode(bool reset);
    void sendIdentification();
    void negotiate(uint8_t b, bool ampersand);
    void sendReply(const char* bytes, int count, bool grouped);

    // Output and display (TWEmulator.cpp).
    bool plainTextPath() const;
    void displayResult(uint8_t b);
    void echo(uint8_t b);
    void sendByte(uint8_t b);
    void sendTyped(uint8_t b);

    State state_ = &TWEmulator::stGround;
    int result_ = kTWNoData;
    uint8_t lastByte_ = 0;

    int count_ = 0;
    uint16_t params_[11] = {};

    bool keypadApplication_ = false;
    uint8_t cursorIntroducer_ = '[';
    Charset g0_ = kAscii, g1_ = kAscii;
    bool g1Active_ = false;
    bool blink_ = false, bold_ = false, conceal_ = false, reverse_ = false, underline_ = false;
    bool imagePending_ = false;
    int canCount_ = 0;
    int columnLimit_ = TWView::kColumns;
    bool insertMode_ = false, newLineMode_ = false, originMode_ = false, autoWrap_ = false;
    TWPoint savedCursor_{1, 1};
    SaveRecord saved_;
    bool columnResetMark_ = false;
    bool crLineEnd_ = false;  // a received CR answered and shown as one line end

    bool negotiationGrouped_ = false;
    int skipLeft_ = 0;

    bool answerEcho_ = false;
    bool sendCR_ = false, recvCR2CRLF_ = false, recvLF2CRLF_ = false;
    bool johabSend_ = false;
    bool leadHeld_ = false;
    uint8_t heldLead_ = 0;
    RawTap rawTap_;
};
