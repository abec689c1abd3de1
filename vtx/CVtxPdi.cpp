// Picture description instructions: operand collection and what each opcode does. Drawing
// happens as each operand completes, so a page whose last instruction has no byte after it is
// still drawn; a polygon, and an arc given only its middle point, are drawn at their end.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "vtx/CVtx.h"
#include "vtx/VtxOperand.h"
#include "vtx/VtxShapes.h"

namespace {

enum Opcode : uint8_t {
    kReset = 0x20,
    kDomain = 0x21,
    kText = 0x22,
    kTexture = 0x23,
    kPointSetAbs = 0x24,
    kPointSetRel = 0x25,
    kPointAbs = 0x26,
    kPointRel = 0x27,
    kLineAbs = 0x28,
    kLineRel = 0x29,
    kSetLineAbs = 0x2A,
    kSetLineRel = 0x2B,
    kArc = 0x2C,
    kArcFilled = 0x2D,
    kSetArc = 0x2E,
    kSetArcFilled = 0x2F,
    kRect = 0x30,
    kRectFilled = 0x31,
    kSetRect = 0x32,
    kSetRectFilled = 0x33,
    kPolygon = 0x34,
    kPolygonFilled = 0x35,
    kSetPolygon = 0x36,
    kSetPolygonFilled = 0x37,
    kField = 0x38,
    kSetColour = 0x3C,
    kWait = 0x3D,
    kSelectColour = 0x3E,
    kBlink = 0x3F,
};

constexpr uint8_t kWaitMark = 0x5C;

const VtxRgb kDefaultMap[16] = {
    {0, 0, 0},       {32, 32, 32},    {64, 64, 64},    {96, 96, 96},
    {124, 124, 124}, {188, 188, 188}, {208, 208, 208}, {252, 252, 252},
    {0, 0, 252},     {188, 0, 252},   {252, 0, 124},   {252, 64, 0},
    {252, 252, 0},   {64, 252, 0},    {0, 252, 124},   {0, 188, 252},
};

VtxPoint plus(VtxPoint a, VtxPoint b) {
    return {a.x + b.x, a.y + b.y};
}

int distance2(VtxRgb a, VtxRgb b) {
    const int r = a.r - b.r, g = a.g - b.g, bl = a.b - b.b;
    return r * r + g * g + bl * bl;
}

}  // namespace

void CVtx::defaultColourMap() {
    for (int i = 0; i < 16; ++i)
        mirror_.SetEntry(i, kDefaultMap[i]);
    inUse_.fill(false);
}

void CVtx::beginPdi(uint8_t opcode) {
    opcode_ = opcode;
    operand_.clear();
    operandIndex_ = 0;
    points_.clear();
    waitSum_ = 0;
    waitArmed_ = false;
    previousColour_ = drawColour_;
    colourAddress_ = drawColour_;
    blinkArgs_.fill(0);
    step_ = Step::Operands;
}

bool CVtx::multiValueAt(size_t index) const {
    switch (opcode_) {
        case kReset:
        case kWait:
        case kSelectColour:
        case kBlink:
            return false;
        case kDomain:
        case kTexture:
            return index >= 1;
        case kText:
            return index >= 2;
        default:
            return true;
    }
}

bool CVtx::pdiOperand(uint8_t b) {
    if (opcode_ == kWait && operandIndex_ == 0 && (b & 0x7F) != kWaitMark) {
        // Not a pause after all: the byte counts on its own.
        step_ = Step::Ground;
        return false;
    }
    if (!multiValueAt(operandIndex_)) {
        singleOperand(b, operandIndex_++);
        return true;
    }
    operand_ += char(b);
    if (int(operand_.size()) >= multiLength_) operandDone();
    return true;
}

void CVtx::operandDone() {
    if (opcode_ == kSetColour)
        setColour(DecodeColour(operand_));
    else
        pointOperand(DecodePoint(operand_), operandIndex_);
    operand_.clear();
    ++operandIndex_;
}

