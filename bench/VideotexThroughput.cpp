// Videotex decoding and drawing: a generated 4 MiB stream of filled rectangles, lines, filled
// polygons, colour changes and text runs through CVtx on a 520x400 mirror, in steps the size
// of a link's reads, against QPainter drawing the same figures and text into a 520x400 image
// in the same run. Prints both throughputs, the ratio, the multiple of 115,200 bit/s and the
// longest Run call.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "term/OutlineGlyphs.h"
#include "term/TermFonts.h"
#include "vtx/CVtx.h"
#include "vtx/VtxOperand.h"

namespace {

constexpr size_t kStreamBytes = 4 << 20;
constexpr int kHeight = 400, kWidth = 520;
constexpr size_t kReadBytes = 4096;  // bytes the link has ready per pump pass

using Seconds = std::chrono::duration<double>;

struct Figure {
    enum Kind { Rect, Line, Polygon, Text } kind;
    std::vector<VtxPoint> points;  // in unit-screen coordinates
    int colour;
    std::string text;
};

// A multi-value operand of 3 bytes, as pages send them.
std::string operand(double x, double y) {
    return EncodePoint({x, y}, 3);
}

void generate(std::string& stream, std::vector<Figure>& figures) {
    std::mt19937 rng(24);
    auto unit = [&](double hi) { return std::uniform_real_distribution<double>(0, hi)(rng); };
    auto step = [&] { return std::uniform_real_distribution<double>(-0.2, 0.2)(rng); };
    while (stream.size() < kStreamBytes) {
        const int colour = int(rng() % 16);
        stream += "\xBE" + std::string(1, char(0xC0 | colour << 2));
        const VtxPoint at{unit(0.9), unit(0.7)};
        stream += "\xA4" + operand(at.x, at.y);
        switch (rng() % 4) {
            case 0: {
                const VtxPoint size{unit(0.2), unit(0.2)};
                stream += "\xB1" + operand(size.x, size.y);
                figures.push_back({Figure::Rect, {at, size}, colour, ""});
                break;
            }
            case 1: {
                const VtxPoint d{step(), step()};
                stream += "\xA9" + operand(d.x, d.y);
                figures.push_back({Figure::Line, {at, {at.x + d.x, at.y + d.y}}, colour, ""});
                break;
            }
            case 2: {
                Figure f{Figure::Polygon, {at}, colour, ""};
                stream += "\xB5";
                for (int i = 0; i < 4; ++i) {
                    const VtxPoint d{step(), step()};
                    stream += operand(d.x, d.y);
                    f.points.push_back({f.points.back().x + d.x, f.points.back().y + d.y});
                }
                figures.push_back(f);
                break;
            }
            default: {
                std::string text;
                for (int i = 0; i < 20; ++i)
                    text += char('A' + rng() % 26);
                stream += text;
                figures.push_back({Figure::Text, {at}, colour, text});
                break;
            }
        }
    }
}

class BenchHost : public VtxHost {
public:
    int ClientWidth() const override { return kWidth; }
    int ClientHeight() const override { return kHeight; }
    GlyphSource& Glyphs() override { return glyphs; }
    OutlineGlyphs glyphs{QString(TermFonts::kGulimFaceName)};
};

// Ours: seconds in all and the longest Run.
std::pair<double, double> decode(const std::string& stream) {
    BenchHost host;
    size_t available = 0, read = 0;
    auto vtx = CVtx::New(
        host, [&](bool) { return read < available ? int(uint8_t(stream[read++])) : -1; },
        [](uint8_t) {});
    double longest = 0;
    const auto start = std::chrono::steady_clock::now();
    while (read < stream.size()) {
        available = std::min(stream.size(), available + kReadBytes);
        int r;
        do {
            const auto before = std::chrono::steady_clock::now();
            r = vtx->Run();
            longest = std::max(longest, Seconds(std::chrono::steady_clock::now() - before).count());
        } while (r == 1);
    }
    return {Seconds(std::chrono::steady_clock::now() - start).count(), longest};
}

// The peer: QPainter drawing the same figures.
double paint(const std::vector<Figure>& figures) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QFont font(TermFonts::FamilyOf(TermFonts::kGulimFaceName));
    font.setPixelSize(20);
    const auto start = std::chrono::steady_clock::now();
    QPainter p(&image);
    p.setFont(font);
    auto px = [](VtxPoint v) { return QPointF(v.x * kWidth, kHeight - v.y * kWidth); };
    for (const Figure& f : figures) {
        const QColor c = QColor::fromHsv(f.colour * 22, 200, 200);
        p.setPen(c);
        p.setBrush(c);
        switch (f.kind) {
            case Figure::Rect:
                p.fillRect(QRectF(px(f.points[0]),
                                  QSizeF(f.points[1].x * kWidth, -f.points[1].y * kWidth)),
                           c);
                break;
            case Figure::Line:
                p.drawLine(px(f.points[0]), px(f.points[1]));
                break;
            case Figure::Polygon: {
                QPolygonF poly;
                for (VtxPoint v : f.points)
                    poly << px(v);
                p.drawPolygon(poly);
                break;
            }
            case Figure::Text:
                p.drawText(px(f.points[0]), QString::fromStdString(f.text));
                break;
        }
    }
    p.end();
    return Seconds(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::string stream;
    std::vector<Figure> figures;
    generate(stream, figures);
    const auto [ours, longest] = decode(stream);
    const double peer = paint(figures);
    const double mb = stream.size() / 1e6;
    const double oursRate = mb / ours, linkRate = 115200.0 / 10 / 1e6;
    std::printf("videotex: %.1f MB, %zu figures on %dx%d\n", mb, figures.size(), kWidth, kHeight);
    std::printf("  CVtx decode and draw  %8.2f MB/s  (%.0f x 115,200 bit/s)\n", oursRate,
                oursRate / linkRate);
    std::printf("  QPainter same figures %8.2f MB/s of stream\n", mb / peer);
    std::printf("  ratio ours/peer       %8.2f\n", peer / ours);
    std::printf("  longest Run           %8.1f ms\n", longest * 1000);
    const bool ok = oursRate >= 1.5 && longest <= 0.060;
    if (!ok) std::printf("  BELOW TARGET (1.5 MB/s, 60 ms)\n");
    return ok ? 0 : 1;
}
