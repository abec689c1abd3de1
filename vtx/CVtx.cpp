// Reading bytes within the time budget, the byte dispatch over the code sets, the graphic sets
// and the C0 controls.
#include "vtx/CVtx.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint8_t ESC = 0x1B;

// The mirror is as high as the window's client area and 1.3 times as wide.
int mirrorWidth(int clientHeight) {
    return int(std::lround(std::max(clientHeight, 1) * 1.3));
}

}  // namespace

std::unique_ptr<CVtx> CVtx::New(VtxHost& host, FetchFn fetch, SendFn send) {
    const int height = std::max(host.ClientHeight(), 1);
    return std::unique_ptr<CVtx>(
        new CVtx(host, std::move(fetch), std::move(send), mirrorWidth(height), height, 0));
}

CVtx::CVtx(VtxHost& host, FetchFn fetch, SendFn send, int width, int height, int nesting)
    : host_(host),
      fetch_(std::move(fetch)),
      send_(std::move(send)),
      mirror_(width, height),
      nesting_(nesting),
      shape_(nesting > 0) {
    Reset();
}

CVtx::~CVtx() = default;

// The initial state: default colour map, domain, text, code sets and field.
void CVtx::Reset() {
    defaultColourMap();
    colourMode_ = 0;
    drawColour_ = 7;
    backColour_ = 0;
    threeD_ = false;
    singleLength_ = 1, multiLength_ = 3;
    pelW_ = pelH_ = 1;
    pel_ = {};
    textureDefaults();
    resetCodeSets();
    textDefaults();
    setField({0, 0}, {1, 0.78125});
    home();
}

void CVtx::resetCodeSets() {
    g_ = {'B', 'W', '|', '}'};
    gl_ = 0, gr_ = 1;
    singleShift_ = -1;
}

int CVtx::Run() {
    Clock& clock = host_.Time();
    const int64_t start = clock.nowMs();
    bool read = false;
    int result = 0;
    stepBlinks();
    for (;;) {
        if (status_ == 0) {
            result = -1;
            break;
        }
        const int64_t now = clock.nowMs();
        if (now - start >= kRunBudgetMs) {
            result = 1;
            break;
        }
        if (waitUntil_ > now) {
            host_.WakeAfter(int(std::min<int64_t>(waitUntil_ - now, 1 << 30)));
            break;
        }
        const int b = nextByte();
        if (b < 0) break;
        read = true;
        Feed(uint8_t(b));
    }
    if (read) host_.Repaint();
    return result;
}

// A byte pushed back is read again from the history before the host is asked.
int CVtx::nextByte() {
    if (pending_ > 0) return history_[(historyEnd_ - pending_--) % history_.size()];
    const int b = fetch_ ? fetch_(false) : -1;
    if (b >= 0) history_[historyEnd_++ % history_.size()] = uint8_t(b);
    return b;
}

void CVtx::pushBack() {
    if (pending_ < std::min(historyEnd_, history_.size())) ++pending_;
}

void CVtx::Feed(uint8_t b) {
    // A step that does not take the byte has returned to the ground state, where it is
    // dispatched again.
    while (!step(b)) {
    }
}

