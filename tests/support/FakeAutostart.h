#pragma once

#include "alarm/AutostartEntry.h"

/// The start-at-logon entry as a flag: present between write() and remove().
class FakeAutostart : public AutostartEntry
{
public:
    void write() override { present = true; }
    void remove() override { present = false; }

    bool present = false;
};
