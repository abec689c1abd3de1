#pragma once
// "전화번호부": the access numbers the phone book lists for a service, in its six groups, each
// with a check box. The numbers ticked become phone records of the entry.
#include <QDialog>
#include <string>
#include <vector>

#include "auto/IniFile.h"
#include "link/PhoneBook.h"

class QTreeWidget;

class PhoneBookPicker : public QDialog {
public:
    // service: CP949, as hosts.cfg names it.
    PhoneBookPicker(const IniFile& hosts, const std::string& service, QWidget* parent = nullptr);
    std::vector<PhoneRecord> Chosen() const;

private:
    std::vector<PhoneBookGroup> groups_;
    QTreeWidget* tree_;
};