bool CVtx::step(uint8_t b) {
    switch (step_) {
        case Step::Ground:
            dispatch(b);
            return true;
        case Step::Escape:
            return escape(b);
        case Step::EscapeOneMore:
        case Step::Designate:
        case Step::DesignateWide:
        case Step::WideFinal:
        case Step::Percent:
        case Step::Ampersand:
        case Step::AmpersandSkip:
        case Step::AmpersandSix:
        case Step::Csi:
            return escapeTail(b);
        case Step::PositionRow:
        case Step::ResetRow:
            if ((step_ == Step::PositionRow ? (b & 0x70) < 0x20 : !(b & 0x40))) break;
            firstByte_ = b;
            step_ = step_ == Step::PositionRow ? Step::PositionColumn : Step::ResetColumn;
            return true;
        case Step::PositionColumn:
            if ((b & 0x70) < 0x20) break;
            step_ = Step::Ground;
            setPosition((firstByte_ & 0x7F) - 0x20, (b & 0x7F) - 0x20);
            return true;
        case Step::ResetColumn:
            if (!(b & 0x40)) break;
            step_ = Step::Ground;
            setPosition(firstByte_ & 0x3F, b & 0x3F);
            return true;
        case Step::KoreanTrail:
            if (!(b & 0x60)) break;
            step_ = Step::Ground;
            drawKorean(koreanLead_, uint8_t(b | 0x80));
            return true;
        case Step::Naming:
        case Step::Defining:
        case Step::DefiningEscape:
            return definition(b);
        case Step::RepeatCount:
            step_ = Step::Ground;
            repeatLast(b & 0x3F);
            return true;
        case Step::Operands:
            if (isOperand(b)) return pdiOperand(b);
            step_ = Step::Ground;
            endPdi();
            // A pause starts before the byte that ended its operands.
            if (waitUntil_ > host_.Time().nowMs() && streamByte()) {
                pushBack();
                return true;
            }
            return false;
    }
    step_ = Step::Ground;
    return false;
}

void CVtx::finish() {
    if (step_ == Step::Operands) endPdi();
    step_ = Step::Ground;
}

void CVtx::dispatch(uint8_t b) {
    if (b & 0x60) {
        const int reg = singleShift_ >= 0 ? singleShift_ : b < 0x80 ? gl_ : gr_;
        singleShift_ = -1;
        graphic(b & 0x7F, g_[reg]);
    } else if (b >= 0x80) {
        c1(b);
    } else {
        c0(b);
    }
}

bool CVtx::pdiInvoked() const {
    return g_[gl_] == 'W' || g_[gr_] == 'W';
}

// With the instruction set invoked, an operand byte has bit 0x40 set and lies in a half that
// holds that set: a text byte of the other half ends the operands (pages put text right after
// a POINT SET).
bool CVtx::isOperand(uint8_t b) const {
    if (!pdiInvoked()) return true;
    return (b & 0x40) && g_[b & 0x80 ? gr_ : gl_] == 'W';
}

void CVtx::graphic(uint8_t b, char set) {
    switch (set) {
        case 'B':
        case '|':
            if (b == 0x7F) return;
            lastSet_ = set, lastGraphic_ = std::string(1, char(b));
            drawChar(set == 'B' ? char32_t(b) : SupplementaryChar(b), false);
            // Accents stand over the next character.
            if (set == 'B' || b < 0x40 || b > 0x4F) advance();
            return;
        case 'C':
            koreanLead_ = uint8_t(b | 0x80);
            step_ = Step::KoreanTrail;
            return;
        case 'W':
            if (b < 0x40) beginPdi(b);
            return;
        case 'z':
            runMacro(b - 0x20);
            return;
        case '{':
            lastSet_ = set, lastGraphic_ = std::string(1, char(b));
            drawDrcs(b - 0x20);
            advance();
            return;
        case '}':
            lastSet_ = set, lastGraphic_ = std::string(1, char(b));
            drawMosaic(b);
            advance();
            return;
        default:
            return;
    }
}

void CVtx::c0(uint8_t b) {
    switch (b) {
        case 0x08:
            moveBy(-1, 0);
            break;
        case 0x09:
            moveBy(1, 0);
            break;
        case 0x0A:
            moveBy(0, 1);
            break;
        case 0x0B:
            moveBy(0, -1);
            break;
        case 0x0C:
            home();
            clearTo(colourMode_ == 2 ? backColour_ : 0);
            break;
        case 0x0D:
            carriageReturn();
            break;
        case 0x0E:
            gl_ = 1;
            break;
        case 0x0F:
            gl_ = 0;
            break;
        case 0x19:
            singleShift_ = 2;
            break;
        case 0x1D:
            singleShift_ = 3;
            break;
        case ESC:
            step_ = Step::Escape;
            break;
        case 0x1C:
            step_ = Step::PositionRow;
            break;
        case 0x1E:
            home();
            break;
        case 0x1F:
            resetCodeSets();
            textDefaults();
            home();
            step_ = Step::ResetRow;
            break;
        default:
            break;
    }
}