void CVtx::endPdi() {
    if (!operand_.empty()) operandDone();
    switch (opcode_) {
        case kArc:
        case kArcFilled:
        case kSetArc:
        case kSetArcFilled:
            // Start and middle point only: the circle whose diameter they span.
            if (points_.size() == 2) {
                points_.push_back(points_[0]);
                drawArc(opcode_ == kArcFilled || opcode_ == kSetArcFilled);
            }
            break;
        case kPolygon:
        case kPolygonFilled:
        case kSetPolygon:
        case kSetPolygonFilled:
            drawPolygon(opcode_ == kPolygonFilled || opcode_ == kSetPolygonFilled);
            break;
        case kField:
            if (operandIndex_ == 0) setField({0, 0}, {1, 0.78125});
            break;
        case kSelectColour:
            if (operandIndex_ == 0) colourMode_ = 0, drawColour_ = 7;
            break;
        case kWait:
            if (waitArmed_) startWait(waitSum_);
            break;
        case kBlink:
            if (operandIndex_ > 0) startBlink();
            break;
        default:
            break;
    }
    points_.clear();
}

void CVtx::singleOperand(uint8_t b, size_t index) {
    switch (opcode_) {
        case kReset:
            pdiReset(b, index);
            break;
        case kDomain:
            domain(b);
            break;
        case kText:
            textOperand(b, index);
            break;
        case kSelectColour:
            selectColour(b, index);
            break;
        case kWait:
            if (index > 0) waitSum_ = std::min<int64_t>(waitSum_ + (b & 0x3F), INT32_MAX);
            waitArmed_ = true;
            break;
        case kBlink:
            if (index < blinkArgs_.size()) blinkArgs_[index] = b & 0x3F;
            break;
        case kTexture:
            if (index == 0) texture(b);
            break;
        default:
            break;
    }
}

void CVtx::pointOperand(VtxPoint p, size_t index) {
    geometryOperand(p, index);
    // Text goes on where drawing left off: a page sets a point, then writes there.
    if (opcode_ >= kPointSetAbs && opcode_ <= kSetPolygonFilled) position_ = point_;
}

void CVtx::geometryOperand(VtxPoint p, size_t index) {
    const bool set = index == 0;
    switch (opcode_) {
        case kDomain:
            pel_ = {std::abs(p.x), std::abs(p.y)};
            pelW_ = std::max(1, int(std::lround(std::min(pel_.x, 1.0) * mirror_.Width())));
            pelH_ = std::max(1, int(std::lround(std::min(pel_.y, 1.0) * mirror_.Height())));
            break;
        case kText:
            if (index == 2) setFieldSize(std::abs(p.x), std::abs(p.y));
            break;
        case kTexture:
            if (index == 1) setTextureMask(p);
            break;
        case kPointSetAbs:
        case kPointSetRel:
            point_ = opcode_ == kPointSetAbs ? p : plus(point_, p);
            break;
        case kPointAbs:
        case kPointRel:
            point_ = opcode_ == kPointAbs ? p : plus(point_, p);
            drawPel(point_);
            break;
        case kLineAbs:
        case kLineRel:
        case kSetLineAbs:
        case kSetLineRel: {
            if (set && (opcode_ == kSetLineAbs || opcode_ == kSetLineRel)) {
                point_ = p;
                break;
            }
            const VtxPoint to = opcode_ == kLineAbs || opcode_ == kSetLineAbs ? p : plus(point_, p);
            drawLine(point_, to);
            point_ = to;
            break;
        }
        case kSetArc:
        case kSetArcFilled:
        case kSetRect:
        case kSetRectFilled:
        case kSetPolygon:
        case kSetPolygonFilled:
            if (set) {
                point_ = p;
                break;
            }
            [[fallthrough]];
        case kArc:
        case kArcFilled:
        case kPolygon:
        case kPolygonFilled:
            if (points_.size() >= kMaxPoints) break;
            if (points_.empty()) points_.push_back(point_);
            points_.push_back(plus(points_.back(), p));
            if (points_.size() == 3 && opcode_ >= kArc && opcode_ <= kSetArcFilled) {
                drawArc(opcode_ == kArcFilled || opcode_ == kSetArcFilled);
                point_ = points_[2];
                points_.clear();
            }
            break;
        case kRect:
        case kRectFilled:
            drawRectangle(point_, p, opcode_ == kRectFilled || opcode_ == kSetRectFilled);
            // The next rectangle of a row starts at this one's lower right corner.
            point_.x += p.x;
            break;
        case kField:
            if (set) {
                fieldOperand_ = p;
                setField(point_, p);
            } else if (index == 1) {
                setField(fieldOperand_, p);
            }
            break;
        default:
            break;
    }
}

