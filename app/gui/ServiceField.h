#pragma once
// "통신망 종류(&B):" in the entry editors: the services to choose from, and a button that adds
// a new one ("새 통신망 추가"), which is then chosen.
#include <QWidget>
#include <string>

#include "auto/Registry.h"
#include "platform/Prompt.h"

class QComboBox;

class ServiceField : public QWidget {
public:
    ServiceField(Registry& registry, Prompt& prompt, const std::string& current);
    std::string Service() const;  // CP949

private:
    void fill(const std::string& current);
    void addService();

    Registry& registry_;
    Prompt& prompt_;
    QComboBox* services_;
};
