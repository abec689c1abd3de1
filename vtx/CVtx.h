#pragma once
// A videotex session: decodes a NAPLPS byte stream (with the two-byte Korean set "C") from the
// host, draws it into the mirror, answers the host's session-control sequences and takes the
// user's typing into the page's field. The window (or a tool) hosts it and calls Run from its
// data pump until it returns -1.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "term/GlyphSource.h"
#include "vtx/VtxMirror.h"

// What a videotex session needs of the window that shows it.
class VtxHost {
public:
    virtual ~VtxHost() = default;
    // The client area when the session starts: the mirror is as high and 1.3 times as wide.
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // The mirror changed: show it again.
    virtual void Repaint() {}
    // Run should be called again after `ms` even when no byte arrives (WAIT, BLINK).
    virtual void WakeAfter(int /*ms*/) {}
    // Text of the page ("굴림체" in the window).
    virtual GlyphSource& Glyphs() = 0;
    virtual Clock& Time() { return Clock::steady(); }
};

// Keys a page takes besides characters (key-down without Ctrl, Shift or Alt).
enum class VtxKey { Left, Up, Right, Down, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10 };

class CVtx {
public:
    // flag: always false; returns the next byte or a negative number when none is waiting.
    using FetchFn = std::function<int(bool)>;
    using SendFn = std::function<void(uint8_t)>;

    static constexpr int kRunBudgetMs = 50;
    static constexpr int kKeyBufferSize = 15;
    static constexpr int kSlots = 96;
    static constexpr size_t kMaxDefinition = 4096;
    static constexpr int kMaxNesting = 8;
    static constexpr size_t kMaxPoints = 4096;

    static std::unique_ptr<CVtx> New(VtxHost& host, FetchFn fetch, SendFn send);
    ~CVtx();
    CVtx(const CVtx&) = delete;
    CVtx& operator=(const CVtx&) = delete;

    // Decodes for at most 50 ms: 0 when the host has nothing more (or a pause waits for its
    // wake-up), 1 when the time ran out, -1 once the host has ended the session.
    int Run();
    // The page and its palette, for painting, saving and copying.
    const VtxMirror& GetVtxBitmap() const { return mirror_; }

    // Input the window routes here. One typed character as CP949 bytes (1 or 2).
    void OnChar(const std::string& cp949);
    void OnBackspace();
    void OnEnter();
    void OnKey(VtxKey key);

    // The cursor at the active position, which the window shows over the page (the page
    // itself never holds it): a cell of the mirror's pixels and its shape, 0 an underscore,
    // 1 a block, 2 and 3 a cross-hair. `flashing`: shown only every other half second.
    struct Cursor {
        bool shown = false;
        bool flashing = false;
        int style = 0;
        int x = 0, top = 0, w = 0, h = 0;
    };
    Cursor GetCursor() const;

    // --- state a host or a tool may show ------------------------------------------------------
    bool Running() const { return status_ != 0; }
    // A WAIT holds decoding until its wake-up.
    bool Paused() const { return waitUntil_ > host_.Time().nowMs(); }
    bool FieldInput() const { return fieldInput_; }
    const std::string& KeyBuffer() const { return keyBuffer_; }
    VtxPoint FieldOrigin() const { return fieldOrigin_; }
    VtxPoint FieldSize() const { return fieldSize_; }
    int ColourMode() const { return colourMode_; }
    int DrawingColour() const { return drawColour_; }

private:
    // Where a byte stands in a sequence that spans several bytes.
    enum class Step {
        Ground,
        Escape,
        EscapeOneMore,  // "!", "\"", "#": one byte ignored
        Designate,      // "(" ... "/": the final byte names the set
        DesignateWide,  // "$": ")", "*" or "+"
        WideFinal,      // after "$" and the register: an optional "C"
        Percent,        // "%": "@" ends the session
        Ampersand,      // "&": a session-control code
        AmpersandSkip,  // "&" "0": four bytes skipped
        AmpersandSix,   // "&" "6": "@" ends the session
        Csi,            // "[": digits and ";", a final byte
        PositionRow,    // 0x1C
        PositionColumn,
        ResetRow,  // 0x1F
        ResetColumn,
        KoreanTrail,     // the second byte of a pair in "C"
        Naming,          // the slot byte of a definition
        Defining,        // the body of a definition, up to END
        DefiningEscape,  // an escape inside a definition
        RepeatCount,     // 0x86
        Operands,        // a PDI opcode collecting its operands
    };
    enum class Define { Macro, MacroRun, Transmit, Drcs, Texture };
    struct Blink {
        int entry;
        VtxRgb on, off;
        int onMs, offMs;
        int64_t next;
        bool lit;
    };
    struct Drcs {
        std::string bytes;
        VtxPoint pel;
    };

    // A decoder drawing into a mirror of width x height; DRCS shapes are drawn by one of their
    // own, `nesting` calls deep.
    CVtx(VtxHost& host, FetchFn fetch, SendFn send, int width, int height, int nesting);

    // CVtx.cpp: reading, dispatch, graphic sets, C0.
    int nextByte();
    void pushBack();
    void Feed(uint8_t b);
    bool step(uint8_t b);
    // The instruction still collecting operands is carried out (a DRCS shape's end).
    void finish();
    bool streamByte() const { return feeding_ == 0 && !shape_; }
    void dispatch(uint8_t b);
    void graphic(uint8_t b, char set);
    void c0(uint8_t b);
    bool pdiInvoked() const;
    bool isOperand(uint8_t b) const;
    void Reset();
    void resetCodeSets();

    // CVtxControls.cpp: C1, escapes, session control, definitions.
    void c1(uint8_t b);
    bool escape(uint8_t b);
    bool escapeTail(uint8_t b);
    bool session(uint8_t b);
    bool definition(uint8_t b);
    void endDefinition();
    void runMacro(int slot);
    void sendBytes(std::string_view bytes);
    void endSession() { status_ = 0; }

