#include "image/gui/ImageHost.h"

namespace {
ImageHost current;
}

void SetImageHost(const ImageHost& host) {
    current = host;
}

const ImageHost& CurrentImageHost() {
    return current;
}
