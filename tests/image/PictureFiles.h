#pragma once
// Pictures for the image tests: seeded test pictures, PPM/PGM files, a scratch folder and the
// peer programs (netpbm, libjpeg-turbo's tools, ImageMagick) run through the shell.
#include <cstdint>
#include <string>
#include <vector>

#include "image/Surface.h"

// Blocks of colours drawn from `colors` seeded colours, with single odd pixels between, so that
// both runs and literal stretches occur.
Surface seededPicture(int width, int height, int colors, uint32_t seed);
// A smooth photograph-like picture (gradients and noise), for the JPEG and PNG coders.
Surface seededPhoto(int width, int height, uint32_t seed);

void writePpm(const Surface& picture, const std::string& path);
// P6, P5 at maxval 255, or P4; empty when the file is not one.
Surface readPnm(const std::string& path);
std::vector<uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Runs a shell command; its exit status.
int runCommand(const std::string& command);

// A fresh folder under the temporary folder, removed with its files by the destructor.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
