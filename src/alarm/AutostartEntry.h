#pragma once

/// The entry that starts the program at the user's logon; present exactly while armed, so that
/// a machine restarted while armed comes back armed.
class AutostartEntry
{
public:
    virtual ~AutostartEntry() = default;
    virtual void write() = 0;
    virtual void remove() = 0;
};