void CVtx::pdiReset(uint8_t b, size_t index) {
    if (index == 0) {
        if (b & 1) {
            threeD_ = false;
            singleLength_ = 1, multiLength_ = 3;
            pel_ = {}, pelW_ = pelH_ = 1;
            textureDefaults();
        }
        const int mode = b >> 1 & 3;
        if (mode != 0) {
            colourMode_ = mode - 1;
            if (mode == 1 || mode == 3) defaultColourMap();
            drawColour_ = 7;
        }
        const int clear = b >> 3 & 7;
        if (clear == 1 || clear == 7)
            clearTo(0);
        else if (clear != 0 && clear != 3 && clear != 4)
            clearTo(uint8_t(drawColour_));
    } else if (index == 1) {
        if (b & 1) {
            textDefaults();
            setField({0, 0}, {1, 0.78125});
        }
        if (b & 2) stopBlinking();
        if (b & 8) setFieldSize(0.025, 0.0390625);
        if (b & 16)
            for (std::string& m : macros_)
                m.clear();
    }
}

void CVtx::domain(uint8_t b) {
    threeD_ = b & 0x20;
    multiLength_ = (b >> 2 & 7) + 1;
    singleLength_ = (b & 3) + 1;
}

void CVtx::textOperand(uint8_t b, size_t index) {
    if (index == 0) {
        rotation_ = b & 3;
        path_ = b >> 2 & 3;
        spacing_ = b >> 4 & 3;
    } else {
        cursorStyle_ = b & 3;
        rowSpacing_ = b >> 4 & 3;
    }
}

// TEXTURE's first operand: the line texture (bits 0-1: solid, dotted, dashed, dot-dashed) and
// the fill pattern (bits 3-5: solid, vertical, horizontal and cross hatching; 4-7 name the
// masks A-D, whose definitions are skipped, so those fill solid). Bit 2, highlight, is not
// drawn.
void CVtx::texture(uint8_t b) {
    static constexpr uint16_t kLines[4] = {VtxTexture::kSolidLine, VtxTexture::kDotted,
                                           VtxTexture::kDashed, VtxTexture::kDotDashed};
    texture_.line = kLines[b & 3];
    const int pattern = b >> 3 & 7;
    texture_.pattern = pattern < 4 ? VtxTexture::Pattern(pattern) : VtxTexture::Solid;
}

void CVtx::setTextureMask(VtxPoint size) {
    texture_.cellW = std::clamp(mirror_.Pixels(std::abs(size.x)), 1, mirror_.Width());
    texture_.cellH = std::clamp(mirror_.Pixels(std::abs(size.y)), 1, mirror_.Height());
}

// Solid fills and lines; hatching, when chosen, one line every 1/64 of the screen's width.
void CVtx::textureDefaults() {
    texture_ = {};
    setTextureMask({1.0 / 64, 1.0 / 64});
}

void CVtx::selectColour(uint8_t b, size_t index) {
    if (index == 0) {
        colourMode_ = 1;
        drawColour_ = b >> 2 & 15;
    } else if (index == 1) {
        colourMode_ = 2;
        backColour_ = b >> 2 & 15;
        if (backColour_ == drawColour_) drawColour_ = previousColour_;
    }
}

void CVtx::setColour(VtxRgb rgb) {
    if (colourMode_ != 0) {
        mirror_.SetEntry(colourAddress_, rgb);
        colourAddress_ = (colourAddress_ + 1) & 15;
        return;
    }
    const auto& map = mirror_.Palette();
    int entry = -1;
    for (int i = 0; i < 16 && entry < 0; ++i)
        if (map[i] == rgb) entry = i;
    for (int i = 0; i < 16 && entry < 0; ++i)
        if (!inUse_[i]) entry = i;
    if (entry < 0) {
        // Every entry is taken: the nearest colour of the map stands in.
        entry = 0;
        for (int i = 1; i < 16; ++i)
            if (distance2(map[i], rgb) < distance2(map[entry], rgb)) entry = i;
    } else {
        mirror_.SetEntry(entry, rgb);
    }
    drawColour_ = entry;
    inUse_[entry] = true;
}

