#include "tools/VtxDump.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace {

std::string hex(std::string_view bytes) {
    std::string out;
    char two[3];
    for (char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", unsigned(uint8_t(c)));
        out += two;
    }
    return out;
}

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

struct NamedKey {
    const char* name;
    VtxKey key;
};
constexpr NamedKey kKeys[] = {
    {"<Left>", VtxKey::Left}, {"<Up>", VtxKey::Up},   {"<Right>", VtxKey::Right},
    {"<Down>", VtxKey::Down}, {"<F10>", VtxKey::F10}, {"<F1>", VtxKey::F1},
    {"<F2>", VtxKey::F2},     {"<F3>", VtxKey::F3},   {"<F4>", VtxKey::F4},
    {"<F5>", VtxKey::F5},     {"<F6>", VtxKey::F6},   {"<F7>", VtxKey::F7},
    {"<F8>", VtxKey::F8},     {"<F9>", VtxKey::F9},
};

// The length of the UTF-8 character starting with byte `lead`.
size_t utf8Length(uint8_t lead) {
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

}  // namespace

VtxDump::VtxDump(int height, GlyphSource& glyphs) : height_(height), glyphs_(glyphs) {
    vtx_ = CVtx::New(
        *this, [this](bool) { return read_ < available_ ? int(uint8_t(input_[read_++])) : -1; },
        [this](uint8_t b) { sent_ += char(b); });
}

void VtxDump::runUntilIdle() {
    for (;;) {
        wake_ = -1;
        const int r = vtx_->Run();
        results_.push_back(r);
        if (r == 1) continue;
        // A pause passes at once; a blink alone does not keep the run going.
        if (r == 0 && vtx_->Paused() && wake_ >= 0) {
            clock_.now += wake_;
            continue;
        }
        return;
    }
}

void VtxDump::Feed(std::string_view bytes, size_t chunk) {
    input_ = bytes;
    read_ = available_ = 0;
    if (input_.empty()) runUntilIdle();
    while (available_ < input_.size() && vtx_->Running()) {
        available_ = std::min(input_.size(), available_ + std::max<size_t>(chunk, 1));
        runUntilIdle();
    }
}

bool VtxDump::Type(std::string_view keys) {
    // Converted whole first, so that bad text types nothing.
    std::vector<std::string> typed;
    for (size_t i = 0; i < keys.size();) {
        std::string piece;
        if (keys.substr(i).starts_with("<Enter>") || keys.substr(i).starts_with("<BS>")) {
            piece = keys.substr(i, keys[i + 1] == 'E' ? 7 : 4);
        } else {
            for (const NamedKey& k : kKeys)
                if (keys.substr(i).starts_with(k.name)) piece = k.name;
        }
        if (piece.empty()) {
            const auto cp949 = utf8ToCp949(keys.substr(i, utf8Length(uint8_t(keys[i]))));
            if (!cp949 || cp949->empty()) return false;
            typed.push_back(*cp949);
            i += utf8Length(uint8_t(keys[i]));
        } else {
            typed.push_back(piece);
            i += piece.size();
        }
    }
    for (const std::string& t : typed) {
        if (t == "<Enter>") {
            vtx_->OnEnter();
        } else if (t == "<BS>") {
            vtx_->OnBackspace();
        } else if (t.size() > 2 && t[0] == '<') {
            for (const NamedKey& k : kKeys)
                if (t == k.name) vtx_->OnKey(k.key);
        } else {
            vtx_->OnChar(t);
        }
        runUntilIdle();
    }
    return true;
}

std::string VtxDump::Json() const {
    const VtxMirror& m = vtx_->GetVtxBitmap();
    std::string out = "{\"runs\":[";
    for (size_t i = 0; i < results_.size(); ++i)
        out += (i ? "," : "") + std::to_string(results_[i]);
    out += "],\"ended\":";
    out += vtx_->Running() ? "false" : "true";
    out += ",\"sent\":\"" + hex(sent_) + "\"";
    out += ",\"mirror\":{\"width\":" + std::to_string(m.Width()) +
           ",\"height\":" + std::to_string(m.Height()) + "},\"palette\":[";
    for (size_t i = 0; i < m.Palette().size(); ++i) {
        const VtxRgb c = m.Palette()[i];
        out += std::string(i ? "," : "") + "[" + std::to_string(c.r) + "," + std::to_string(c.g) +
               "," + std::to_string(c.b) + "]";
    }
    const VtxPoint o = vtx_->FieldOrigin(), s = vtx_->FieldSize();
    out += "],\"field\":{\"origin\":[" + number(o.x) + "," + number(o.y) + "],\"size\":[" +
           number(s.x) + "," + number(s.y) +
           "],\"input\":" + (vtx_->FieldInput() ? "true" : "false") + "}";
    out += ",\"keyBuffer\":\"" + hex(vtx_->KeyBuffer()) + "\"}";
    return out;
}