    // CVtxPdi.cpp: operand collection and the drawing instructions.
    void beginPdi(uint8_t opcode);
    bool pdiOperand(uint8_t b);
    void operandDone();
    void endPdi();
    bool multiValueAt(size_t index) const;
    void singleOperand(uint8_t b, size_t index);
    void pointOperand(VtxPoint p, size_t index);
    void geometryOperand(VtxPoint p, size_t index);
    void pdiReset(uint8_t b, size_t index);
    void domain(uint8_t b);
    void textOperand(uint8_t b, size_t index);
    void selectColour(uint8_t b, size_t index);
    void setColour(VtxRgb rgb);
    void texture(uint8_t b);
    void setTextureMask(VtxPoint size);
    void textureDefaults();
    void drawPel(VtxPoint at);
    void drawLine(VtxPoint from, VtxPoint to);
    void drawRectangle(VtxPoint corner, VtxPoint size, bool filled);
    void drawArc(bool filled);
    void drawPolygon(bool filled);
    void setField(VtxPoint origin, VtxPoint size);
    void startWait(int64_t sum);
    void startBlink();
    void stopBlinking();
    void stepBlinks();
    void clearTo(uint8_t index);
    void defaultColourMap();

    // CVtxText.cpp: text, mosaics, DRCS, the active position.
    static char32_t SupplementaryChar(uint8_t b);
    // A KS C 5601 pair as a code point.
    static char32_t KoreanChar(uint8_t lead, uint8_t trail);
    void drawChar(char32_t c, bool wide);
    void drawKorean(uint8_t lead, uint8_t trail);
    // A character in a cell whose lower-left corner is `at`: fg ink over bg (-1: transparent),
    // turned by `rotation` quarter turns.
    void drawCell(char32_t c, bool wide, VtxPoint at, int fg, int bg, int rotation = 0);
    void inkCell(VtxMirror& target, int x, int top, char32_t c, bool wide, int fg, int bg);
    void placeCell(const VtxMirror& cell, VtxPoint at, int rotation, bool opaque);
    void cellBox(VtxPoint at, int& x, int& top) const;
    void inks(int& fg, int& bg) const;
    int paperCell(int& x, int& top);
    void drawMosaic(uint8_t b);
    void drawDrcs(int slot);
    void advance();
    bool pastLineEnd() const;
    void moveBy(int columns, int rows);
    void home();
    void setPosition(int row, int column);
    void carriageReturn();
    void textDefaults();
    void setFieldSize(double w, double h);
    void repeatLast(int count);
    int fieldPixelsW() const;
    int fieldPixelsH() const;

    // CVtxInput.cpp: the key buffer and the Enter fragment.
    void drawKeyBuffer();

    VtxHost& host_;
    FetchFn fetch_;
    SendFn send_;
    VtxMirror mirror_;
    int status_ = 1;

    // reading
    std::array<uint8_t, 128> history_{};
    size_t historyEnd_ = 0;  // bytes recorded so far
    size_t pending_ = 0;     // of them, pushed back to be read again
    int64_t waitUntil_ = 0;  // WAIT: no byte is read before this time
    int nesting_ = 0;        // macro and DRCS calls in progress, counting enclosing decoders
    int feeding_ = 0;        // of them, macros run by this decoder
    bool shape_ = false;     // this decoder draws a DRCS shape

    // parsing
    Step step_ = Step::Ground;
    uint8_t stepArg_ = 0;
    int stepCount_ = 0;
    uint8_t firstByte_ = 0;
    bool definitionTooLong_ = false;

    // code sets: G0-G3 final bytes, GL and GR as register numbers
    std::array<char, 4> g_{};
    int gl_ = 0, gr_ = 1;
    int singleShift_ = -1;

    // definitions
    Define defining_ = Define::Macro;
    int defineSlot_ = -1;
    std::string definition_;
    std::array<std::string, kSlots> macros_;
    std::array<Drcs, kSlots> drcs_;

    // PDI
    uint8_t opcode_ = 0;
    std::string operand_;  // bytes of the operand being collected
    size_t operandIndex_ = 0;
    std::vector<VtxPoint> points_;
    int64_t waitSum_ = 0;
    bool waitArmed_ = false;
    int previousColour_ = 7;
    std::array<uint8_t, 4> blinkArgs_{};
    VtxPoint fieldOperand_;

    // domain
    bool threeD_ = false;
    int singleLength_ = 1, multiLength_ = 3;
    int pelW_ = 1, pelH_ = 1;
    VtxPoint pel_{};

    // drawing
    VtxPoint point_;
    int colourMode_ = 0;
    int drawColour_ = 7, backColour_ = 0;
    std::array<bool, 16> inUse_{};
    int colourAddress_ = 7;
    std::vector<Blink> blinks_;
    VtxTexture texture_;

    // text: the active position, moved along with the drawing point by instructions
    VtxPoint position_;
    double fieldW_ = 0.025, fieldH_ = 0.0390625;
    int path_ = 0, rotation_ = 0, spacing_ = 0, rowSpacing_ = 0, cursorStyle_ = 0;
    bool reverse_ = false, underline_ = false, wordWrap_ = false, scroll_ = false;
    bool flashCursor_ = false, cursorOff_ = false;
    std::string lastGraphic_;  // the last character drawn (7-bit bytes) and its set
    char lastSet_ = 0;
    uint8_t koreanLead_ = 0;

    // field and keys
    VtxPoint fieldOrigin_{0, 0}, fieldSize_{1, 0.78125};
    bool fieldInput_ = false;
    std::string keyBuffer_;
};