void CVtx::clearTo(uint8_t index) {
    mirror_.Fill(index);
}

void CVtx::drawPel(VtxPoint at) {
    const int x = mirror_.Column(at.x), y = mirror_.Row(at.y);
    mirror_.FillBox(x, y - pelH_ + 1, x + pelW_, y + 1, uint8_t(drawColour_));
}

void CVtx::drawLine(VtxPoint from, VtxPoint to) {
    mirror_.Line(mirror_.Column(from.x), mirror_.Row(from.y), mirror_.Column(to.x),
                 mirror_.Row(to.y), pelW_, pelH_, uint8_t(drawColour_), texture_.line);
}

void CVtx::drawRectangle(VtxPoint corner, VtxPoint size, bool filled) {
    const VtxPoint far = plus(corner, size);
    if (!filled) {
        const VtxPoint b{far.x, corner.y}, d{corner.x, far.y};
        drawLine(corner, b), drawLine(b, far), drawLine(far, d), drawLine(d, corner);
        return;
    }
    const double x0 = std::min(corner.x, far.x), x1 = std::max(corner.x, far.x);
    const double y0 = std::min(corner.y, far.y), y1 = std::max(corner.y, far.y);
    mirror_.FillBox(mirror_.Column(x0), mirror_.Row(y1) + 1, mirror_.Column(x1),
                    mirror_.Row(y0) + 1, uint8_t(drawColour_), texture_);
}

// points_: start, middle and end of the arc.
void CVtx::drawArc(bool filled) {
    const std::vector<VtxPoint> path =
        ArcPath(points_[0], points_[1], points_[2], 1.0 / mirror_.Width());
    if (filled && path.size() >= 3) {
        mirror_.FillPolygon(path, uint8_t(drawColour_), texture_);
        return;
    }
    for (size_t i = 1; i < path.size(); ++i)
        drawLine(path[i - 1], path[i]);
    if (path.size() == 1) drawPel(path[0]);
}

void CVtx::drawPolygon(bool filled) {
    if (points_.empty()) return;
    if (filled) {
        mirror_.FillPolygon(points_, uint8_t(drawColour_), texture_);
        return;
    }
    for (size_t i = 0; i < points_.size(); ++i)
        drawLine(points_[i], points_[(i + 1) % points_.size()]);
}

void CVtx::setField(VtxPoint origin, VtxPoint size) {
    fieldOrigin_ = origin;
    fieldSize_ = size;
}

void CVtx::startWait(int64_t sum) {
    const int64_t ms = sum * 100;
    waitUntil_ = host_.Time().nowMs() + ms;
    if (ms > 0) host_.WakeAfter(int(std::min<int64_t>(ms, INT32_MAX)));
}

// BLINK: the drawing colour's entry alternates with the colour of the first operand, on and
// off for the next two operands in tenths of a second, after the fourth's delay.
void CVtx::startBlink() {
    const int entry = drawColour_;
    const int to = blinkArgs_[0] >> 2 & 15;
    const int on = std::max(1, int(blinkArgs_[1])) * 100,
              off = std::max(1, int(blinkArgs_[2])) * 100;
    std::erase_if(blinks_, [&](const Blink& b) { return b.entry == entry; });
    const auto& map = mirror_.Palette();
    blinks_.push_back(
        {entry, map[to], map[entry], on, off, host_.Time().nowMs() + blinkArgs_[3] * 100, false});
    host_.WakeAfter(blinkArgs_[3] * 100);
}

void CVtx::stopBlinking() {
    for (const Blink& b : blinks_)
        mirror_.SetEntry(b.entry, b.off);
    blinks_.clear();
}

void CVtx::stepBlinks() {
    if (blinks_.empty()) return;
    const int64_t now = host_.Time().nowMs();
    int64_t soonest = INT64_MAX;
    bool changed = false;
    for (Blink& b : blinks_) {
        if (now >= b.next) {
            b.lit = !b.lit;
            mirror_.SetEntry(b.entry, b.lit ? b.on : b.off);
            b.next = now + (b.lit ? b.onMs : b.offMs);
            changed = true;
        }
        soonest = std::min(soonest, b.next);
    }
    if (changed) host_.Repaint();
    host_.WakeAfter(int(std::max<int64_t>(soonest - now, 1)));
}
