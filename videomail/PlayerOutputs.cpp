#include "videomail/PlayerOutputs.h"

#include <QImage>
#include <filesystem>

#include "videomail/VmiFormat.h"

namespace {

// A WAV header for 8000-Hz 16-bit mono samples.
std::string wavHeader(uint32_t dataBytes) {
    std::string header(44, '\0');
    header.replace(0, 4, "RIFF");
    header.replace(8, 8, "WAVEfmt ");
    header.replace(36, 4, "data");
    vmi::putLe32(header.data() + 4, 36 + dataBytes);
    const uint32_t format[4] = {16, 1 | 1 << 16, 8000, 16000};
    for (int i = 0; i < 4; ++i)
        vmi::putLe32(header.data() + 16 + 4 * i, format[i]);
    vmi::putLe32(header.data() + 32, 2 | 16 << 16);
    vmi::putLe32(header.data() + 40, dataBytes);
    return header;
}

}  // namespace

HeadlessOutput::HeadlessOutput(const HeadlessOptions& options) : options_(options) {
    std::error_code error;
    if (!options.framesFolder.empty())
        ok_ = std::filesystem::create_directories(options.framesFolder, error) || !error;
    rgb_ = openOutput(options.rgbPath);
    rawVideo_ = openOutput(options.rawVideoPath);
}

HeadlessOutput::~HeadlessOutput() {
    if (rgb_) fclose(rgb_);
    if (rawVideo_) fclose(rawVideo_);
}

FILE* HeadlessOutput::openOutput(const std::string& path) {
    if (path.empty()) return nullptr;
    FILE* file = fopen(path.c_str(), "wb");
    ok_ = ok_ && file;
    return file;
}

void HeadlessOutput::write(FILE* file, const std::string& bytes) {
    if (file && fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) ok_ = false;
}

void HeadlessOutput::PictureDecoded(const std::string& yuv420) {
    write(rawVideo_, yuv420);
}

void HeadlessOutput::ShowPicture(const std::string& rgb) {
    write(rgb_, rgb);
    if (options_.framesFolder.empty()) return;
    char name[32];
    snprintf(name, sizeof name, "/frame-%05d.png", shown_++);
    QImage image(reinterpret_cast<const uchar*>(rgb.data()), 176, 144, 176 * 3,
                 QImage::Format_RGB888);
    if (!image.save(QString::fromStdString(options_.framesFolder + name), "PNG")) ok_ = false;
}

bool HeadlessOutput::QueueSound(const std::string& samples) {
    sound_ += samples;
    return true;
}

void HeadlessOutput::RecordPlayed(const vmi::Record& record, int64_t dueMs, int64_t actualMs) {
    if (!options_.events) return;
    printf("%u %u %u %lld %lld\n", record.type, record.sequence,
           static_cast<unsigned>(record.data.size()), static_cast<long long>(dueMs),
           static_cast<long long>(actualMs));
}

bool HeadlessOutput::finish() {
    if (options_.wavPath.empty()) return ok_;
    FILE* wav = openOutput(options_.wavPath);
    write(wav, wavHeader(static_cast<uint32_t>(sound_.size())) + sound_);
    if (wav && fclose(wav) != 0) ok_ = false;
    fflush(stdout);
    return ok_;
}
