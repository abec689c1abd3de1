#include "tools/demohost/DemoFiles.h"

#include "platform/DataFolder.h"

std::string DemoFilesFolder() {
    return dataFolder() + "/DemoFiles";
}
